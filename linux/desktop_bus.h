// What the desktop says, over D-Bus, about showing the fern: GNOME's idle
// monitor (Mutter speaks no idle protocol), what keeps a screen saver away
// (video players' and browsers' inhibitions, a locked session, the desktop's
// own screen saver), and whether another screen saver runs.
#pragma once

#include <systemd/sd-bus.h>

#include <cstdint>
#include <set>
#include <string>
#include <utility>

class DesktopBus {
  public:
    DesktopBus();
    ~DesktopBus();
    DesktopBus(const DesktopBus&) = delete;
    DesktopBus& operator=(const DesktopBus&) = delete;

    // The buses' sockets, -1 for one not there, and the handling of what
    // came on them.
    int SessionFd() const;
    int SystemFd() const;
    void Process();

    // MATE's screen saver holds the session's; `otherSaver` also when it
    // comes later.
    bool OtherSaverRuns();
    bool otherSaver = false;
    // GNOME's idle monitor: `idle` follows the session's, with `milliseconds`
    // as the mark; false where there is no such monitor.
    bool WatchGnomeIdle(std::uint64_t milliseconds);
    bool idle = false;
    // X11: answers the Inhibit calls of browsers and video players, where
    // no one else holds org.freedesktop.ScreenSaver, and gives the name up to
    // a desktop's own daemon that asks for it. Where another holds it, what
    // its desktop's power manager says of inhibitions holds the fern off.
    void ServeInhibitions();

    // Nothing may show now.
    bool Held() const;

  private:
    void WatchUserActive();
    void CheckGnomeInhibited();
    void CheckLocked();
    void CheckPowerInhibited();
    static int OnSignal(sd_bus_message* message, void* self, sd_bus_error* error);
    static int OnInhibit(sd_bus_message* message, void* self, sd_bus_error* error);
    static int OnUnInhibit(sd_bus_message* message, void* self, sd_bus_error* error);
    static int OnGetActive(sd_bus_message* message, void* self, sd_bus_error* error);

    sd_bus* session = nullptr;
    sd_bus* system = nullptr;
    std::uint32_t idleWatch = 0, activeWatch = 0;
    std::uint64_t idleMark = 0;
    std::set<std::pair<std::uint32_t, std::string>> inhibitions; // cookie, caller
    std::uint32_t nextCookie = 1;                                // never given twice
    sd_bus_slot* served[2] = {};
    bool gnomeInhibited = false, locked = false, saverActive = false, powerInhibited = false;
};
