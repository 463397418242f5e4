#include "input_rules.h"

#include "messages.h"

namespace {

// The machine sleeps or wakes; a laptop on battery also sends a status change
// at every few per cent, which alone must not end the saver.
InputAction PowerNoticeAction(std::uintptr_t event) {
    switch (event) {
    case msg::pbtQuerySuspend:
    case msg::pbtQueryStandby:
    case msg::pbtSuspend:
    case msg::pbtStandby:
    case msg::pbtResumeCritical:
    case msg::pbtResumeSuspend:
    case msg::pbtResumeStandby:
    case msg::pbtResumeAutomatic:
        return InputAction::PostClose;
    case msg::pbtPowerStatusChange:
        return InputAction::PowerStatus;
    default:
        return InputAction::Default;
    }
}

} // namespace

InputAction JudgeInput(const InputState& s, unsigned message, std::uintptr_t wParam) {
    if (s.previewMode || s.closeApproved)
        return InputAction::Default;
    // These two come first: the gate's own request arrives during verification.
    if (message == msg::close)
        return s.onWin9x ? InputAction::GateClose : InputAction::Default;
    if (message == msg::verify) {
        if (!s.onWin9x)
            return InputAction::Default;
        return s.haveVerifier ? InputAction::AskVerifier : InputAction::Handled;
    }
    if (s.inVerify)
        return InputAction::Default; // nothing closes while the user is asked
    switch (message) {
    case msg::showWindow:
        return wParam != 0 ? InputAction::HideCursor : InputAction::Default;
    case msg::activateApp:
        return wParam == 0 ? InputAction::PostClose : InputAction::Default;
    case msg::setCursor:
        return InputAction::HideCursorHandled;
    case msg::power:
        return wParam == msg::pwrCriticalResume ? InputAction::PostClose : InputAction::Default;
    case msg::keyDown:
    case msg::sysKeyDown:
    case msg::lButtonDown:
    case msg::rButtonDown:
    case msg::mButtonDown:
        return InputAction::PostClose;
    case msg::powerBroadcast:
        return PowerNoticeAction(wParam);
    case msg::mouseMove:
        return InputAction::MouseMove;
    default:
        return InputAction::Default;
    }
}

bool IsAutoPlayQuery(const InputState& s, unsigned message) {
    return s.autoPlayMessage != 0 && message == s.autoPlayMessage;
}

bool PowerStatusEnds(PowerStatus before, PowerStatus now) {
    return before.acLine != 255 && now.acLine != 255 && now.acLine != before.acLine;
}
