// Reading the command line the desktop starts the screen saver with.
#pragma once

#include <cstdint>

// Steps over one character; a double-byte character is taken whole.
using NextChar = const char* (*)(const char* position);

// The command tail: the line without the program name and the separators after it.
const char* CutProgramName(const char* line, NextChar next);

// The decimal number at the very start of the text, modulo 2^32.
std::uint32_t ParseDecimal(const char* text);

enum class SaverMode { AboutBox, Configure, PasswordChange, Preview, FullScreen, Refused };

struct ModeChoice {
    SaverMode mode;
    const char* rest;     // Preview, PasswordChange: where the window number starts
    std::uint32_t parent; // Configure: the window after "c:", else 0
};

// The one switch letter after any blanks, dashes and slashes decides.
ModeChoice ChooseMode(const char* tail, bool onWin9x);
