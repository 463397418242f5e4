#include "buffer_scale.h"

#include <algorithm>

namespace {

// Rounded half away from zero, as the fractional-scale protocol has it for
// a toplevel's buffer, and never below one pixel.
int Scaled(int size, std::uint32_t fraction) {
    long long pixels = (static_cast<long long>(size) * fraction + 60) / 120;
    return static_cast<int>(std::clamp(pixels, 1LL, 1LL << 30));
}

} // namespace

BufferSize PixelsFor(int width, int height, int whole, std::uint32_t fraction) {
    if (fraction > 0 && fraction % 120 != 0)
        return {Scaled(width, fraction), Scaled(height, fraction), 1, true};
    int scale = fraction > 0 ? static_cast<int>(std::min(fraction / 120, 16u)) : std::max(whole, 1);
    // The buffer's size a multiple of its scale, or the compositor may refuse it.
    return {width * scale, height * scale, scale, false};
}
