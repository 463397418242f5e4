// --idle, for X11 and Wayland alike: the fern full screen once in each idle
// period of the session, when nothing holds it off, until SIGTERM or SIGINT.
#pragma once

#include <signal.h>

#include <string>

#include "desktop_bus.h"
#include "tick_loop.h"

// Handle's false: the display is lost.
class IdleHost : public DisplayEvents {
  public:
    virtual bool Idle() = 0; // as the display's own idle source says
    // Full screen until input, a switch away, a signal or `beside`'s end;
    // false when it cannot be shown.
    virtual bool Show(const Beside& beside) = 0;
    // While it shows: the fern saw the pointer move, by less than ends it,
    // just now. Input that the idle source tells of then is that movement;
    // true from then on where the source cannot tell the next input.
    virtual bool Nudged() = 0;
    // Why it must give way to another screen saver, or empty.
    virtual std::string OtherSaver() = 0;

  protected:
    ~IdleHost() = default;
};

// Empty at SIGTERM or SIGINT, else why it ended: the display lost, the fern
// not shown, another screen saver come.
std::string RunIdle(IdleHost& host, DesktopBus& bus, const sigset_t& sleepMask);
