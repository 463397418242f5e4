// The hack on X11: on the window it is given or on one of its own.
#pragma once

#include <signal.h>

#include "hack_options.h"

// The exit code: 0 when a signal, the window's end or the user ended it.
int RunX11Hack(const HackOptions& options, const sigset_t& sleepMask);

// --idle: full screen each time the session has been idle long enough, until
// SIGTERM or SIGINT (0); 1 where the server cannot tell idleness.
int RunX11Idle(const HackOptions& options, const sigset_t& sleepMask);
