// Stands in for what the hack's tests need of other X clients:
//   x11-helper window WIDTH HEIGHT  makes a window at the top left, prints its
//                                   id and keeps it until it is killed
//   x11-helper close ID             asks window ID to close, as a window
//                                   manager's close button does
//   x11-helper inhibit SECONDS      asks the session bus's screen saver not to
//                                   start, as a browser playing a video does,
//                                   and holds that until it ends
#include <X11/Xlib.h>
#include <systemd/sd-bus.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "inhibit") == 0) {
        sd_bus* bus = nullptr;
        sd_bus_error error = SD_BUS_ERROR_NULL;
        if (sd_bus_open_user(&bus) < 0 ||
            sd_bus_call_method(bus, "org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver",
                               "org.freedesktop.ScreenSaver", "Inhibit", &error, nullptr, "ss",
                               "x11-helper", "a video plays") < 0)
            return 1;
        sleep(static_cast<unsigned>(std::atoi(argv[2])));
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
