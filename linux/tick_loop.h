// The hack's loop, for X11 and Wayland alike: a tick every `delay`
// microseconds and the display's events in between, ticks paused while
// nothing can be seen; SIGTERM and SIGINT end it between two ticks at the
// latest.
#pragma once

#include <signal.h>

class TickHost {
  public:
    virtual int Connection() = 0; // the display's socket
    // False when events already read wait to be handled: no sleep then.
    virtual bool ReadyToSleep() = 0;
    // Handles what came (`readable`: the socket has more); false to end.
    virtual bool Handle(bool readable) = 0;
    virtual void Tick() = 0;
    // True while nothing of the fern can be seen: no tick then, and the
    // loop waits for the display alone.
    virtual bool Paused() = 0;

  protected:
    ~TickHost() = default;
};

// Blocks SIGTERM and SIGINT but for the loop's waits, and keeps the heap
// that OpenGL's ticks use; sleepMask gets the mask the waits let through.
void PrepareHack(sigset_t& sleepMask);

// A new figure for a client of that size, as window creation starts one.
void StartFigure(int width, int height);

void RunTicks(TickHost& host, long delay, const sigset_t& sleepMask);
