// A Wayland window's size is in the compositor's units; its buffer is in
// the output's own pixels, handed over at a whole scale or through a
// viewport at a fractional one.
#pragma once

#include <cstdint>

struct BufferSize {
    int width, height; // pixels
    int scale;         // wl_surface's buffer scale
    bool viewport;     // a viewport maps the buffer onto the window's size
};

// `fraction` is the compositor's preferred scale in 120ths, 0 where it says
// none or there is no viewporter; `whole` its preferred buffer scale, else
// its output's.
BufferSize PixelsFor(int width, int height, int whole, std::uint32_t fraction);
