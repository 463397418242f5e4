// Keyboard and pointer held for the fern while it shows full screen, so
// that what is typed then reaches no window below.
#pragma once

#include <X11/Xlib.h>

#include <string>

// On the root window, before the fern's windows are mapped: empty, or why
// not. Another client's grab (a menu open) is waited out for a second.
std::string GrabInput(Display* display);
void ReleaseInput(Display* display);
