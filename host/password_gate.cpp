// The password gate of the Windows 95/98/Me family.
#include "host_state.h"
#include "saver_host.h"

HMODULE passwordModule;
VerifyScreenSavePwdFn verifyPasswordFn;
LONG closeApproved;
BOOL inVerify;
DWORD lastVerifyTick = 0xFFFFFFFF;

// PLACEHOLDER until the password gate lands: no verifier is ever loaded.
void LoadPasswordVerifier() {}
void UnloadPasswordVerifier() {}

// PLACEHOLDER until the password gate lands: what the gate does without a verifier.
LONG VerifyBeforeClose(HWND) {
    closeApproved = 1;
    return 1;
}

// PLACEHOLDER until the password gate lands: the change does nothing.
void ChangeSaverPassword(HWND) {}

void SetSaverRunning(UINT running) {
    if (!onWin9x)
        return;
    UINT slot = running;
    SystemParametersInfoA(SPI_SCREENSAVERRUNNING, running, &slot, 0);
}
