// The Windows saver's decisions on messages, power notices, pointer movement
// and the password gate, from any state and message: no undefined behaviour,
// and the rules that hold whatever the state.
#include <cstdint>
#include <cstring>

#include "input_rules.h"
#include "movement.h"
#include "password_rules.h"
#include "property.h"
#include "shell_rules.h"

namespace {

struct Input { // the fuzzer's bytes, as they are laid out here
    std::uint8_t flags;
    std::uint16_t autoPlay;
    std::uint32_t message;
    std::uintptr_t wParam;
    PowerStatus before, now;
    ScreenPoint last, point;
    std::uint32_t threshold, lastVerify, ticks;
    std::int32_t closeApproved, answer;
};

struct Port { // the gate's platform, answering from the input
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
    Input in{};
    std::memcpy(&in, data, std::min(size, sizeof in));
    bool flag[6];
    for (int i = 0; i < 6; ++i)
        flag[i] = in.flags >> i & 1;
    InputState state{flag[0], flag[1], flag[2], flag[3], flag[4], in.autoPlay};
    JudgeInput(state, in.message, in.wParam);
    IsAutoPlayQuery(state, in.message);
    RouteShellMessage(in.message, in.wParam, state.previewMode, state.closeApproved);
    PowerStatusEnds(in.before, in.now);
    Hold(!PowerStatusEnds(in.now, in.now), "an unchanged power status ends nothing");
    MovedFarEnough(in.last, in.point, in.threshold);
    Hold(!MovedFarEnough(in.last, in.last, in.threshold), "no movement is never far enough");

    std::int32_t inVerify = flag[5];
    Port port{in.ticks, in.answer};
    std::int32_t result =
        DecideClose(in.closeApproved, inVerify, in.lastVerify, state.haveVerifier, port);
    Hold(!flag[5] || (result == 0 && port.asked == 0),
         "a request while the user is asked is refused");
    Hold(inVerify == flag[5] && port.asked <= 1,
         "one request asks once at most, and leaves the flag");
    Hold(flag[5] || state.haveVerifier || (result == 1 && port.asked == 0),
         "without a verifier a request is granted unasked");
    return 0;
}
