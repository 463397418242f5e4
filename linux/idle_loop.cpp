#include "idle_loop.h"

#include "tick_loop.h"

bool RunIdle(IdleHost& host, DesktopBus& bus, const sigset_t& sleepMask) {
    bool shown = false; // in this idle period: the next comes after input
    for (;;) {
        bus.Process();
        bool idle = host.Idle() || bus.idle;
        if (!idle) {
            shown = false;
        } else if (!shown && !bus.Held()) {
            if (!host.Show())
                return false;
            shown = true;
            if (StopRequested())
                return true;
        }
        bool sleeps = host.ReadyToSleep(), readable = false;
        bool going = WaitForAny({host.Connection(), bus.SessionFd(), bus.SystemFd()}, sleeps,
                                sleepMask, readable);
        if (!host.Handle(readable))
            return false;
        if (!going)
            return true;
    }
}
