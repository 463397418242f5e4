// The screen's monitors as the X server tells them, and their changes.
#pragma once

#include <X11/Xlib.h>

#include <vector>

#include "screen_layout.h"

// RandR 1.5's monitors, else its CRTCs (1.2), cut to the root window's size
// (read into width and height); the whole screen where RandR says nothing.
std::vector<Monitor> ReadMonitors(Display* display, int& width, int& height);

// RandR's word of monitors added, removed or resized, while `on`.
void FollowMonitors(Display* display, bool on);
// True for such an event, which Xlib has taken note of.
bool MonitorsChanged(Display* display, XEvent& event);
