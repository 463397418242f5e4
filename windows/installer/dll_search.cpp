#include "dll_search.h"

#include <cstring>

void KeepDllsInSystemDirectory(DllSearchSystem& system) {
    if (system.RestrictToSystemDirectory())
        return;
    char path[260];
    unsigned n = system.SystemDirectory(path, sizeof path);
    if (n == 0 || n >= sizeof path) // no whole directory: never a relative name
        return;
    path[n] = '\\';
    for (const char* name : dialogDlls) {
        if (n + 1 + std::strlen(name) >= sizeof path)
            continue;
        std::strcpy(path + n + 1, name);
        if (!system.LoadWithFlags(path, withAlteredSearchPath)) // refused by an old system
            system.Load(path);
    }
}
