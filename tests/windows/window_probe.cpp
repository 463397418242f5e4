// Test helper: waits for a top-level window of a class and title, and prints
// what a test checks of it.
//   window_probe CLASS TITLE [SECONDS [PARENT]]  (PARENT: look among its children)
#include <windows.h>

#include <cstdio>
#include <cstdlib>

static int count;
static BOOL CALLBACK Count(HWND window, LPARAM cls) {
    char name[128];
    GetClassNameA(window, name, sizeof name);
    count += lstrcmpA(name, reinterpret_cast<const char*>(cls)) == 0;
    return TRUE;
}

int main(int argc, char** argv) {
    if (argc < 3)
        return 2;
    int tenths = argc > 3 ? std::atoi(argv[3]) * 10 : 150;
    HWND parent = argc > 4 ? reinterpret_cast<HWND>(std::strtoull(argv[4], nullptr, 10)) : nullptr;
    HWND window = nullptr;
    for (int i = 0; i < tenths && !window; ++i) {
        window = parent ? FindWindowExA(parent, nullptr, argv[1], argv[2])
                        : FindWindowA(argv[1], argv[2]);
        if (!window)
            Sleep(100);
    }
    std::printf("found=%d\n", window ? 1 : 0);
    if (window)
        std::printf("window=%lu\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)));
    if (!window)
        return 1;
    Sleep(200);
    RECT r;
    GetWindowRect(window, &r);
    EnumWindows(Count, reinterpret_cast<LPARAM>(argv[1]));
    CURSORINFO cursor = {};
    cursor.cbSize = sizeof cursor;
    GetCursorInfo(&cursor);
    std::printf("rect=%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    std::printf("topmost=%d\n", (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 1 : 0);
    std::printf("visible=%d\n", IsWindowVisible(window) ? 1 : 0);
    std::printf("count=%d\n", count);
    std::printf("cursor=%d\n",
                cursor.hCursor != nullptr && (cursor.flags & CURSOR_SHOWING) ? 1 : 0);
    std::printf("foreground=%d\n", GetForegroundWindow() == window ? 1 : 0);
    return 0;
}
