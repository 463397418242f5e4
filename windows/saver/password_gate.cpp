// The password gate of the Windows 95/98/Me family: the platform's verifier
// is the only thing that may let a protected saver close.
#include "host_state.h"
#include "password_rules.h"
#include "saver_host.h"

HMODULE passwordModule;
VerifyScreenSavePwdFn verifyPasswordFn;
INT closeApproved;
BOOL inVerify;
UINT lastVerifyTick = 0xFFFFFFFF;

using PwdChangePasswordFn = DWORD(WINAPI*)(LPCSTR provider, HWND parent, DWORD, DWORD);

void LoadPasswordVerifier() {
    if (!onWin9x)
        return;
    HKEY key;
    if (RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key) != ERROR_SUCCESS)
        return;
    // A value shorter than 4 bytes fills only its own bytes: the rest stay 0,
    // so a stored 0 of any length reads as 0.
    DWORD value = 0;
    DWORD size = sizeof value;
    LONG status = RegQueryValueExA(key, "ScreenSaveUsePassword", nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(&value), &size);
    if (PasswordInForce(status, value)) {
        passwordModule = LoadLibraryA("PASSWORD.CPL");
        if (passwordModule != nullptr) {
            verifyPasswordFn = reinterpret_cast<VerifyScreenSavePwdFn>(
                reinterpret_cast<void*>(GetProcAddress(passwordModule, "VerifyScreenSavePwd")));
            if (verifyPasswordFn != nullptr)
                SetSaverRunning(1);
            else
                UnloadPasswordVerifier();
        }
    }
    RegCloseKey(key);
}

void UnloadPasswordVerifier() {
    if (!onWin9x || passwordModule == nullptr)
        return;
    FreeLibrary(passwordModule);
    passwordModule = nullptr;
    if (verifyPasswordFn != nullptr) {
        verifyPasswordFn = nullptr;
        SetSaverRunning(0);
    }
}

void SetSaverRunning(UINT running) {
    if (!onWin9x)
        return;
    UINT slot = running;
    SystemParametersInfoA(SPI_SCREENSAVERRUNNING, running, &slot, 0);
}

namespace {

// What a close request needs of the platform.
struct WindowPort {
    HWND window;
    std::uint32_t TickCount() { return GetTickCount(); }
    void PurgeTimers() {
        MSG pending;
        PeekMessageA(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
        PeekMessageA(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    }
    // The window answers with the verifier's verdict (the input procedure).
    std::int32_t Ask() { return static_cast<std::int32_t>(SendMessageA(window, WM_APP, 0, 0)); }
    void HideCursor() { SetCursor(nullptr); }
};

} // namespace

INT VerifyBeforeClose(HWND window) {
    WindowPort port{window};
    return DecideClose(closeApproved, inVerify, lastVerifyTick, verifyPasswordFn != nullptr, port);
}

void ChangeSaverPassword(HWND parent) {
    HMODULE mpr = LoadLibraryA("MPR.DLL");
    if (mpr == nullptr)
        return;
    auto change = reinterpret_cast<PwdChangePasswordFn>(
        reinterpret_cast<void*>(GetProcAddress(mpr, "PwdChangePasswordA")));
    if (change != nullptr)
        change("SCRSAVE", parent, 0, 0);
    FreeLibrary(mpr);
}
