// What the command line and the environment ask of the hack, decided apart
// from the display so that every case can be tested anywhere.
#pragma once

#include <string>

#include "animation.h"

enum class HackTarget {
    OwnWindow,
    FullScreen,
    Idle,
    Root,
    WindowId,
    Help,
    AddToList,
    RemoveFromList,
    AddToAutostart,
    RemoveFromAutostart
};

struct HackOptions {
    HackTarget target = HackTarget::OwnWindow;
    unsigned long window = 0; // WindowId: that window; Root: XSCREENSAVER_WINDOW's, 0 for the root
    long delay = tickMilliseconds * 1000L; // microseconds from one tick to the next
    long idleSeconds = 0;                  // Idle: full screen after that long without input
    bool wayland = false;                  // its own windows through Wayland, else X11
    std::string error;                     // when set, the hack refuses with this line
};

// What --help prints.
extern const char hackUsage[];

// argv as main gets it; screensaverWindow is XSCREENSAVER_WINDOW and
// waylandDisplay WAYLAND_DISPLAY, or null.
HackOptions ParseHackOptions(int argc, const char* const* argv, const char* screensaverWindow,
                             const char* waylandDisplay = nullptr);

// Prints "verdanelle: WHY" on stderr and returns code.
int Refuse(const std::string& why, int code);

// A window id in hex (0x...) or decimal, as X tools print them: non-zero and
// within the 29 bits X gives ids.
bool ParseWindowId(const char* text, unsigned long& id);
