// What the installer does and says, apart from the dialog: the platform calls
// it rests on sit behind a small interface so the outcomes can be tested.
#pragma once

constexpr unsigned directorySize = 256;
constexpr unsigned longestDirectory = 240; // + "\" + "Verdanelle.scr" + zero = 256
constexpr const char sourceName[] = "Verdanelle.scr";

struct InstallSystem {
    // Length without the zero when it fits; the size needed when it does not; 0 on failure.
    virtual unsigned SystemDirectory(char* buffer, unsigned size) = 0;
    virtual bool CopyOver(const char* source, const char* target) = 0; // overwrites
    virtual unsigned LastError() = 0;

  protected:
    ~InstallSystem() = default;
};

// The text for the dialog: `format` with one "%s" filled by `argument`, or
// `format` as it stands when `argument` is null.
struct InstallOutcome {
    const char* format;
    const char* argument;
    bool failed; // the button then reads "Close"
};

// Copies the screen saver into the system directory; `directory` ends up
// holding the target path when one could be built.
InstallOutcome InstallScreenSaver(InstallSystem& system, char (&directory)[directorySize]);
