// The entry of the 32-bit programs, in place of the MinGW runtime's start-up:
// that one is built for the Pentium Pro (it uses CMOV), and these programs
// must start on a 486. It does what they rely on and nothing more: a known
// x87 state, the static constructors, WinMain, and ExitProcess with its result.
#include <windows.h>

// Laid out by the linker: -1, the constructors in link order, then 0.
extern "C" void (*__CTOR_LIST__[])();

namespace {

// As Windows sets it for a new thread: every exception masked, rounding to
// nearest, 53-bit precision (the renderer's doubles depend on that).
void ResetFloatingPoint() {
    const unsigned short control = 0x027F;
    __asm__ volatile("fninit\n\tfldcw %0" : : "m"(control));
}

void RunStaticConstructors() {
    unsigned count = 0;
    while (__CTOR_LIST__[count + 1] != nullptr)
        ++count;
    for (unsigned i = count; i > 0; --i) // the last linked first, as GCC's own start-up does
        __CTOR_LIST__[i]();
}

} // namespace

// The entry the linker looks for in a GUI program. The loader keeps the stack
// aligned to 4 bytes only.
extern "C" __attribute__((force_align_arg_pointer, noreturn)) void WinMainCRTStartup() {
    ResetFloatingPoint();
    RunStaticConstructors();
    // Both programs read their command line themselves.
    ExitProcess(static_cast<UINT>(
        WinMain(GetModuleHandleA(nullptr), nullptr, GetCommandLineA(), SW_SHOWDEFAULT)));
}
