// The screen-saver host's module-level state, one copy per process.
#pragma once

#include <windows.h>

#include "input_rules.h"

using ImmAssociateContextFn = HANDLE(WINAPI*)(HWND window, HANDLE context);
using VerifyScreenSavePwdFn = BOOL(WINAPI*)(HWND window);

extern HINSTANCE appInstance;
extern BOOL onWin9x;

extern BOOL previewMode;
extern HWND saverWindow;
extern UINT autoPlayMessage;
extern HMODULE imeModule;
extern ImmAssociateContextFn imeAssociateFn;
extern HANDLE savedImeContext;
extern POINT lastCursor;

extern DWORD mouseThreshold;
extern PowerStatus lastPower;
PowerStatus ReadPowerStatus(PowerStatus failed);

extern HMODULE passwordModule;
extern VerifyScreenSavePwdFn verifyPasswordFn;
extern INT closeApproved;
extern BOOL inVerify;
extern UINT lastVerifyTick;

extern HBITMAP okButtonBitmap;
