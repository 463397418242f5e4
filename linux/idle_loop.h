// --idle, for X11 and Wayland alike: the fern full screen once in each idle
// period of the session, when nothing holds it off, until SIGTERM or SIGINT.
#pragma once

#include <signal.h>

#include "desktop_bus.h"
#include "tick_loop.h"

// Handle's false: the display is lost.
class IdleHost : public DisplayEvents {
  public:
    virtual bool Idle() = 0; // as the display's own idle source says
    // Full screen until input, a switch away or a signal; false when it
    // cannot be shown.
    virtual bool Show() = 0;

  protected:
    ~IdleHost() = default;
};

// False when the display was lost or the fern could not be shown.
bool RunIdle(IdleHost& host, DesktopBus& bus, const sigset_t& sleepMask);
