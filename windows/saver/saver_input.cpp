#include "saver_input.h"

#include "host_state.h"
#include "input_rules.h"
#include "messages.h"
#include "saver_host.h"

// The decisions' own message numbers are the system's.
static_assert(msg::create == WM_CREATE && msg::destroy == WM_DESTROY &&
              msg::setText == WM_SETTEXT && msg::paint == WM_PAINT && msg::close == WM_CLOSE &&
              msg::showWindow == WM_SHOWWINDOW && msg::activateApp == WM_ACTIVATEAPP &&
              msg::setCursor == WM_SETCURSOR && msg::power == WM_POWER && msg::help == WM_HELP &&
              msg::contextMenu == WM_CONTEXTMENU && msg::keyDown == WM_KEYDOWN &&
              msg::sysKeyDown == WM_SYSKEYDOWN && msg::sysCommand == WM_SYSCOMMAND &&
              msg::timer == WM_TIMER && msg::mouseMove == WM_MOUSEMOVE &&
              msg::lButtonDown == WM_LBUTTONDOWN && msg::rButtonDown == WM_RBUTTONDOWN &&
              msg::mButtonDown == WM_MBUTTONDOWN && msg::powerBroadcast == WM_POWERBROADCAST &&
              msg::verify == WM_APP);
static_assert(msg::scNextWindow == SC_NEXTWINDOW && msg::scPrevWindow == SC_PREVWINDOW &&
              msg::scScreenSave == SC_SCREENSAVE && msg::pwrCriticalResume == PWR_CRITICALRESUME);
static_assert(msg::pbtQuerySuspend == PBT_APMQUERYSUSPEND &&
              msg::pbtQueryStandby == PBT_APMQUERYSTANDBY && msg::pbtSuspend == PBT_APMSUSPEND &&
              msg::pbtStandby == PBT_APMSTANDBY &&
              msg::pbtResumeCritical == PBT_APMRESUMECRITICAL &&
              msg::pbtResumeSuspend == PBT_APMRESUMESUSPEND &&
              msg::pbtResumeStandby == PBT_APMRESUMESTANDBY &&
              msg::pbtPowerStatusChange == PBT_APMPOWERSTATUSCHANGE &&
              msg::pbtResumeAutomatic == PBT_APMRESUMEAUTOMATIC);

DWORD mouseThreshold = movementThreshold;
PowerStatus lastPower = {255, 255}; // taken when the full-screen window is made

// Looked up: NT 4.0 has no power management, and its loader would refuse a
// program that imports the call.
PowerStatus ReadPowerStatus(PowerStatus failed) {
    using GetStatusFn = BOOL(WINAPI*)(SYSTEM_POWER_STATUS*);
    auto getStatus = reinterpret_cast<GetStatusFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("KERNEL32.DLL"), "GetSystemPowerStatus")));
    SYSTEM_POWER_STATUS status;
    if (getStatus == nullptr || !getStatus(&status))
        return failed;
    return {status.ACLineStatus, status.BatteryFlag};
}

static void PostClose(HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
}

// The saver is never closed here directly: a close request is posted, and
// WM_CLOSE decides.
LRESULT CALLBACK SaverInputProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    InputState state = {previewMode != 0, closeApproved != 0,          inVerify != 0,
                        onWin9x != 0,     verifyPasswordFn != nullptr, autoPlayMessage};
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
    case InputAction::PowerStatus: {
        PowerStatus now = ReadPowerStatus(lastPower); // a failed read is no change
        if (PowerStatusEnds(lastPower, now)) {
            PostClose(window);
            lastPower = now;
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
