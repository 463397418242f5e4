// Both figures grown whole, with their pauses, for client sizes of today's
// and yesterday's screens and the settings preview: the tick count and the
// digest of every OpenGL call, as the native build makes them. Every build
// must make the same.
#pragma once

#include <cstdint>

#include "animation.h"

struct WholeFigures {
    int width, height;
    int ticks;
    std::uint64_t calls, digest;
};

inline constexpr WholeFigures wholeFigures[] = {
    {152, 112, 244, 432138, 0x733f62a6aaa28f80},
    {640, 480, 314, 10186546, 0x4a30bc215cd9ab6b},
    {800, 600, 329, 16376980, 0x4430994992512208},
    {1024, 768, 339, 26311716, 0xadaa5398fb0011a6},
    {1280, 1024, 349, 42492536, 0x82de490c14981762},
    {1920, 1080, 359, 72012992, 0x8cc529d993982999},
};

// Runs the renderer from window creation until the second upward figure is
// placed; returns the ticks it took. The caller records the calls.
inline int GrowBothFigures(int width, int height) {
    StartFern(width, height);
    growthTicks = 0;
    int ticks = 0;
    bool leftwardPlaced = false;
    while (!(leftwardPlaced && startAngle == 0.0)) {
        FernTick();
        ++ticks;
        leftwardPlaced |= startAngle == 270.0;
    }
    return ticks;
}
