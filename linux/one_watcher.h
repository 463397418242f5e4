// One --idle a session: a lock on a file named for the session's display,
// held as long as the process lives, so that autostart and a start by hand
// do not make two ferns.
#pragma once

#include <string>

// Empty once it holds the lock for DISPLAY (the X display, or the Wayland
// socket), else why not, naming the process that holds it.
std::string HoldWatcherLock(const std::string& display);
