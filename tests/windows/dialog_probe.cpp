// Test helper: finds a dialog box by its title, prints what it shows, and
// optionally ends it the way a user would through its caption.
//   dialog_probe TITLE [close|command|wmclose|none]
#include <windows.h>

#include <cstdio>
#include <cstring>

static void PrintItem(HWND dialog, const char* name, int id) {
    char text[1024] = "";
    HWND item = GetDlgItem(dialog, id);
    GetDlgItemTextA(dialog, id, text, sizeof text);
    std::printf("%s=%s\n", name, text);
    std::printf("%s.enabled=%d\n", name, item && IsWindowEnabled(item) ? 1 : 0);
    if (item) {
        RECT r;
        GetWindowRect(item, &r);
        std::printf("%s.centre=%ld %ld\n", name, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
}

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    HWND dialog = nullptr;
    for (int i = 0; i < 300 && !(dialog && IsWindowVisible(dialog)); ++i) {
        dialog = FindWindowA(MAKEINTATOM(32770), argv[1]);
        Sleep(50);
    }
    if (!dialog) {
        std::printf("found=0\n");
        return 1;
    }
    Sleep(300); // let it finish painting and take the focus
    LONG style = GetWindowLongA(dialog, GWL_STYLE);
    std::printf("found=1\n");
    std::printf("owner=%lu\n", static_cast<unsigned long>(
                                   reinterpret_cast<UINT_PTR>(GetWindow(dialog, GW_OWNER))));
    std::printf("sysmenu=%d\n", (style & WS_SYSMENU) ? 1 : 0);
    std::printf("foreground=%d\n", GetForegroundWindow() == dialog ? 1 : 0);
    PrintItem(dialog, "item1", 1);
    PrintItem(dialog, "item1000", 1000);
    std::fflush(stdout);

    const char* action = argc > 2 ? argv[2] : "none";
    if (std::strcmp(action, "close") == 0)
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); // the caption's close
    else if (std::strcmp(action, "wmclose") == 0)
        PostMessageA(dialog, WM_CLOSE, 0, 0);
    else if (std::strcmp(action, "command") == 0)
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(4321, 7), 0);
    return 0;
}
