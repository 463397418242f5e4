#include "saver_input.h"

// PLACEHOLDER until input dismissal lands: plain default processing.
LRESULT CALLBACK SaverInputProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}
