// When input, activation and power events end the saver: the decisions of
// the saver window's default processing, apart from the platform.
#pragma once

#include <cstdint>

#include "movement.h"

struct InputState {
    bool previewMode, closeApproved, inVerify, onWin9x, haveVerifier;
    unsigned autoPlayMessage; // 0 when none was registered
};

enum class InputAction {
    Default,           // straight to the final step
    PostClose,         // post WM_CLOSE, then the final step
    HideCursor,        // SetCursor(null), then the final step
    HideCursorHandled, // SetCursor(null) and return 1, without default processing
    MouseMove,         // the movement test, then the final step
    PowerStatus,       // the power-status test, then the final step
    GateClose,         // the password gate decides; on approval the final step
    AskVerifier,       // return what the platform's verifier answers
    Handled,           // return 1
};

InputAction JudgeInput(const InputState& state, unsigned message, std::uintptr_t wParam);

// The final step's auto-play query: post close and answer `AutoPlayAnswer`.
bool IsAutoPlayQuery(const InputState& state, unsigned message);
inline std::intptr_t AutoPlayAnswer(const InputState& state) {
    return state.haveVerifier ? 1 : 0;
}

// What GetSystemPowerStatus says of the power line and the battery; 255 is
// unknown in both.
struct PowerStatus {
    std::uint8_t acLine, batteryFlag;
};

// A power-status notice ends the saver when someone plugged or unplugged the
// power line. The battery's level never does: at its low mark nobody is at the
// machine, and at its critical mark Windows itself puts it to sleep, which the
// suspend notice reports.
bool PowerStatusEnds(PowerStatus before, PowerStatus now);
