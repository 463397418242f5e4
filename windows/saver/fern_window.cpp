#include "fern_window.h"

#include "animation.h"
#include "gl_calls.h"
#include "saver_input.h"

// Held from WM_CREATE to WM_DESTROY; nothing else touches them.
static HDC windowDC;
static HGLRC glContext;
static UINT_PTR timerId;
static HPALETTE palette; // only where the pixel format needs one

static void RealizeFernPalette() {
    SelectPalette(windowDC, palette, FALSE);
    RealizePalette(windowDC);
}

// One colour's share of a palette index, its bits spread over 0 to 255.
static BYTE PaletteComponent(int index, BYTE bits, BYTE shift) {
    int most = (1 << bits) - 1;
    return most == 0 ? 0 : static_cast<BYTE>((((index >> shift) & most) * 255 + most / 2) / most);
}

// On a 256-colour display OpenGL's RGBA formats draw through the window's
// palette: without the ramp their colour bits describe (3-3-2 on 8 bits),
// every colour would be matched to the 20 static ones.
static void SetUpPalette(const PIXELFORMATDESCRIPTOR& pfd) {
    if (!(pfd.dwFlags & PFD_NEED_PALETTE))
        return;
    struct {
        WORD version, count;
        PALETTEENTRY entries[256];
    } ramp = {0x300, static_cast<WORD>(pfd.cColorBits < 8 ? 1 << pfd.cColorBits : 256), {}};
    for (int i = 0; i < ramp.count; ++i)
        ramp.entries[i] = {PaletteComponent(i, pfd.cRedBits, pfd.cRedShift),
                           PaletteComponent(i, pfd.cGreenBits, pfd.cGreenShift),
                           PaletteComponent(i, pfd.cBlueBits, pfd.cBlueShift), 0};
    palette = CreatePalette(reinterpret_cast<LOGPALETTE*>(&ramp));
    if (palette != nullptr)
        RealizeFernPalette();
}

static void SetUpFailed(HWND window, HWND owner, const char* text) {
    MessageBoxA(owner, text, "Error", MB_OK);
    DestroyWindow(window);
}

static void SetUpRendering(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    StartFern(client.right, client.bottom);

    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL; // single-buffered
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    pfd.iLayerType = PFD_MAIN_PLANE;

    windowDC = GetDC(window);
    int format = ChoosePixelFormat(windowDC, &pfd);
    if (format == 0)
        return SetUpFailed(window, nullptr, "Cannot find suitable pixel format");
    if (!SetPixelFormat(windowDC, format, &pfd))
        return SetUpFailed(window, window, "Unable to set pixel format");
    if (!DescribePixelFormat(windowDC, format, sizeof pfd, &pfd))
        return SetUpFailed(window, window, "Failed to describe pixel format");
    SetUpPalette(pfd); // what the format really is, as DescribePixelFormat wrote it
    glContext = wglCreateContext(windowDC);
    if (glContext == nullptr)
        return SetUpFailed(window, window, "Unable to create OpenGL rendering context");
    if (!wglMakeCurrent(windowDC, glContext)) {
        wglDeleteContext(glContext);
        glContext = nullptr; // so that the release does not delete it again
        return SetUpFailed(
            window, window,
            "Unable to make specified OpenGL rendering context current rendering context");
    }
    growthTicks = 0;
    timerId = SetTimer(window, 1, tickMilliseconds, nullptr);
}

static void ReleaseRendering(HWND window) {
    wglMakeCurrent(nullptr, nullptr);
    if (glContext != nullptr) {
        wglDeleteContext(glContext);
        glContext = nullptr;
    }
    KillTimer(window, timerId);
    if (palette != nullptr) { // a palette still selected cannot be deleted
        SelectPalette(windowDC, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
        DeleteObject(palette);
        palette = nullptr;
    }
    ReleaseDC(window, windowDC);
    PostQuitMessage(0);
}

LRESULT CALLBACK FernWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        SetUpRendering(window);
        return 0;
    case WM_DESTROY:
        ReleaseRendering(window);
        return 0;
    case WM_SIZE:
        glViewport(0, 0, screenWidth, screenHeight); // the size captured at creation
        return 0;
    case WM_TIMER:
        // The preview, a child window, is never told of palette changes:
        // whoever draws there realises before drawing.
        if (palette != nullptr)
            RealizeFernPalette();
        FernTick();
        return 0;
    case WM_QUERYNEWPALETTE: // our turn in the foreground
    case WM_PALETTECHANGED:  // another window took the system palette
        if (palette != nullptr &&
            !(message == WM_PALETTECHANGED && reinterpret_cast<HWND>(wParam) == window)) {
            RealizeFernPalette();
            return message == WM_QUERYNEWPALETTE;
        }
        break;
    }
    return SaverInputProc(window, message, wParam, lParam);
}
