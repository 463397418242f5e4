// verdanelle: the fern as a hack for the screen-saver daemons of X11 and the
// idle daemons of Wayland. It draws on the window it is given (--root,
// --window-id), full screen, or in a window of its own, one tick every
// --delay microseconds, and sleeps in between. SIGTERM, SIGINT and the loss
// of its window end it with 0, between two ticks at the latest.
#include <cstdio>
#include <cstdlib>

#include "autostart.h"
#include "hack_options.h"
#include "tick_loop.h"
#include "wayland_hack.h"
#include "x11_hack.h"
#include "xscreensaver_file.h"

int main(int argc, char** argv) {
    HackOptions options = ParseHackOptions(argc, argv, std::getenv("XSCREENSAVER_WINDOW"),
                                           std::getenv("WAYLAND_DISPLAY"));
    if (!options.error.empty())
        return Refuse(options.error, 2);
    if (options.target == HackTarget::Help) {
        std::fputs(hackUsage, stdout);
        return 0;
    }
    if (options.target == HackTarget::AddToList || options.target == HackTarget::RemoveFromList)
        return EditXscreensaverFile(options.target == HackTarget::AddToList);
    if (options.target == HackTarget::AddToAutostart ||
        options.target == HackTarget::RemoveFromAutostart)
        return EditAutostart(options.target == HackTarget::AddToAutostart, options.idleSeconds);

    sigset_t sleepMask;
    PrepareHack(sleepMask);
    if (options.target == HackTarget::Idle)
        return options.wayland ? RunWaylandIdle(options, sleepMask)
                               : RunX11Idle(options, sleepMask);
    return options.wayland ? RunWaylandHack(options, sleepMask) : RunX11Hack(options, sleepMask);
}
