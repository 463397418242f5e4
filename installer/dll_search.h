// Keeps the elevated installer from loading a DLL out of its own folder,
// usually Downloads, where anything may have been saved beside it.
#pragma once

struct DllSearchSystem {
    // Limits later bare-name loads to the system directory; false where the
    // system cannot (Windows 95 to Vista, and 7 without its update).
    virtual bool RestrictToSystemDirectory() = 0;
    // As GetSystemDirectoryA: the length, the size needed, or 0.
    virtual unsigned SystemDirectory(char* buffer, unsigned size) = 0;
    virtual void LoadByPath(const char* path) = 0; // and keep it loaded

  protected:
    ~DllSearchSystem() = default;
};

// The DLLs a dialog makes Windows load by bare name, which the fallback
// loads first from the system directory so those loads find them there.
constexpr const char* dialogDlls[] = {"version.dll", "uxtheme.dll", "dwmapi.dll", "cryptbase.dll"};

void KeepDllsInSystemDirectory(DllSearchSystem& system);
