// The about box.
#include "host_state.h"
#include "saver_host.h"

HBITMAP okButtonBitmap;

// PLACEHOLDER until the about box lands: what happens when the box cannot be shown.
int ShowAboutBox(HWND) { return -1; }
