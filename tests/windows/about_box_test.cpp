// The about box's procedure on a real dialog made from its own template.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "host_state.h"
#include "platform_seam.h"
#include "saver_host.h"

TEST(AboutBox, ButtonShowsTheBitmapWhichIsDeletedOnce) {
    seam = Seam{};
    appInstance = GetModuleHandleA(nullptr);
    okButtonBitmap = nullptr;
    HWND box = CreateDialogParamA(appInstance, MAKEINTRESOURCEA(2003), nullptr, AboutDialogProc, 0);
    ASSERT_NE(box, nullptr);
    HBITMAP bitmap = okButtonBitmap;
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(SendDlgItemMessageA(box, 1, BM_GETIMAGE, IMAGE_BITMAP, 0),
              reinterpret_cast<LRESULT>(bitmap));
    EXPECT_EQ(GetWindowLongA(box, GWL_STYLE) & WS_SYSMENU, 0);

    // Any command ends it; a second one before it is gone deletes nothing again.
    EXPECT_EQ(SendMessageA(box, WM_COMMAND, MAKEWPARAM(777, 3), 0), 0);
    EXPECT_EQ(SendMessageA(box, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(SendMessageA(box, WM_COMMAND, IDCANCEL, 0), 0);
    EXPECT_EQ(std::count(seam.deletedObjects.begin(), seam.deletedObjects.end(), bitmap), 1);
    EXPECT_EQ(okButtonBitmap, nullptr);
    DestroyWindow(box);
}

TEST(AboutBox, PrepareAlwaysAgrees) {
    EXPECT_EQ(PrepareAboutBox(GetModuleHandleA(nullptr)), 1);
}
