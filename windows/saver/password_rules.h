// The password gate's decisions, apart from the platform.
#pragma once

#include <cstdint>

// The gap a user gets after one verification ends before the next may start.
constexpr std::uint32_t verifyGap = 200;

// Later minus earlier, modulo 2^32: a wrap of the tick count in between still
// gives the true small difference.
inline std::uint32_t TicksBetween(std::uint32_t earlier, std::uint32_t later) {
    return later - earlier;
}

// Is a password in force, given the status of the registry read and the
// 32-bit buffer it read into?
inline bool PasswordInForce(long status, std::uint32_t value) {
    return status == 0 && value != 0;
}

// One close request. The flags are the host's own globals, by reference, so
// that a nested request made while `port.Ask()` waits sees them set. The port
// reads the tick count, purges pending timer messages, asks the verifier
// through the window, and hides the cursor.
template <class Port>
std::int32_t DecideClose(std::int32_t& closeApproved, std::int32_t& inVerify,
                         std::uint32_t& lastVerifyTick, bool haveVerifier, Port& port) {
    if (inVerify)
        return 0; // the user is being asked already
    if (!haveVerifier) {
        closeApproved = 1;
        return 1;
    }
    std::uint32_t now = port.TickCount();
    if (lastVerifyTick != 0xFFFFFFFFu && TicksBetween(lastVerifyTick, now) < verifyGap)
        return closeApproved;
    inVerify = 1;
    port.PurgeTimers();
    std::int32_t answer = port.Ask();
    closeApproved = answer;
    inVerify = 0;
    if (answer == 0)
        port.HideCursor();
    lastVerifyTick = port.TickCount();
    return closeApproved;
}
