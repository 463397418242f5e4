#include "platform_seam.h"

#include "import_symbol.h"

Seam seam;

// Each wrapped import keeps the real entry as __real_ of its import symbol.
#define WRAP(ret, name, bytes, params)                                                             \
    extern "C" ret(WINAPI* __real___imp_##name)                                                    \
        params __asm__(IMPORT_SYMBOL("__real_", name, bytes));                                     \
    static ret WINAPI Seam_##name params;                                                          \
    extern "C" ret(WINAPI* Wrap_##name) params __asm__(IMPORT_SYMBOL("__wrap_", name, bytes));     \
    ret(WINAPI* Wrap_##name) params = Seam_##name;                                                 \
    static ret WINAPI Seam_##name params

WRAP(int, ChoosePixelFormat, 8, (HDC dc, const PIXELFORMATDESCRIPTOR* pfd)) {
    seam.requested = *pfd;
    return seam.failStep == 1 ? 0 : __real___imp_ChoosePixelFormat(dc, pfd);
}

WRAP(BOOL, SetPixelFormat, 12, (HDC dc, int format, const PIXELFORMATDESCRIPTOR* pfd)) {
    return seam.failStep == 2 ? FALSE : __real___imp_SetPixelFormat(dc, format, pfd);
}

WRAP(int, DescribePixelFormat, 16, (HDC dc, int format, UINT size, PIXELFORMATDESCRIPTOR* pfd)) {
    if (seam.failStep == 3)
        return 0;
    int result = __real___imp_DescribePixelFormat(dc, format, size, pfd);
    if (seam.describeAs.nSize != 0)
        *pfd = seam.describeAs;
    return result;
}

WRAP(HPALETTE, CreatePalette, 4, (const LOGPALETTE* ramp)) {
    seam.palettes.emplace_back(ramp->palPalEntry, ramp->palPalEntry + ramp->palNumEntries);
    return __real___imp_CreatePalette(ramp);
}

WRAP(HPALETTE, SelectPalette, 12, (HDC dc, HPALETTE palette, BOOL background)) {
    seam.order.push_back(palette == GetStockObject(DEFAULT_PALETTE) ? "SelectPalette(default)"
                                                                    : "SelectPalette");
    return __real___imp_SelectPalette(dc, palette, background);
}

WRAP(UINT, RealizePalette, 4, (HDC dc)) {
    seam.order.push_back("RealizePalette");
    return __real___imp_RealizePalette(dc);
}

WRAP(HGLRC, wglCreateContext, 4, (HDC dc)) {
    if (seam.failStep == 4)
        return nullptr;
    seam.order.push_back("wglCreateContext");
    HGLRC context = __real___imp_wglCreateContext(dc);
    seam.created.push_back(context);
    return context;
}

WRAP(BOOL, wglMakeCurrent, 8, (HDC dc, HGLRC context)) {
    if (seam.failStep == 5 && context != nullptr)
        return FALSE;
    return __real___imp_wglMakeCurrent(dc, context);
}

WRAP(BOOL, wglDeleteContext, 4, (HGLRC context)) {
    seam.deleted.push_back(context);
    return __real___imp_wglDeleteContext(context);
}

WRAP(int, MessageBoxA, 16, (HWND owner, LPCSTR text, LPCSTR caption, UINT type)) {
    seam.boxes.push_back(MessageBoxCall{owner, text ? text : "", caption ? caption : "", type});
    return IDOK; // never shown: nobody is there to close it
}

WRAP(UINT_PTR, SetTimer, 16, (HWND window, UINT_PTR event, UINT interval, TIMERPROC proc)) {
    ++seam.timersSet;
    seam.timerWindow = window;
    seam.timerEvent = event;
    seam.timerInterval = interval;
    return __real___imp_SetTimer(window, event, interval, proc);
}

WRAP(BOOL, GetVersionExA, 4, (OSVERSIONINFOA * info)) {
    BOOL ok = __real___imp_GetVersionExA(info);
    if (seam.win9x) {
        info->dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
        info->dwMajorVersion = 4;
        info->dwMinorVersion = 10;
    }
    return ok;
}

WRAP(HWND, GetForegroundWindow, 0, ()) {
    if (seam.faultInForeground) {
        volatile int* nowhere = nullptr;
        *nowhere = 1; // a real access violation inside the guarded run
    }
    return __real___imp_GetForegroundWindow();
}

WRAP(LONG, UnhandledExceptionFilter, 4, (EXCEPTION_POINTERS * pointers)) {
    seam.faults.push_back(pointers->ExceptionRecord->ExceptionCode);
    return seam.faultVerdict;
}

WRAP(BOOL, SystemParametersInfoA, 16, (UINT action, UINT param, void* slot, UINT winIni)) {
    seam.spiCalls.push_back({action, param, slot ? *static_cast<UINT*>(slot) : 0xDEAD, winIni});
    return TRUE; // the test's system is left alone
}

static HANDLE WINAPI FakeImmAssociateContext(HWND window, HANDLE context) {
    seam.immCalls.push_back({window, context});
    return seam.immPrevious;
}

WRAP(FARPROC, GetProcAddress, 8, (HMODULE module, LPCSTR name)) {
    if (seam.fakeImm && HIWORD(reinterpret_cast<UINT_PTR>(name)) != 0 &&
        lstrcmpA(name, "ImmAssociateContext") == 0)
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(FakeImmAssociateContext));
    return __real___imp_GetProcAddress(module, name);
}

WRAP(BOOL, PostMessageA, 16, (HWND window, UINT message, WPARAM wParam, LPARAM lParam)) {
    seam.posts.push_back(MSG{window, message, wParam, lParam, 0, {}});
    return __real___imp_PostMessageA(window, message, wParam, lParam);
}

WRAP(BOOL, DeleteObject, 4, (HGDIOBJ object)) {
    seam.deletedObjects.push_back(object);
    return __real___imp_DeleteObject(object);
}
