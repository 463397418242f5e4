#include "x11_hack.h"

#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/extensions/scrnsaver.h>
#include <X11/keysym.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

#include "animation.h"
#include "glx_surface.h"
#include "idle_alarm.h"
#include "idle_loop.h"
#include "input_grab.h"
#include "monitors.h"
#include "movement.h"
#include "one_watcher.h"
#include "tick_loop.h"

namespace {

bool windowLost = false; // an X error once drawing began: the window went

// A look at another client's window that went at once is none of ours.
int NoteXError(Display*, XErrorEvent* error) {
    if (error->error_code != BadWindow ||
        (error->request_code != X_GetProperty && error->request_code != X_ChangeWindowAttributes &&
         error->request_code != X_QueryTree))
        windowLost = true;
    return 0;
}

// The server gone: our own word for it, not Xlib's.
int LoseDisplay(Display* display) {
    std::fprintf(stderr, "verdanelle: lost the X display \"%s\"\n", DisplayString(display));
    std::fflush(stderr);
    _exit(1);
}

long long Milliseconds() { // monotonic
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000LL + t.tv_nsec / 1000000;
}

// What a showing under --idle shares with its watch: the idle alarm's and
// xscreensaver's events, and when the fern last saw the pointer nudged.
struct IdleShowing {
    IdleAlarm& alarm;
    SaverWatch& watch;
    long long nudgedAt = -1000000;
};

class X11Host final : public TickHost {
  public:
    explicit X11Host(GlxSurface& surface, IdleShowing* idle = nullptr)
        : surface(surface), idle(idle), pointer{surface.pointerX, surface.pointerY},
          pointerKnown(surface.pointerKnown) {
        // The server's own screen saver blanks the screen, and Xorg turns it
        // on whenever DPMS powers the monitor down.
        int error;
        if (surface.own && XScreenSaverQueryExtension(surface.display, &saverEvent, &error))
            XScreenSaverSelectInput(surface.display, DefaultRootWindow(surface.display),
                                    ScreenSaverNotifyMask);
        else
            saverEvent = -1;
        if (surface.cover != 0)
            FollowMonitors(surface.display, true);
    }
    ~X11Host() {
        if (surface.cover != 0)
            FollowMonitors(surface.display, false);
    }
    int Connection() override { return ConnectionNumber(surface.display); }
    // Events already in Xlib's queue (read there by a tick's own round
    // trips) leave the socket quiet.
    bool ReadyToSleep() override { return XEventsQueued(surface.display, QueuedAlready) == 0; }
    bool Handle(bool) override;
    void Tick() override {
        int before = growthTicks;
        FernTick();
        if (growthTicks == before + 1)
            ShowPicture(surface);
    }
    // Its own windows draw nothing unseen: unmapped, covered whole, or the
    // screen blanked. A window it is given is its daemon's to stop.
    bool Paused() override { return surface.own && (unmapped || obscured || blanked); }

  private:
    GlxSurface& surface;
    IdleShowing* idle;
    ScreenPoint pointer; // where it was first seen, full screen
    bool pointerKnown;
    int saverEvent = -1; // the first event number of MIT-SCREEN-SAVER
    bool unmapped = false, obscured = false, blanked = false;
};

bool X11Host::Handle(bool) {
    while (XPending(surface.display) > 0) {
        XEvent event;
        XNextEvent(surface.display, &event);
        switch (event.type) {
        case ConfigureNotify:
            if (event.xconfigure.window == surface.window &&
                (event.xconfigure.width != surface.width ||
                 event.xconfigure.height != surface.height)) {
                surface.width = event.xconfigure.width;
                surface.height = event.xconfigure.height;
                StartSurfaceFigure(surface);
            }
            break;
        case Expose: // what was uncovered is blank: the picture again at once
            if (event.xexpose.window == surface.window && event.xexpose.count == 0)
                ShowPicture(surface);
            break;
        case MapNotify:
        case UnmapNotify:
            if (event.xany.window == surface.window)
                unmapped = event.type == UnmapNotify;
            break;
        case VisibilityNotify:
            if (event.xvisibility.window == surface.window)
                obscured = event.xvisibility.state == VisibilityFullyObscured;
            else if (event.xvisibility.state != VisibilityUnobscured) // a panel mapped again
                XRaiseWindow(surface.display, surface.cover);
            break;
        case DestroyNotify:
            if (event.xdestroywindow.window == surface.window)
                return false;
            break;
        case KeyPress: {
            KeySym key = XLookupKeysym(&event.xkey, 0);
            if (surface.fullScreen || (surface.own && (key == XK_Escape || key == XK_q)))
                return false;
            break;
        }
        case ButtonPress:
            if (surface.fullScreen)
                return false;
            break;
        case MotionNotify: {
            ScreenPoint now = {event.xmotion.x_root, event.xmotion.y_root};
            if (pointerKnown && MovedFarEnough(pointer, now, movementThreshold))
                return false;
            if (!pointerKnown)
                pointer = now;
            pointerKnown = true;
            if (idle != nullptr)
                idle->nudgedAt = Milliseconds();
            break;
        }
        case ClientMessage:
            if (surface.own && static_cast<Atom>(event.xclient.data.l[0]) == surface.deleteWindow)
                return false;
            break;
        default:
            if (surface.cover != 0 && MonitorsChanged(surface.display, event))
                FollowLayout(surface);
            if (idle != nullptr) {
                idle->alarm.Note(event);
                idle->watch.Note(event, surface.window);
            }
            if (event.type == saverEvent + ScreenSaverNotify)
                blanked = reinterpret_cast<XScreenSaverNotifyEvent&>(event).state == ScreenSaverOn;
            break;
        }
    }
    return !windowLost;
}

// --idle on X11: the server's idle time, and full screen from it.
class X11Idle final : public IdleHost {
  public:
    X11Idle(GlxSurface& surface, IdleAlarm& alarm, SaverWatch& watch, long mark, long delay,
            const sigset_t& sleepMask)
        : surface(surface), showing{alarm, watch}, mark(mark), delay(delay), sleepMask(sleepMask) {}
    int Connection() override { return ConnectionNumber(surface.display); }
    bool ReadyToSleep() override {
        XFlush(surface.display);
        return XEventsQueued(surface.display, QueuedAlready) == 0;
    }
    bool Handle(bool) override {
        while (XPending(surface.display) > 0) {
            XEvent event;
            XNextEvent(surface.display, &event);
            showing.alarm.Note(event);
            showing.watch.Note(event, None);
        }
        return true;
    }
    bool Idle() override { return showing.alarm.idle; }
    bool Show(const Beside& beside) override {
        std::string grab = GrabInput(surface.display);
        if (!grab.empty()) { // not shown this time: the next idle period tries again
            std::fprintf(stderr, "verdanelle: %s\n", grab.c_str());
            std::fflush(stderr);
            return true;
        }
        error = MakeOwnWindow(surface, 0, 0, true); // a new figure each time
        XSync(surface.display, False);
        if (error.empty() && windowLost)
            error = "cannot draw on the window";
        if (error.empty()) {
            // Any input that the fern does not see itself ends it too: the
            // alarm at the first input after a quarter second's calm.
            showing.alarm.SetMark(showMark);
            StartSurfaceFigure(surface);
            X11Host host(surface, &showing);
            RunTicks(host, delay, sleepMask, &beside);
            showing.alarm.SetMark(mark);
        }
        ReleaseInput(surface.display);
        CloseWindow(surface);
        windowLost = false;
        return error.empty();
    }
    // The pointer's nudge and the alarm's word come in one read of events.
    bool Nudged() override { return Milliseconds() - showing.nudgedAt < 500; }
    std::string OtherSaver() override {
        return showing.watch.came ? "xscreensaver started: it shows the screen saver now (choose "
                                    "Verdanelle in its settings: verdanelle --add-to-xscreensaver)"
                                  : "";
    }
    std::string error;

