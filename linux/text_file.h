// Text files of the user's, read whole and replaced whole: the new file is
// written beside the old one and renamed over it, so a crash leaves the one
// or the other, never half of one.
#pragma once

#include <sys/types.h>

#include <string>

// Prints "verdanelle: WHY" on stderr and returns 1.
int Fail(const std::string& why);
// WHAT: the reason errno gives.
std::string Why(const std::string& what);

// Reads PATH whole; false with errno set when it cannot.
bool ReadFile(const std::string& path, std::string& text);

// TEXT into a new file beside PATH, with MODE, OWNER and GROUP, then renamed
// over PATH: 0, or 1 with why on stderr, PATH unchanged.
int Replace(const std::string& path, const std::string& text, mode_t mode, uid_t owner,
            gid_t group);
