// The monitors an X screen shows, as the hack covers them: each one dark,
// the fern on one.
#pragma once

#include <cstddef>
#include <vector>

struct Monitor {
    int x, y, width, height;
    bool primary = false;
};

// The monitors cut to the screen, those left empty dropped; the whole
// screen where none is left.
std::vector<Monitor> OnScreen(const std::vector<Monitor>& monitors, int width, int height);

// Where the fern grows: the primary monitor, else the first.
std::size_t FernMonitor(const std::vector<Monitor>& monitors);
