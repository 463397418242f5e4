// The about box: the saver has no settings, only its name and credits.
#include "host_state.h"
#include "resource_ids.h"
#include "saver_host.h"

HBITMAP okButtonBitmap;

int PrepareAboutBox(HINSTANCE) {
    return 1;
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        okButtonBitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_OK));
        SendDlgItemMessageA(dialog, IDC_ABOUT_OK, BM_SETIMAGE, IMAGE_BITMAP,
                            reinterpret_cast<LPARAM>(okButtonBitmap));
        return 0;
    case WM_CLOSE:
    case WM_COMMAND: // Enter, Escape and the button all arrive here
        if (okButtonBitmap != nullptr) {
            DeleteObject(okButtonBitmap);
            okButtonBitmap = nullptr; // a second command before the box is gone
        }
        EndDialog(dialog, 1);
        return 0;
    default:
        return 0;
    }
}

int ShowAboutBox(HWND parent) {
    if (!PrepareAboutBox(appInstance))
        return 0;
    return static_cast<int>(
        DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_ABOUT), parent, AboutDialogProc, 0));
}
