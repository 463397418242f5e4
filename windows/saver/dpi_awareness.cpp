// The full-screen saver draws at the display's own pixels: on a scaled
// display Windows gives a process that has not said it is DPI-aware a
// smaller, virtual screen and stretches its window, blurring every line.
// The preview measures in its parent's pixels instead. Each call is looked
// up, as older Windows lack them.
#include "saver_host.h"

namespace {

FARPROC User32Entry(const char* name) {
    return GetProcAddress(GetModuleHandleA("USER32.DLL"), name);
}

} // namespace

void DeclareDpiAware() {
    using SetContextFn = BOOL(WINAPI*)(HANDLE);
    using SetAwareFn = BOOL(WINAPI*)();
    // Windows 10 1703 on: per monitor, v2 then v1 (Wine takes only v1).
    auto setContext = reinterpret_cast<SetContextFn>(
        reinterpret_cast<void*>(User32Entry("SetProcessDpiAwarenessContext")));
    const HANDLE perMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
    const HANDLE perMonitor = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));
    if (setContext != nullptr && (setContext(perMonitorV2) || setContext(perMonitor)))
        return;
    // Vista on: system-wide.
    auto setAware =
        reinterpret_cast<SetAwareFn>(reinterpret_cast<void*>(User32Entry("SetProcessDPIAware")));
    if (setAware != nullptr)
        setAware();
}

void FollowParentDpi(HWND parent) {
    // A child window takes its parent's awareness whatever its thread's; an
    // unaware thread would measure the settings dialog's client area, and
    // its own child, in pixels divided by the scale. Windows 10 1607 on.
    using GetWindowContextFn = HANDLE(WINAPI*)(HWND);
    using SetThreadContextFn = HANDLE(WINAPI*)(HANDLE);
    auto getWindowContext = reinterpret_cast<GetWindowContextFn>(
        reinterpret_cast<void*>(User32Entry("GetWindowDpiAwarenessContext")));
    auto setThreadContext = reinterpret_cast<SetThreadContextFn>(
        reinterpret_cast<void*>(User32Entry("SetThreadDpiAwarenessContext")));
    if (getWindowContext != nullptr && setThreadContext != nullptr)
        setThreadContext(getWindowContext(parent)); // a null one is refused, changing nothing
}
