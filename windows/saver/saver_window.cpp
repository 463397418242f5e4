// The saver window: its class, the two kinds of window, the message loop and
// the outer window procedure in front of the renderer.
#include "fern_window.h"
#include "host_state.h"
#include "resource_ids.h"
#include "saver_host.h"
#include "shell_rules.h"

BOOL previewMode;
HWND saverWindow;
UINT autoPlayMessage;
HMODULE imeModule;
ImmAssociateContextFn imeAssociateFn;
HANDLE savedImeContext;
POINT lastCursor;

static const char saverClass[] = "WindowsScreenSaverClass";
static const char fullScreenTitle[] = "Screen Saver";

int RunSaverWindow(HWND parent) {
    WNDCLASSA wc = {};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
    wc.lpfnWndProc = SaverShellProc;
    wc.hInstance = appInstance;
    wc.hIcon = LoadIconA(appInstance, MAKEINTRESOURCEA(IDI_VERDANELLE));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = saverClass;

    const char* title;
    DWORD style, exStyle;
    int x = 0, y = 0, width, height;
    if (parent != nullptr) {
        FollowParentDpi(parent);
        RECT client;
        GetClientRect(parent, &client);
        width = client.right;
        height = client.bottom;
        previewMode = TRUE;
        title = "Preview";
        exStyle = 0;
        style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
    } else {
        HDC screen = GetDC(nullptr);
        RECT box;
        GetClipBox(screen, &box);
        ReleaseDC(nullptr, screen);
        x = box.left;
        y = box.top;
        width = box.right - box.left;
        height = box.bottom - box.top;

        // One full-screen saver at a time, in any process.
        HWND other = FindWindowA(saverClass, fullScreenTitle);
        if (other != nullptr && IsWindow(other)) {
            SetForegroundWindow(other);
            return 0;
        }
        LoadPasswordVerifier();
        title = fullScreenTitle;
        exStyle = WS_EX_TOPMOST;
        style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    }
    autoPlayMessage = onWin9x ? RegisterWindowMessageA("QueryCancelAutoPlay") : 0;

    MSG message = {};
    if (RegisterClassA(&wc) != 0)
        saverWindow = CreateWindowExA(exStyle, saverClass, title, style, x, y, width, height,
                                      parent, nullptr, appInstance, nullptr);
    if (saverWindow != nullptr) {
        if (parent == nullptr)
            SetForegroundWindow(saverWindow);
        while (GetMessageA(&message, nullptr, 0, 0)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    UnloadPasswordVerifier();
    // With no window there was no quit message: wParam is still 0.
    return static_cast<int>(message.wParam);
}

static void DetachInputContext(HWND window) {
    imeModule = GetModuleHandleA("IMM32.DLL"); // only when already loaded; never loaded here
    if (imeModule == nullptr)
        return;
    imeAssociateFn = reinterpret_cast<ImmAssociateContextFn>(
        reinterpret_cast<void*>(GetProcAddress(imeModule, "ImmAssociateContext")));
    if (imeAssociateFn != nullptr)
        savedImeContext = imeAssociateFn(window, nullptr);
}

LRESULT CALLBACK SaverShellProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (RouteShellMessage(message, wParam, previewMode, closeApproved != 0)) {
    case ShellAction::Create:
        DetachInputContext(window);
        GetCursorPos(&lastCursor);
        if (!previewMode) {
            SetCursor(nullptr);
            lastPower = ReadPowerStatus({255, 255});
        }
        break;
    case ShellAction::Destroy:
        if (imeModule != nullptr && imeAssociateFn != nullptr && savedImeContext != nullptr)
            imeAssociateFn(window, savedImeContext);
        PostQuitMessage(0);
        break;
    case ShellAction::Swallow:
        return 0;
    case ShellAction::Default:
        return DefWindowProcA(window, message, wParam, lParam);
    case ShellAction::Paint:
        if (!previewMode)
            SetCursor(nullptr);
        break;
    case ShellAction::ToParent: {
        HWND parent = GetParent(window);
        if (parent != nullptr && IsWindow(parent))
            PostMessageA(parent, message, reinterpret_cast<WPARAM>(parent), lParam);
        return 1;
    }
    case ShellAction::Tick:
        Sleep(0);
        break;
    case ShellAction::Renderer:
        break;
    }
    return FernWindowProc(window, message, wParam, lParam);
}
