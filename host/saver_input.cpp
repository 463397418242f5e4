#include "saver_input.h"

#include "host_state.h"
#include "input_rules.h"
#include "saver_host.h"

DWORD mouseThreshold = 4;

static void PostClose(HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); }

// The saver is never closed here directly: a close request is posted, and
// WM_CLOSE decides.
LRESULT CALLBACK SaverInputProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    InputState state = {previewMode != 0,     closeApproved != 0, inVerify != 0,
                        onWin9x != 0,         verifyPasswordFn != nullptr,
                        autoPlayMessage};
    switch (JudgeInput(state, message, wParam)) {
    case InputAction::Default:
        break;
    case InputAction::PostClose:
        PostClose(window);
        break;
    case InputAction::HideCursor:
        SetCursor(nullptr);
        break;
    case InputAction::HideCursorHandled:
        SetCursor(nullptr);
        return 1;
    case InputAction::MouseMove: {
        POINT now = lastCursor; // a failed read counts as no movement
        GetCursorPos(&now);
        if (MovedFarEnough({lastCursor.x, lastCursor.y}, {now.x, now.y}, mouseThreshold)) {
            PostClose(window);
            lastCursor = now;
        }
        break;
    }
    case InputAction::GateClose:
        if (VerifyBeforeClose(window) == 0) {
            GetCursorPos(&lastCursor); // measure the next movement from here
            return 0;
        }
        break;
    case InputAction::AskVerifier:
        return verifyPasswordFn(window);
    case InputAction::Handled:
        return 1;
    }
    if (IsAutoPlayQuery(state, message)) {
        PostClose(window);
        return AutoPlayAnswer(state);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
