#include "fern_window.h"

#include "animation.h"
#include "gl_calls.h"
#include "saver_input.h"

// Held from WM_CREATE to WM_DESTROY; nothing else touches them.
static HDC windowDC;
static HGLRC glContext;
static UINT_PTR timerId;

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
    timerId = SetTimer(window, 1, 50, nullptr);
}

static void ReleaseRendering(HWND window) {
    wglMakeCurrent(nullptr, nullptr);
    if (glContext != nullptr) {
        wglDeleteContext(glContext);
        glContext = nullptr;
    }
    KillTimer(window, timerId);
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
        FernTick();
        return 0;
    default:
        return SaverInputProc(window, message, wParam, lParam);
    }
}
