// The Windows saver's decisions on messages, power notices, pointer movement
// and the password gate, from arbitrary states and messages: no undefined
// behaviour, and the rules that hold whatever the state.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "input_rules.h"
#include "movement.h"
#include "password_rules.h"
#include "shell_rules.h"

namespace {

[[noreturn]] void Broken(const char* property) {
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

template <class T> T Take(const std::uint8_t*& data, std::size_t& size) {
    T value{};
    std::size_t n = size < sizeof value ? size : sizeof value;
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

// The gate's platform, answering from the input.
struct Port {
    std::uint32_t ticks;
    std::int32_t answer;
    int asked = 0;
    std::uint32_t TickCount() { return ticks; }
    void PurgeTimers() {}
    std::int32_t Ask() { return ++asked, answer; }
    void HideCursor() {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto flags = Take<std::uint8_t>(data, size);
    InputState state{(flags & 1) != 0, (flags & 2) != 0,  (flags & 4) != 0,
                     (flags & 8) != 0, (flags & 16) != 0, Take<std::uint16_t>(data, size)};
    auto message = Take<std::uint32_t>(data, size);
    auto wParam = Take<std::uintptr_t>(data, size);
    JudgeInput(state, message, wParam);
    IsAutoPlayQuery(state, message);
    RouteShellMessage(message, wParam, state.previewMode, state.closeApproved);

    auto before = Take<PowerStatus>(data, size), now = Take<PowerStatus>(data, size);
    if (PowerStatusEnds(before, before) || PowerStatusEnds(now, now))
        Broken("an unchanged power status ends nothing");
    PowerStatusEnds(before, now);

    auto last = Take<ScreenPoint>(data, size), point = Take<ScreenPoint>(data, size);
    auto threshold = Take<std::uint32_t>(data, size);
    if (MovedFarEnough(last, last, threshold))
        Broken("no movement is never far enough");
    MovedFarEnough(last, point, threshold);

    std::int32_t closeApproved = Take<std::int32_t>(data, size), inVerify = flags & 32 ? 1 : 0;
    std::uint32_t lastVerify = Take<std::uint32_t>(data, size);
    Port port{Take<std::uint32_t>(data, size), Take<std::int32_t>(data, size)};
    std::int32_t wasInVerify = inVerify;
    std::int32_t result =
        DecideClose(closeApproved, inVerify, lastVerify, state.haveVerifier, port);
    if (wasInVerify && (result != 0 || port.asked != 0))
        Broken("a request while the user is asked is refused, and asks nothing");
    if (inVerify != wasInVerify)
        Broken("the gate leaves the asking flag as it found it");
    if (!wasInVerify && !state.haveVerifier && (result != 1 || port.asked != 0))
        Broken("without a verifier a request is granted unasked");
    if (port.asked > 1)
        Broken("one request asks once at most");
    return 0;
}
