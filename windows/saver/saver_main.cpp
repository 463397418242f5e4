// The program's entry: cut the program name off the command line, learn the
// platform family, and run the one mode the switch selects.
#include <cstdint>

#include "command_line.h"
#include "fault_guard.h"
#include "host_state.h"
#include "saver_host.h"

HINSTANCE appInstance;
BOOL onWin9x;

namespace {

const char* NextCharacter(const char* position) {
    return CharNextA(position);
}

HWND WindowNumber(std::uint32_t number) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(number));
}

int RunMode(const char* tail) {
    ModeChoice choice = ChooseMode(tail, onWin9x != FALSE);
    switch (choice.mode) {
    case SaverMode::AboutBox:
        return ShowAboutBox(nullptr);
    case SaverMode::Configure: {
        HWND parent = WindowNumber(choice.parent);
        if (parent == nullptr || !IsWindow(parent))
            parent = GetForegroundWindow();
        return ShowAboutBox(parent);
    }
    case SaverMode::PasswordChange:
        return StartPasswordChange(choice.rest);
    case SaverMode::Preview:
        return StartPreview(choice.rest);
    case SaverMode::FullScreen:
        // The process only: the preview takes its parent's awareness for its
        // thread, and the about box is left to Windows' scaling.
        DeclareDpiAware();
        return RunSaverWindow(nullptr);
    case SaverMode::Refused:
        break;
    }
    return -1;
}

struct GuardedRun {
    const char* tail;
    int result;
};

void RunGuardedMode(void* run) {
    auto* r = static_cast<GuardedRun*>(run);
    r->result = RunMode(r->tail);
}

} // namespace

int StartPreview(const char* text) {
    HWND parent = WindowNumber(ParseDecimal(text));
    if (parent != nullptr && IsWindow(parent))
        return RunSaverWindow(parent);
    return -1;
}

int StartPasswordChange(const char* text) {
    HWND parent = WindowNumber(ParseDecimal(text));
    if (parent == nullptr || !IsWindow(parent))
        parent = GetForegroundWindow();
    ChangeSaverPassword(parent);
    return 0;
}

int SaverMain(HINSTANCE instance, const char* tail) {
    appInstance = instance;
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    onWin9x = GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;

    GuardedRun run{tail, -1};
    if (!RunGuarded(RunGuardedMode, &run)) {
        SetSaverRunning(0); // a fault must not leave the system thinking a saver runs
        return -1;
    }
    return run.result;
}

void SaverEntry() {
    const char* tail = CutProgramName(GetCommandLineA(), NextCharacter);
    ExitProcess(static_cast<UINT>(SaverMain(GetModuleHandleA(nullptr), tail)));
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    SaverEntry();
    return 0;
}
