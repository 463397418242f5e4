#include "desktop_bus.h"

#include <systemd/sd-bus.h>

#include <cstring>

namespace {

// A method call that starts no service that is not running already: asking
// whether a screen saver is active must not start one.
template <typename... Arguments>
int Call(sd_bus* bus, const char* destination, const char* path, const char* interface,
         const char* member, sd_bus_message** reply, const char* types = nullptr,
         Arguments... arguments) {
    if (bus == nullptr)
        return -1;
    sd_bus_message* call = nullptr;
    int r = sd_bus_message_new_method_call(bus, &call, destination, path, interface, member);
    if (r >= 0)
        r = sd_bus_message_set_auto_start(call, 0);
    if (r >= 0 && types != nullptr)
        r = sd_bus_message_append(call, types, arguments...);
    if (r >= 0)
        r = sd_bus_call(bus, call, 0, nullptr, reply);
    sd_bus_message_unref(call);
    return r;
}

// A call whose answer is one value of TYPE ('b', 'u' or 't'); false when it fails.
template <typename T, typename... Arguments>
bool Ask(sd_bus* bus, const char* destination, const char* path, const char* interface,
         const char* member, char type, T& value, Arguments... arguments) {
    sd_bus_message* reply = nullptr;
    bool answered = Call(bus, destination, path, interface, member, &reply, arguments...) >= 0;
    if (answered && type == 'b') {
        int b = 0;
        answered = sd_bus_message_read_basic(reply, 'b', &b) > 0;
        value = static_cast<T>(b != 0);
    } else if (answered) {
        answered = sd_bus_message_read_basic(reply, type, &value) > 0;
    }
    sd_bus_message_unref(reply);
    return answered;
}

const char mutter[] = "org.gnome.Mutter.IdleMonitor";
const char mutterPath[] = "/org/gnome/Mutter/IdleMonitor/Core";

bool Is(const char* a, const char* b) {
    return a != nullptr && std::strcmp(a, b) == 0;
}

} // namespace

DesktopBus::DesktopBus() {
    if (sd_bus_open_user(&session) < 0)
        session = nullptr;
    if (sd_bus_open_system(&system) < 0)
        system = nullptr;
    const char* sessionSignals[][2] = {
        {"org.gnome.SessionManager", "InhibitorAdded"},
        {"org.gnome.SessionManager", "InhibitorRemoved"},
        {"org.gnome.ScreenSaver", "ActiveChanged"},
        {"org.freedesktop.ScreenSaver", "ActiveChanged"},
        {mutter, "WatchFired"},
        {"org.freedesktop.PowerManagement.Inhibit", "HasInhibitChanged"},
        {"org.freedesktop.DBus", "NameOwnerChanged"},
        {"org.freedesktop.DBus", "NameLost"}};
    for (const auto& signal : sessionSignals)
        if (session != nullptr)
            sd_bus_match_signal(session, nullptr, nullptr, nullptr, signal[0], signal[1], OnSignal,
                                this);
    if (system != nullptr)
        sd_bus_match_signal(system, nullptr, "org.freedesktop.login1", nullptr,
                            "org.freedesktop.DBus.Properties", "PropertiesChanged", OnSignal, this);
    CheckGnomeInhibited();
    CheckLocked();
    CheckPowerInhibited();
    Ask(session, "org.gnome.ScreenSaver", "/org/gnome/ScreenSaver", "org.gnome.ScreenSaver",
        "GetActive", 'b', saverActive);
    bool active = false;
    if (Ask(session, "org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver",
            "org.freedesktop.ScreenSaver", "GetActive", 'b', active))
        saverActive = saverActive || active;
}

DesktopBus::~DesktopBus() {
    for (sd_bus_slot* slot : served)
        sd_bus_slot_unref(slot);
    sd_bus_flush_close_unref(session);
    sd_bus_flush_close_unref(system);
}

int DesktopBus::SessionFd() const {
    return session != nullptr ? sd_bus_get_fd(session) : -1;
}

int DesktopBus::SystemFd() const {
    return system != nullptr ? sd_bus_get_fd(system) : -1;
}

void DesktopBus::Process() {
    for (sd_bus* bus : {session, system}) {
        if (bus == nullptr)
            continue;
        while (sd_bus_process(bus, nullptr) > 0) {
        }
        sd_bus_flush(bus);
    }
}

bool DesktopBus::OtherSaverRuns() {
    bool owned = false;
    return Ask(session, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
               "NameHasOwner", 'b', owned, "s", "org.mate.ScreenSaver") &&
           owned;
}

bool DesktopBus::WatchGnomeIdle(std::uint64_t milliseconds) {
    // A watch added when the session is idle past its mark never fires:
    // the idle time first.
    std::uint64_t now = 0;
    idleMark = milliseconds;
    if (!Ask(session, mutter, mutterPath, mutter, "GetIdletime", 't', now) ||
        !Ask(session, mutter, mutterPath, mutter, "AddIdleWatch", 'u', idleWatch, "t",
             milliseconds))
        return false;
    if (now >= milliseconds) {
        idle = true;
        WatchUserActive();
    }
    return true;
}

// Fires once, at the first input.
void DesktopBus::WatchUserActive() {
    if (activeWatch == 0)
        Ask(session, mutter, mutterPath, mutter, "AddUserActiveWatch", 'u', activeWatch);
}

void DesktopBus::CheckGnomeInhibited() {
    constexpr std::uint32_t idleFlag = 8; // inhibits the session being marked idle
    gnomeInhibited = false;
    Ask(session, "org.gnome.SessionManager", "/org/gnome/SessionManager",
        "org.gnome.SessionManager", "IsInhibited", 'b', gnomeInhibited, "u", idleFlag);
}

