#include "platform_seam.h"

Seam seam;

// Each wrapped import keeps the real entry as __real___imp_NAME.
#define WRAP(ret, name, params)                                                                    \
    extern "C" ret(WINAPI* __real___imp_##name) params;                                            \
    static ret WINAPI Seam_##name params;                                                          \
    extern "C" {                                                                                   \
    ret(WINAPI* __wrap___imp_##name) params = Seam_##name;                                         \
    }                                                                                              \
    static ret WINAPI Seam_##name params

WRAP(int, ChoosePixelFormat, (HDC dc, const PIXELFORMATDESCRIPTOR* pfd)) {
    seam.requested = *pfd;
    return seam.failStep == 1 ? 0 : __real___imp_ChoosePixelFormat(dc, pfd);
}

WRAP(BOOL, SetPixelFormat, (HDC dc, int format, const PIXELFORMATDESCRIPTOR* pfd)) {
    return seam.failStep == 2 ? FALSE : __real___imp_SetPixelFormat(dc, format, pfd);
}

WRAP(int, DescribePixelFormat, (HDC dc, int format, UINT size, PIXELFORMATDESCRIPTOR* pfd)) {
    return seam.failStep == 3 ? 0 : __real___imp_DescribePixelFormat(dc, format, size, pfd);
}

WRAP(HGLRC, wglCreateContext, (HDC dc)) {
    if (seam.failStep == 4)
        return nullptr;
    HGLRC context = __real___imp_wglCreateContext(dc);
    seam.created.push_back(context);
    return context;
}

WRAP(BOOL, wglMakeCurrent, (HDC dc, HGLRC context)) {
    if (seam.failStep == 5 && context != nullptr)
        return FALSE;
    return __real___imp_wglMakeCurrent(dc, context);
}

WRAP(BOOL, wglDeleteContext, (HGLRC context)) {
    seam.deleted.push_back(context);
    return __real___imp_wglDeleteContext(context);
}

WRAP(int, MessageBoxA, (HWND owner, LPCSTR text, LPCSTR caption, UINT type)) {
    seam.boxes.push_back(MessageBoxCall{owner, text ? text : "", caption ? caption : "", type});
    return IDOK; // never shown: nobody is there to close it
}

WRAP(UINT_PTR, SetTimer, (HWND window, UINT_PTR event, UINT interval, TIMERPROC proc)) {
    ++seam.timersSet;
    seam.timerWindow = window;
    seam.timerEvent = event;
    seam.timerInterval = interval;
    return __real___imp_SetTimer(window, event, interval, proc);
}
