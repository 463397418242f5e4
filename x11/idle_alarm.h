// The X server's own count of the time since the last input (the XSync
// IDLETIME counter), as an alarm: an event when it reaches the mark, and one
// at the first input after; nothing to do in between. The server's blanking
// settings stay as they are.
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/sync.h>

class IdleAlarm {
  public:
    // False when the server counts no idle time.
    bool Start(Display* display, long milliseconds);
    // Takes an event of the alarm's, if it is one.
    void Note(const XEvent& event);
    void End();
    bool idle = false;

  private:
    void Arm();

    Display* display = nullptr;
    int syncEvent = 0;
    long mark = 0;
    XSyncAlarm alarm = None;
    XSyncAlarmAttributes attributes = {};
};

// xscreensaver runs on that display.
bool XscreensaverRuns(Display* display);