// KDE Plasma's and Xfce's power managers tell whether anything inhibits.
void DesktopBus::CheckPowerInhibited() {
    powerInhibited = false;
    Ask(session, "org.freedesktop.PowerManagement.Inhibit",
        "/org/freedesktop/PowerManagement/Inhibit", "org.freedesktop.PowerManagement.Inhibit",
        "HasInhibit", 'b', powerInhibited);
}

void DesktopBus::CheckLocked() {
    locked = false;
    sd_bus_error error = SD_BUS_ERROR_NULL;
    int value = 0;
    if (system != nullptr && sd_bus_get_property_trivial(system, "org.freedesktop.login1",
                                                         "/org/freedesktop/login1/session/auto",
                                                         "org.freedesktop.login1.Session",
                                                         "LockedHint", &error, 'b', &value) >= 0)
        locked = value != 0;
    sd_bus_error_free(&error);
}

int DesktopBus::OnSignal(sd_bus_message* message, void* data, sd_bus_error*) {
    auto& self = *static_cast<DesktopBus*>(data);
    const char* member = sd_bus_message_get_member(message);
    if (Is(member, "WatchFired")) {
        std::uint32_t id = 0;
        sd_bus_message_read_basic(message, 'u', &id);
        if (id != 0 && id == self.idleWatch) {
            self.idle = true;
            self.WatchUserActive();
        } else if (id != 0 && id == self.activeWatch) {
            // Mutter fires it at a device's coming or going too; back is
            // back only where the idle time started again.
            self.activeWatch = 0;
            std::uint64_t now = 0;
            if (Ask(self.session, mutter, mutterPath, mutter, "GetIdletime", 't', now) &&
                now >= self.idleMark)
                self.WatchUserActive();
            else
                self.idle = false;
        }
    } else if (Is(member, "InhibitorAdded") || Is(member, "InhibitorRemoved")) {
        self.CheckGnomeInhibited();
    } else if (Is(member, "ActiveChanged")) {
        int active = 0;
        sd_bus_message_read_basic(message, 'b', &active);
        self.saverActive = active != 0;
    } else if (Is(member, "HasInhibitChanged")) {
        int has = 0;
        sd_bus_message_read_basic(message, 'b', &has);
        self.powerInhibited = has != 0;
    } else if (Is(member, "NameOwnerChanged")) {
        const char *name = nullptr, *before = nullptr, *after = nullptr;
        if (sd_bus_message_read(message, "sss", &name, &before, &after) < 0)
            return 0;
        if (Is(after, "")) // a caller gone takes its inhibitions along
            std::erase_if(self.inhibitions,
                          [name](const auto& inhibition) { return inhibition.second == name; });
        if (Is(name, "org.mate.ScreenSaver") && !Is(after, ""))
            self.otherSaver = true;
        if (Is(name, "org.freedesktop.PowerManagement.Inhibit"))
            self.CheckPowerInhibited();
    } else if (Is(member, "NameLost")) {
        const char* name = nullptr;
        if (sd_bus_message_read_basic(message, 's', &name) >= 0 &&
            Is(name, "org.freedesktop.ScreenSaver")) { // the desktop's daemon took it over
            for (sd_bus_slot*& slot : self.served)
                slot = sd_bus_slot_unref(slot);
            self.inhibitions.clear();
        }
    } else if (Is(member, "PropertiesChanged")) {
        self.CheckLocked();
    }
    return 0;
}

int DesktopBus::OnInhibit(sd_bus_message* message, void* data, sd_bus_error*) {
    auto& self = *static_cast<DesktopBus*>(data);
    std::uint32_t cookie = self.nextCookie++;
    const char* sender = sd_bus_message_get_sender(message);
    self.inhibitions.insert({cookie, sender != nullptr ? sender : ""});
    return sd_bus_reply_method_return(message, "u", cookie);
}

// Only the caller's own: another's cookie is an error, and changes nothing.
int DesktopBus::OnUnInhibit(sd_bus_message* message, void* data, sd_bus_error*) {
    auto& self = *static_cast<DesktopBus*>(data);
    std::uint32_t cookie = 0;
    sd_bus_message_read_basic(message, 'u', &cookie);
    const char* sender = sd_bus_message_get_sender(message);
    if (self.inhibitions.erase({cookie, sender != nullptr ? sender : ""}) == 0)
        return sd_bus_reply_method_errorf(message, SD_BUS_ERROR_INVALID_ARGS,
                                          "no inhibition of yours has cookie %u", cookie);
    return sd_bus_reply_method_return(message, "");
}

int DesktopBus::OnGetActive(sd_bus_message* message, void*, sd_bus_error*) {
    return sd_bus_reply_method_return(message, "b", 0);
}

void DesktopBus::ServeInhibitions() {
    static const sd_bus_vtable methods[] = {
        SD_BUS_VTABLE_START(0),
        SD_BUS_METHOD("Inhibit", "ss", "u", OnInhibit, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_METHOD("UnInhibit", "u", "", OnUnInhibit, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_METHOD("GetActive", "", "b", OnGetActive, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_VTABLE_END};
    if (session == nullptr || sd_bus_request_name(session, "org.freedesktop.ScreenSaver",
                                                  SD_BUS_NAME_ALLOW_REPLACEMENT) < 0)
        return; // a screen saver of the desktop's answers them
    // Chromium calls the first path, Firefox the second.
    const char* paths[] = {"/org/freedesktop/ScreenSaver", "/ScreenSaver"};
    for (int i = 0; i < 2; ++i)
        sd_bus_add_object_vtable(session, &served[i], paths[i], "org.freedesktop.ScreenSaver",
                                 methods, this);
}

bool DesktopBus::Held() const {
    return !inhibitions.empty() || gnomeInhibited || locked || saverActive || powerInhibited;
}
