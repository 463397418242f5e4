// The saver window on real windows: the class, the two kinds of window and
// what the outer procedure does with messages.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <vector>

#include "animation.h"
#include "host_state.h"
#include "platform_seam.h"
#include "saver_host.h"

namespace {

std::function<void()> during;

void CALLBACK RunDuring(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    during();
    if (IsWindow(saverWindow)) // a failed check must not leave the loop running
        DestroyWindow(saverWindow);
}

// Runs the saver window and, once its loop runs, `steps`, which must end it.
int RunSaver(HWND parent, std::function<void()> steps) {
    during = std::move(steps);
    SetTimer(nullptr, 0, 100, RunDuring);
    saverWindow = nullptr;
    closeApproved = 0;
    previewMode = FALSE;
    int result = RunSaverWindow(parent);
    UnregisterClassA("WindowsScreenSaverClass", appInstance); // the program registers it once
    return result;
}

std::vector<MSG> parentMessages;
HELPINFO parentHelp; // copied on arrival: the system may hand over a copy of its own

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HELP || message == WM_CONTEXTMENU)
        parentMessages.push_back(MSG{window, message, wParam, lParam, 0, {}});
    if (message == WM_HELP)
        parentHelp = *reinterpret_cast<const HELPINFO*>(lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeParent() {
    static ATOM atom = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "PreviewParent";
        return RegisterClassA(&wc);
    }();
    EXPECT_NE(atom, 0);
    return CreateWindowExA(0, "PreviewParent", "Settings", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                           300, 260, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void Pump() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
}

} // namespace

