// Default processing of the saver window: decides when input ends the saver.
#pragma once

#include <windows.h>

LRESULT CALLBACK SaverInputProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
