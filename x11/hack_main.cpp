// verdanelle: the fern as a hack for the X11 screen-saver daemon. It draws
// on the window it is given (--root, --window-id) or on one of its own, one
// tick every --delay microseconds, and sleeps in between. SIGTERM, SIGINT
// and the loss of its window end it with 0, between two ticks at the latest.
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <GL/gl.h>

#include <malloc.h>
#include <sys/select.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "animation.h"
#include "glx_surface.h"
#include "hack_options.h"
#include "xscreensaver_file.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;
bool windowLost = false; // an X error once drawing began: the window went

void RequestStop(int) {
    stopRequested = 1;
}

int NoteXError(Display*, XErrorEvent*) {
    windowLost = true;
    return 0;
}

int Refuse(const std::string& why, int code) {
    std::fprintf(stderr, "verdanelle: %s\n", why.c_str());
    return code;
}

// A new figure for the window's size, as window creation starts one.
void StartFigure(GlxSurface& surface) {
    StartFern(surface.width, surface.height);
    growthTicks = 0;
    glViewport(0, 0, surface.width, surface.height);
}

// Handles what X has sent; false once the hack should end.
bool HandleEvents(GlxSurface& surface) {
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
                StartFigure(surface);
            }
            break;
        case DestroyNotify:
            if (event.xdestroywindow.window == surface.window)
                return false;
            break;
        case KeyPress: {
            KeySym key = XLookupKeysym(&event.xkey, 0);
            if (surface.own && (key == XK_Escape || key == XK_q))
                return false;
            break;
        }
        case ClientMessage:
            if (surface.own && static_cast<Atom>(event.xclient.data.l[0]) == surface.deleteWindow)
                return false;
            break;
        }
    }
    return !windowLost;
}

// Mesa's software renderer bins a tick's lines in blocks that it frees at the
// tick's glFlush. glibc would give that heap back to the system each time and
// fault it in again on the next tick: on a slow machine half the rate of the
// large figures went there. Keep it, and serve the renderer's half-megabyte
// buffers from it too.
void KeepHeap() {
#ifdef __GLIBC__
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    mallopt(M_MMAP_THRESHOLD, 16 << 20);
#endif
}

long long Now() { // microseconds, monotonic
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000000LL + t.tv_nsec / 1000;
}

// Ticks until a signal, the window's end or a key asks to stop. Every turn
// waits in pselect, for no time at all when a tick is due: signals are let
// through only there, so none is missed between a check and the wait, and
// none waits behind a run of late ticks; nor do X events.
void Run(GlxSurface& surface, long delay, const sigset_t& sleepMask) {
    int fd = ConnectionNumber(surface.display);
    long long next = Now() + delay;
    for (;;) {
        // Events already in Xlib's queue (read there by a tick's own round
        // trips) leave the socket quiet: handle them before any sleep.
        long long rest =
            XEventsQueued(surface.display, QueuedAlready) > 0 ? 0 : std::max(next - Now(), 0LL);
        timespec timeout = {static_cast<time_t>(rest / 1000000),
                            static_cast<long>(rest % 1000000) * 1000};
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(fd, &readable);
        pselect(fd + 1, &readable, nullptr, nullptr, &timeout, &sleepMask);
        if (stopRequested || !HandleEvents(surface))
            return;
        long long now = Now();
        if (now < next)
            continue;
        FernTick();
        // On time, the cadence holds; late, it starts again from now: a
        // late tick is not made up for.
        next = next + delay > now ? next + delay : now + delay;
    }
}

} // namespace

int main(int argc, char** argv) {
    HackOptions options = ParseHackOptions(argc, argv, std::getenv("XSCREENSAVER_WINDOW"));
    if (!options.error.empty())
        return Refuse(options.error, 2);
    if (options.target == HackTarget::Help) {
        std::fputs(hackUsage, stdout);
        return 0;
    }
    if (options.target == HackTarget::AddToList || options.target == HackTarget::RemoveFromList)
        return EditXscreensaverFile(options.target == HackTarget::AddToList);

    sigset_t stopSignals, sleepMask;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    sigprocmask(SIG_BLOCK, &stopSignals, &sleepMask);
    struct sigaction action = {};
    action.sa_handler = RequestStop;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);

    KeepHeap();
    GlxSurface surface;
    surface.display = XOpenDisplay(nullptr);
    if (surface.display == nullptr)
        return Refuse(std::string("cannot open display \"") + XDisplayName(nullptr) + "\"", 1);

    std::string error;
    XSetErrorHandler(NoteXError);
    switch (options.target) {
    case HackTarget::OwnWindow:
        error = MakeOwnWindow(surface, 1024, 768);
        break;
    case HackTarget::Root:
        error = AdoptWindow(surface, options.window != 0 ? options.window
                                                         : DefaultRootWindow(surface.display));
        break;
    case HackTarget::WindowId:
        error = AdoptWindow(surface, options.window);
        break;
    case HackTarget::Help: // answered above
    case HackTarget::AddToList:
    case HackTarget::RemoveFromList:
        break;
    }
    XSync(surface.display, False);
    if (error.empty() && windowLost)
        error = "cannot draw on the window";
    if (!error.empty()) {
        // A window id that names no window is bad input; the rest is the display's.
        int code = options.target != HackTarget::OwnWindow && surface.window == 0 ? 2 : 1;
        CloseSurface(surface);
        return Refuse(error, code);
    }

    StartFigure(surface);
    Run(surface, options.delay, sleepMask);
    CloseSurface(surface);
    return 0;
}
