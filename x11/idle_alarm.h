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
    // Another mark from now on: a short one while the fern shows, so that
    // the first input after a pointer's nudge still counts.
    void SetMark(long milliseconds);
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

// xscreensaver started later: it marks a window of its own, a child of the
// root, with its version. Errors of the look at a window that went at once
// are the X error handler's to pass over.
class SaverWatch {
  public:
    void Start(Display* display);
    // OWN: the fern's window, whose events are not the watch's to choose.
    void Note(const XEvent& event, Window own);
    bool came = false;

  private:
    Display* display = nullptr;
    Atom version = None;
};
