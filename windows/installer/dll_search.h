// Keeps the elevated installer from loading a DLL out of its own folder,
// usually Downloads, where anything may have been saved beside it.
#pragma once

struct DllSearchSystem {
    // Limits later bare-name loads to the system directory; false where the
    // system cannot (Windows 95 to Vista, and 7 without its update).
    virtual bool RestrictToSystemDirectory() = 0;
    // As GetSystemDirectoryA: the length, the size needed, or 0.
    virtual unsigned SystemDirectory(char* buffer, unsigned size) = 0;
    // As LoadLibraryExA without a file, and as LoadLibraryA: true when the
    // module is loaded (and kept).
    virtual bool LoadWithFlags(const char* path, unsigned flags) = 0;
    virtual bool Load(const char* path) = 0;

  protected:
    ~DllSearchSystem() = default;
};

// The DLLs a dialog makes Windows load by bare name, which the fallback
// loads first from the system directory so those loads find them there.
constexpr const char* dialogDlls[] = {"version.dll", "uxtheme.dll", "dwmapi.dll", "cryptbase.dll"};

// LOAD_WITH_ALTERED_SEARCH_PATH: the loaded DLL's own imports are then looked
// up from its folder, not from the installer's.
constexpr unsigned withAlteredSearchPath = 0x00000008;

void KeepDllsInSystemDirectory(DllSearchSystem& system);
