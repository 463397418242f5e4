// Test helper standing in for the desktop's settings dialog: a window with a
// small preview area. Writes the area's window number and screen rectangle
// to FILE, then its own and another top-level window's numbers, and closes
// itself once FILE.quit exists.
//   preview_host FILE
#include <windows.h>

#include <cstdio>
#include <string>

static std::string quitFile;
static HWND mainWindow;

static void CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD) {
    if (GetFileAttributesA(quitFile.c_str()) != INVALID_FILE_ATTRIBUTES)
        DestroyWindow(mainWindow);
}

static LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY && window == mainWindow)
        PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    quitFile = std::string(argv[1]) + ".quit";
    WNDCLASSA wc = {};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "PreviewHost";
    RegisterClassA(&wc);
    wc.lpfnWndProc = DefWindowProcA;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = "PreviewArea";
    RegisterClassA(&wc);
    HWND other = CreateWindowExA(0, "PreviewHost", "Other Window", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 600, 400, 200, 150, nullptr, nullptr, wc.hInstance, nullptr);
    mainWindow = CreateWindowExA(0, "PreviewHost", "Screen Saver Settings",
                                 WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100, 420,
                                 320, nullptr, nullptr, wc.hInstance, nullptr);
    HWND area = CreateWindowExA(0, "PreviewArea", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 60,
                                50, 152, 112, mainWindow, nullptr, wc.hInstance, nullptr);
    UpdateWindow(mainWindow);
    RECT r;
    GetWindowRect(area, &r);
    std::string temp = std::string(argv[1]) + ".part";
    FILE* out = std::fopen(temp.c_str(), "wb");
    auto number = [](HWND w) { return static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(w)); };
    std::fprintf(out, "%lu %ld %ld %ld %ld %lu %lu\n", number(area), r.left, r.top, r.right,
                 r.bottom, number(mainWindow), number(other));
    std::fclose(out);
    MoveFileA(temp.c_str(), argv[1]);
    SetTimer(nullptr, 0, 100, Poll);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    return 0;
}
