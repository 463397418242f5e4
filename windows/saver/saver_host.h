// The operations of the screen-saver host.
#pragma once

#include <windows.h>

void SaverEntry();
int SaverMain(HINSTANCE instance, const char* tail);
int StartPreview(const char* text);
int StartPasswordChange(const char* text);

void DeclareDpiAware();            // before the full-screen window exists
void FollowParentDpi(HWND parent); // before the preview measures its parent
int RunSaverWindow(HWND parent);
LRESULT CALLBACK SaverShellProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void LoadPasswordVerifier();
void UnloadPasswordVerifier();
void SetSaverRunning(UINT running);
INT VerifyBeforeClose(HWND window);
void ChangeSaverPassword(HWND parent);

int ShowAboutBox(HWND parent);
int PrepareAboutBox(HINSTANCE instance);
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
