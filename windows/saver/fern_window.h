// The renderer's message handler for the saver window.
#pragma once

#include <windows.h>

LRESULT CALLBACK FernWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
