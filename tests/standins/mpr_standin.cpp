// Test stand-in for the platform's MPR.DLL: logs each password change to
// mpr.log beside it as "change PROVIDER PARENT A B FOREGROUND".
#include "standin_log.h"

#define EXPORT extern "C" __declspec(dllexport)

EXPORT DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND parent, DWORD a, DWORD b) {
    AppendLine(BesideModule("mpr.log"), std::string("change ") + (provider ? provider : "(null)") +
                                            " " + Number(parent) + " " + std::to_string(a) + " " +
                                            std::to_string(b) + " " +
                                            Number(GetForegroundWindow()));
    return 0;
}
