// The hack's loop, for X11 and Wayland alike: a tick every `delay`
// microseconds and the display's events in between, ticks paused while
// nothing can be seen; SIGTERM and SIGINT end it between two ticks at the
// latest.
#pragma once

#include <signal.h>

#include <functional>
#include <initializer_list>

// A display's events, as both loops wait for them.
class DisplayEvents {
  public:
    virtual int Connection() = 0; // the display's socket
    // False when events already read wait to be handled: no sleep then.
    virtual bool ReadyToSleep() = 0;
    // Handles what came (`readable`: the socket has more); false to end.
    virtual bool Handle(bool readable) = 0;

  protected:
    ~DisplayEvents() = default;
};

class TickHost : public DisplayEvents {
  public:
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

// What else a showing under --idle waits on (the desktop's buses, -1 for
// none): `turn` handles them after the display's events; false ends it.
struct Beside {
    int fds[2] = {-1, -1};
    std::function<bool()> turn;
};

void RunTicks(TickHost& host, long delay, const sigset_t& sleepMask,
              const Beside* beside = nullptr);

// Waits until one of `fds` (-1 for none) has something to read, or not at
// all unless `block`; false when SIGTERM or SIGINT came instead, or before.
// `first`: the first of them has.
bool WaitForAny(std::initializer_list<int> fds, bool block, const sigset_t& sleepMask, bool& first);
bool StopRequested();
