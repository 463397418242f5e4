#include "install_outcome.h"

#include <cstring>

InstallOutcome InstallScreenSaver(InstallSystem& system, char (&directory)[directorySize]) {
    unsigned n = system.SystemDirectory(directory, directorySize);
    // No directory at all would make the target "\Verdanelle.scr" at the
    // root of the current drive.
    if (n == 0)
        return {"Error: Unable to find the system directory!", nullptr, true};
    if (n > longestDirectory)
        return {"Error: lenght of system directory is too long!", nullptr, true};

    directory[n] = '\\';
    std::memcpy(directory + n + 1, sourceName, sizeof sourceName);

    if (system.CopyOver(sourceName, directory))
        return {"Screen saver successfully installed into %s", directory, false};
    if (system.LastError() == 2) // ERROR_FILE_NOT_FOUND
        return {"Error: Cannot find source file %s", sourceName, true};
    return {"Error: Unable to instal screensaver to %s", directory, true};
}
