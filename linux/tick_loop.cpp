#include "tick_loop.h"

#include <malloc.h>
#include <sys/select.h>

#include <algorithm>
#include <csignal>
#include <ctime>

#include "animation.h"
#include "gl_calls.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) {
    stopRequested = 1;
}

long long Now() { // microseconds, monotonic
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000000LL + t.tv_nsec / 1000;
}

} // namespace

void PrepareHack(sigset_t& sleepMask) {
    // Blocked before OpenGL starts any thread, so that those inherit it.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    sigprocmask(SIG_BLOCK, &stopSignals, &sleepMask);
    struct sigaction action = {};
    action.sa_handler = RequestStop;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);

    // Mesa's software renderer bins a tick's lines in blocks that it frees
    // at the tick's glFlush. glibc would give that heap back to the system
    // each time and fault it in again on the next tick: on a slow machine
    // half the rate of the large figures went there. Keep it, and serve the
    // renderer's half-megabyte buffers from it too.
#ifdef __GLIBC__
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    mallopt(M_MMAP_THRESHOLD, 16 << 20);
#endif
}

void StartFigure(int width, int height) {
    StartFern(width, height);
    growthTicks = 0;
    glViewport(0, 0, width, height);
}

// Every turn waits in pselect, for no time at all when a tick is due:
// signals are let through only there, so none is missed between a check and
// the wait, and none waits behind a run of late ticks; nor do events.
void RunTicks(TickHost& host, long delay, const sigset_t& sleepMask, const Beside* beside) {
    int fd = host.Connection(), top = fd;
    if (beside != nullptr)
        top = std::max({top, beside->fds[0], beside->fds[1]});
    long long next = Now() + delay;
    for (;;) {
        bool sleeps = host.ReadyToSleep();
        long long rest = sleeps ? std::max(next - Now(), 0LL) : 0;
        timespec timeout = {static_cast<time_t>(rest / 1000000),
                            static_cast<long>(rest % 1000000) * 1000};
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(fd, &readable);
        if (beside != nullptr)
            for (int other : beside->fds)
                if (other >= 0)
                    FD_SET(other, &readable);
        bool paused = sleeps && host.Paused(); // then only the display or a signal wakes it
        bool ready = pselect(top + 1, &readable, nullptr, nullptr, paused ? nullptr : &timeout,
                             &sleepMask) > 0 &&
                     FD_ISSET(fd, &readable);
        if (!host.Handle(ready) || stopRequested || (beside != nullptr && !beside->turn()))
            return;
        long long now = Now();
        if (now < next || host.Paused())
            continue;
        host.Tick();
        // On time, the cadence holds; late, it starts again from now: a
        // late tick is not made up for.
        next = next + delay > now ? next + delay : now + delay;
    }
}

bool WaitForAny(std::initializer_list<int> fds, bool block, const sigset_t& sleepMask,
                bool& first) {
    fd_set readable;
    FD_ZERO(&readable);
    int top = -1;
    for (int fd : fds)
        if (fd >= 0) {
            FD_SET(fd, &readable);
            top = std::max(top, fd);
        }
    timespec now = {0, 0};
    first = false;
    if (stopRequested)
        return false;
    if (pselect(top + 1, &readable, nullptr, nullptr, block ? nullptr : &now, &sleepMask) > 0)
        first = *fds.begin() >= 0 && FD_ISSET(*fds.begin(), &readable);
    return !stopRequested;
}

bool StopRequested() {
    return stopRequested;
}
