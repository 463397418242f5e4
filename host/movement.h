// How far the pointer may move before it ends the saver: one rule for every
// host, Windows, X11 and Wayland alike.
#pragma once

#include <cstdint>

struct ScreenPoint {
    std::int32_t x, y;
};

constexpr std::uint32_t movementThreshold = 4; // pixels, horizontal plus vertical

// Horizontal plus vertical distance beyond the threshold, compared unsigned.
bool MovedFarEnough(ScreenPoint last, ScreenPoint now, std::uint32_t threshold);
