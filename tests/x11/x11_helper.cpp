// Stands in for what the hack's tests need of other X clients:
//   x11-helper window WIDTH HEIGHT  makes a window at the top left, prints its
//                                   id and keeps it until it is killed
//   x11-helper close ID             asks window ID to close, as a window
//                                   manager's close button does
//   x11-helper inhibit SECONDS      asks the session bus's screen saver not to
//                                   start, as a browser playing a video does,
//                                   prints the cookie and holds it until it ends
//   x11-helper own NAME SECONDS     takes the bus name NAME from its owner, as
//                                   a desktop's daemon does, and says whether
//   x11-helper power-inhibit SECONDS  a desktop's power manager, which says
//                                   something inhibits, and after SECONDS not
//   x11-helper mutter-key SECONDS   a Shift, and SECONDS later a space, typed
//                                   through Mutter's remote desktop, as a
//                                   headless session has no keyboard
//   x11-helper grab SECONDS         holds the keyboard for SECONDS, as an open
//                                   menu does
#include <X11/Xlib.h>
#include <systemd/sd-bus.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include <time.h>
#include <unistd.h>

namespace {

// Answers what comes on BUS for SECONDS.
void Serve(sd_bus* bus, double seconds) {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    double end = now.tv_sec + now.tv_nsec / 1e9 + seconds;
    for (;;) {
        while (sd_bus_process(bus, nullptr) > 0) {
        }
        clock_gettime(CLOCK_MONOTONIC, &now);
        double left = end - (now.tv_sec + now.tv_nsec / 1e9);
        if (left <= 0)
            return;
        sd_bus_wait(bus, static_cast<std::uint64_t>(left * 1e6));
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "inhibit") == 0) {
        sd_bus* bus = nullptr;
        sd_bus_error error = SD_BUS_ERROR_NULL;
        sd_bus_message* reply = nullptr;
        std::uint32_t cookie = 0;
        if (sd_bus_open_user(&bus) < 0 ||
            sd_bus_call_method(bus, "org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver",
                               "org.freedesktop.ScreenSaver", "Inhibit", &error, &reply, "ss",
                               "x11-helper", "a video plays") < 0 ||
            sd_bus_message_read_basic(reply, 'u', &cookie) < 0)
            return 1;
        std::printf("%u\n", cookie);
        std::fflush(stdout);
        sleep(static_cast<unsigned>(std::atoi(argv[2])));
        return 0;
    }
    if (argc == 4 && std::strcmp(argv[1], "own") == 0) {
        sd_bus* bus = nullptr;
        if (sd_bus_open_user(&bus) < 0)
            return 1;
        bool owned = sd_bus_request_name(bus, argv[2], SD_BUS_NAME_REPLACE_EXISTING) >= 0;
        std::printf(owned ? "owned\n" : "refused\n");
        std::fflush(stdout);
        Serve(bus, std::atof(argv[3]));
        return owned ? 0 : 1;
    }
    if (argc == 3 && std::strcmp(argv[1], "power-inhibit") == 0) {
        static int has = 1;
        static const sd_bus_vtable methods[] = {
            SD_BUS_VTABLE_START(0),
            SD_BUS_METHOD(
                "HasInhibit", "", "b",
                [](sd_bus_message* m, void*, sd_bus_error*) {
                    return sd_bus_reply_method_return(m, "b", has);
                },
                SD_BUS_VTABLE_UNPRIVILEGED),
            SD_BUS_SIGNAL("HasInhibitChanged", "b", 0), SD_BUS_VTABLE_END};
        const char* path = "/org/freedesktop/PowerManagement/Inhibit";
        const char* name = "org.freedesktop.PowerManagement.Inhibit";
        sd_bus* bus = nullptr;
        if (sd_bus_open_user(&bus) < 0 ||
            sd_bus_add_object_vtable(bus, nullptr, path, name, methods, nullptr) < 0 ||
            sd_bus_request_name(bus, name, 0) < 0)
            return 1;
        Serve(bus, std::atof(argv[2]));
        has = 0;
        sd_bus_emit_signal(bus, path, name, "HasInhibitChanged", "b", has);
        Serve(bus, 1);
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "mutter-key") == 0) {
        const char* desktop = "org.gnome.Mutter.RemoteDesktop";
        const char* session = "org.gnome.Mutter.RemoteDesktop.Session";
        sd_bus* bus = nullptr;
        sd_bus_message* reply = nullptr;
        const char* path = nullptr;
        if (sd_bus_open_user(&bus) < 0 ||
            sd_bus_call_method(bus, desktop, "/org/gnome/Mutter/RemoteDesktop", desktop,
                               "CreateSession", nullptr, &reply, "") < 0 ||
            sd_bus_message_read(reply, "o", &path) < 0 ||
            sd_bus_call_method(bus, desktop, path, session, "Start", nullptr, nullptr, "") < 0)
            return 1;
        auto type = [&](std::uint32_t keysym, const char* name) {
            timespec now;
            clock_gettime(CLOCK_REALTIME, &now); // stamped as WAYLAND_DEBUG stamps
            auto stamp = static_cast<std::uint32_t>(now.tv_sec * 1000000L + now.tv_nsec / 1000);
            std::printf("[%7u.%03u] %s\n", stamp / 1000, stamp % 1000, name);
            std::fflush(stdout);
            for (int pressed : {1, 0}) // the session ends with this process
                if (sd_bus_call_method(bus, desktop, path, session, "NotifyKeyboardKeysym", nullptr,
                                       nullptr, "ub", keysym, pressed) < 0)
                    return false;
            return true;
        };
        // Its keyboard comes with its first key, too late for a client to
        // see that key: a Shift first.
        if (!type(0xffe1, "shift"))
            return 1;
        usleep(static_cast<useconds_t>(std::atof(argv[2]) * 1e6));
        if (!type(0x20, "space"))
            return 1;
        sleep(1);
        return 0;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr || argc < 3)
        return 2;
    if (std::strcmp(argv[1], "window") == 0 && argc == 4) {
        Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0,
                                            std::atoi(argv[2]), std::atoi(argv[3]), 0, 0, 0);
        XMapWindow(display, window);
        XSync(display, False);
        std::printf("0x%lx\n", window);
        std::fflush(stdout);
        pause();
        return 0;
    }
    if (std::strcmp(argv[1], "grab") == 0) {
        if (XGrabKeyboard(display, DefaultRootWindow(display), False, GrabModeAsync, GrabModeAsync,
                          CurrentTime) != GrabSuccess)
            return 1;
        XSync(display, False);
        usleep(static_cast<useconds_t>(std::atof(argv[2]) * 1e6));
        return 0;
    }
    if (std::strcmp(argv[1], "close") == 0) {
        XEvent event = {};
        event.xclient.type = ClientMessage;
        event.xclient.window = std::strtoul(argv[2], nullptr, 0);
        event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] =
            static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
        XSync(display, False);
        return 0;
    }
    return 2;
}
