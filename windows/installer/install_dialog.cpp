// The installer: one dialog that copies Verdanelle.scr from the current
// directory into the system directory and shows how that went.
#include <windows.h>

#include "dll_search.h"
#include "installer_ids.h"
#include "install_outcome.h"

namespace {

struct Win32InstallSystem final : InstallSystem {
    unsigned SystemDirectory(char* buffer, unsigned size) override {
        return GetSystemDirectoryA(buffer, size);
    }
    bool CopyOver(const char* source, const char* target) override {
        return CopyFileA(source, target, FALSE) != 0;
    }
    unsigned LastError() override { return GetLastError(); }
};

struct Win32DllSearch final : DllSearchSystem {
    bool RestrictToSystemDirectory() override {
        using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
        auto set = reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("KERNEL32.DLL"), "SetDefaultDllDirectories")));
        constexpr DWORD searchSystem32 = 0x00000800; // LOAD_LIBRARY_SEARCH_SYSTEM32
        return set != nullptr && set(searchSystem32);
    }
    unsigned SystemDirectory(char* buffer, unsigned size) override {
        return GetSystemDirectoryA(buffer, size);
    }
    bool LoadWithFlags(const char* path, unsigned flags) override {
        return LoadLibraryExA(path, nullptr, flags) != nullptr;
    }
    bool Load(const char* path) override { return LoadLibraryA(path) != nullptr; }
};

char directory[directorySize];
char message[1024];

void ShowOutcome(HWND dialog) {
    HWND button = GetDlgItem(dialog, IDC_INSTALL_BUTTON);
    Win32InstallSystem system;
    InstallOutcome outcome = InstallScreenSaver(system, directory);
    if (outcome.argument != nullptr) {
        wsprintfA(message, outcome.format, outcome.argument);
        SetDlgItemTextA(dialog, IDC_INSTALL_TEXT, message);
    } else {
        SetDlgItemTextA(dialog, IDC_INSTALL_TEXT, outcome.format);
    }
    if (outcome.failed)
        SetDlgItemTextA(dialog, IDC_INSTALL_BUTTON, "Close");
    EnableWindow(button, TRUE);
}

} // namespace

INT_PTR CALLBACK InstallDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        ShowOutcome(dialog);
        return 0;
    case WM_CLOSE:
    case WM_COMMAND:
        EndDialog(dialog, 1);
        return 0;
    default:
        return 0;
    }
}

int RunInstallDialog(HINSTANCE instance, int, int, int) {
    DialogBoxParamA(instance, "InstallDialog", nullptr, InstallDialogProc, 0);
    return 0;
}

int InstallerEntry() {
    Win32DllSearch search;
    KeepDllsInSystemDirectory(search);
    RunInstallDialog(nullptr, 0, 0, 0);
    return 0;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return InstallerEntry();
}
