#include "idle_loop.h"

#include "tick_loop.h"

namespace {

const char mateCame[] = "MATE's screen saver started: it shows the screen saver now (choose "
                        "Verdanelle in its preferences)";

} // namespace

std::string RunIdle(IdleHost& host, DesktopBus& bus, const sigset_t& sleepMask) {
    std::string error;
    auto otherSaver = [&] {
        error = bus.otherSaver ? mateCame : host.OtherSaver();
        return !error.empty();
    };
    // While it shows, the buses are answered as ever, and the session back
    // (by the idle source's word, or another saver come) hides it.
    Beside beside{{bus.SessionFd(), bus.SystemFd()}, [&] {
                      bus.Process();
                      return !otherSaver() && (host.Idle() || bus.idle || host.Nudged());
                  }};
    bool shown = false; // in this idle period: the next comes after input
    for (;;) {
        bus.Process();
        if (otherSaver())
            return error;
        bool idle = host.Idle() || bus.idle;
        if (!idle) {
            shown = false;
        } else if (!shown && !bus.Held()) {
            if (!host.Show(beside))
                return error.empty() ? "cannot show the fern" : error;
            shown = true;
            if (StopRequested())
                return "";
            if (!error.empty())
                return error;
        }
        bool sleeps = host.ReadyToSleep(), readable = false;
        bool going = WaitForAny({host.Connection(), bus.SessionFd(), bus.SystemFd()}, sleeps,
                                sleepMask, readable);
        if (!host.Handle(readable))
            return "lost the display";
        if (!going)
            return "";
    }
}
