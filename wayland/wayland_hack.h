// The hack on Wayland: full screen on every output, or in a window of its own.
#pragma once

#include <signal.h>

#include "hack_options.h"

// The exit code: 0 when a signal, the user or the compositor ended it.
int RunWaylandHack(const HackOptions& options, const sigset_t& sleepMask);

// --idle on Wayland: full screen in each idle period, until SIGTERM or SIGINT.
int RunWaylandIdle(const HackOptions& options, const sigset_t& sleepMask);