  private:
    static constexpr long showMark = 250;
    GlxSurface& surface;
    IdleShowing showing;
    long mark, delay;
    const sigset_t& sleepMask;
};

} // namespace

int RunX11Hack(const HackOptions& options, const sigset_t& sleepMask) {
    GlxSurface surface;
    surface.display = XOpenDisplay(nullptr);
    if (surface.display == nullptr)
        return Refuse(std::string("cannot open display \"") + XDisplayName(nullptr) + "\"", 1);
    XSetIOErrorHandler(LoseDisplay);

    std::string error;
    XSetErrorHandler(NoteXError);
    switch (options.target) {
    case HackTarget::OwnWindow:
        error = MakeOwnWindow(surface, 1024, 768, false);
        break;
    case HackTarget::FullScreen: // nothing shown without the input
        error = GrabInput(surface.display);
        if (error.empty())
            error = MakeOwnWindow(surface, 0, 0, true);
        break;
    case HackTarget::Root:
        error = AdoptWindow(surface, options.window != 0 ? options.window
                                                         : DefaultRootWindow(surface.display));
        break;
    default: // WindowId; the others never reach a display
        error = AdoptWindow(surface, options.window);
        break;
    }
    XSync(surface.display, False);
    if (error.empty() && windowLost)
        error = "cannot draw on the window";
    if (!error.empty()) {
        // A window id that names no window is bad input; the rest is the display's.
        bool given = options.target == HackTarget::Root || options.target == HackTarget::WindowId;
        int code = given && surface.window == 0 ? 2 : 1;
        CloseSurface(surface);
        return Refuse(error, code);
    }

    StartSurfaceFigure(surface);
    X11Host host(surface);
    RunTicks(host, options.delay, sleepMask);
    CloseSurface(surface);
    return 0;
}

int RunX11Idle(const HackOptions& options, const sigset_t& sleepMask) {
    GlxSurface surface;
    surface.display = XOpenDisplay(nullptr);
    if (surface.display == nullptr)
        return Refuse(std::string("cannot open display \"") + XDisplayName(nullptr) + "\"", 1);
    XSetIOErrorHandler(LoseDisplay);
    XSetErrorHandler(NoteXError); // before the first look at other clients' windows
    std::string error = HoldWatcherLock(DisplayString(surface.display));
    if (!error.empty()) {
        XCloseDisplay(surface.display);
        return Refuse(error, 1);
    }
    DesktopBus bus;
    IdleAlarm alarm;
    SaverWatch watch;
    if (XscreensaverRuns(surface.display))
        error = "xscreensaver already runs here: choose Verdanelle in its settings "
                "(verdanelle --add-to-xscreensaver) instead";
    else if (bus.OtherSaverRuns())
        error = "MATE's screen saver already runs here: choose Verdanelle in its preferences "
                "instead";
    else if (!alarm.Start(surface.display, options.idleSeconds * 1000))
        error = "this X server tells no idle time (the SYNC extension's IDLETIME counter); "
                "see man verdanelle";
    if (error.empty()) {
        watch.Start(surface.display);
        bus.ServeInhibitions();
        X11Idle host(surface, alarm, watch, options.idleSeconds * 1000, options.delay, sleepMask);
        error = RunIdle(host, bus, sleepMask);
        if (!host.error.empty())
            error = host.error;
        alarm.End();
    }
    XCloseDisplay(surface.display);
    return error.empty() ? 0 : Refuse(error, 1);
}