TEST(SaverWindow, PreviewFillsTheParentsClientArea) {
    seam = Seam{};
    appInstance = GetModuleHandleA(nullptr);
    onWin9x = FALSE;
    HWND parent = MakeParent();
    RECT parentClient;
    GetClientRect(parent, &parentClient);
    bool ran = false;
    int result = RunSaver(parent, [&] {
        ran = true;
        HWND w = saverWindow;
        EXPECT_TRUE(previewMode);
        EXPECT_EQ(GetParent(w), parent);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(w, GWL_STYLE)) & 0xFFFF0000u, 0x52000000u);
        EXPECT_EQ(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
        RECT r;
        GetWindowRect(w, &r);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, 0);
        EXPECT_EQ(r.top, 0);
        EXPECT_EQ(r.right, parentClient.right);
        EXPECT_EQ(r.bottom, parentClient.bottom);
        EXPECT_EQ(screenWidth, parentClient.right);
        EXPECT_EQ(autoPlayMessage, 0u);

        WNDCLASSA wc;
        ASSERT_TRUE(GetClassInfoA(appInstance, "WindowsScreenSaverClass", &wc));
        EXPECT_EQ(wc.style, 0x2Bu);
        EXPECT_EQ(wc.hbrBackground, GetStockObject(BLACK_BRUSH));
        EXPECT_EQ(wc.hCursor, nullptr);
        EXPECT_NE(wc.hIcon, nullptr);
        EXPECT_EQ(wc.hIcon, LoadIconA(appInstance, MAKEINTRESOURCEA(100)));
        EXPECT_EQ(wc.lpfnWndProc, SaverShellProc);
        EXPECT_EQ(wc.cbClsExtra, 0);
        EXPECT_EQ(wc.cbWndExtra, 0);

        // The title never changes.
        EXPECT_EQ(SendMessageA(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Other")), 0);
        char title[32];
        GetWindowTextA(w, title, sizeof title);
        EXPECT_STREQ(title, "Preview");

        // The context menu is posted to the parent with its own handle; help
        // reaches it through the default processing, with its data.
        parentMessages.clear();
        seam.posts.clear();
        HELPINFO help = {sizeof help, HELPINFO_WINDOW, 7, reinterpret_cast<HANDLE>(w), 42, {3, 4}};
        EXPECT_EQ(SendMessageA(w, WM_CONTEXTMENU, 5, MAKELPARAM(7, 8)), 1);
        SendMessageA(w, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
        Pump();
        ASSERT_EQ(parentMessages.size(), 2u);
        EXPECT_EQ(parentMessages[0].message, UINT{WM_HELP});
        EXPECT_EQ(parentHelp.iCtrlId, 7);
        EXPECT_EQ(parentHelp.dwContextId, 42u);
        EXPECT_EQ(parentHelp.MousePos.y, 4);
        EXPECT_EQ(parentMessages[1].message, UINT{WM_CONTEXTMENU});
        EXPECT_EQ(parentMessages[1].wParam, reinterpret_cast<WPARAM>(parent));
        EXPECT_EQ(parentMessages[1].lParam, MAKELPARAM(7, 8));
        // A window without a parent: nothing to post to, still 1.
        EXPECT_EQ(SaverShellProc(parent, WM_CONTEXTMENU, 0, 0), 1);
        EXPECT_EQ(seam.posts.size(), 1u);

        // Input does not end the preview.
        SendMessageA(w, WM_KEYDOWN, 'A', 0);
        SendMessageA(w, WM_LBUTTONDOWN, 0, 0);
        SendMessageA(w, WM_ACTIVATEAPP, 0, 0);
        Pump();
        EXPECT_TRUE(IsWindow(w));
        DestroyWindow(parent); // the preview goes with its parent
    });
    EXPECT_TRUE(ran);
    EXPECT_EQ(result, 0);
}

TEST(SaverWindow, FullScreenCoversTheScreenAndSwallowsSystemCommands) {
    seam = Seam{};
    appInstance = GetModuleHandleA(nullptr);
    onWin9x = FALSE;
    bool ran = false;
    int result = RunSaver(nullptr, [&] {
        ran = true;
        HWND w = saverWindow;
        EXPECT_FALSE(previewMode);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(w, GWL_STYLE)) & 0xFFFF0000u, 0x96000000u);
        EXPECT_NE(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
        RECT r;
        GetWindowRect(w, &r);
        EXPECT_EQ(r.left, 0);
        EXPECT_EQ(r.top, 0);
        EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
        EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN));
        char title[32];
        GetWindowTextA(w, title, sizeof title);
        EXPECT_STREQ(title, "Screen Saver");

        // A second full-screen start finds this one and returns at once.
        HWND before = saverWindow;
        EXPECT_EQ(RunSaverWindow(nullptr), 0);
        EXPECT_EQ(saverWindow, before);

        for (WPARAM command : {0xF040, 0xF050, 0xF140})
            EXPECT_EQ(SendMessageA(w, WM_SYSCOMMAND, command, 0), 0) << command;
        EXPECT_TRUE(IsWindow(w));

        // After approval ticks draw nothing.
        closeApproved = 1;
        int growth = growthTicks;
        EXPECT_EQ(SendMessageA(w, WM_TIMER, 1, 0), 0);
        EXPECT_EQ(growthTicks, growth);
        closeApproved = 0;
        EXPECT_EQ(SendMessageA(w, WM_TIMER, 1, 0), 0);
        EXPECT_EQ(growthTicks, growth + 1);

        // The caption's close is not swallowed: on the NT family it destroys at once.
        SendMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_FALSE(IsWindow(w));
    });
    EXPECT_TRUE(ran);
    EXPECT_EQ(result, 0);
}

TEST(SaverWindow, InputContextDetachedAndGivenBack) {
    const struct {
        HANDLE previous;
        std::size_t calls;
    } table[] = {{reinterpret_cast<HANDLE>(0x1234), 2}, {nullptr, 1}};
    for (const auto& c : table) {
        seam = Seam{};
        seam.fakeImm = true;
        seam.immPrevious = c.previous;
        appInstance = GetModuleHandleA(nullptr);
        onWin9x = FALSE;
        imeModule = nullptr;
        imeAssociateFn = nullptr;
        savedImeContext = nullptr;
        HWND window = nullptr;
        HWND parent = MakeParent();
        RunSaver(parent, [&] {
            window = saverWindow;
            DestroyWindow(parent);
        });
        ASSERT_NE(GetModuleHandleA("IMM32.DLL"), nullptr); // Wine's user32 loads it
        ASSERT_EQ(seam.immCalls.size(), c.calls);
        EXPECT_EQ(seam.immCalls[0].first, window);
        EXPECT_EQ(seam.immCalls[0].second, nullptr);
        if (c.calls == 2) {
            EXPECT_EQ(seam.immCalls[1].first, window);
            EXPECT_EQ(seam.immCalls[1].second, c.previous);
        }
    }
}
