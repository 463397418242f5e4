#include "movement.h"

bool MovedFarEnough(ScreenPoint last, ScreenPoint now, std::uint32_t threshold) {
    // 32-bit arithmetic that wraps rather than overflows.
    std::uint32_t dx = static_cast<std::uint32_t>(now.x) - static_cast<std::uint32_t>(last.x);
    std::uint32_t dy = static_cast<std::uint32_t>(now.y) - static_cast<std::uint32_t>(last.y);
    if (static_cast<std::int32_t>(dx) < 0)
        dx = 0u - dx;
    if (static_cast<std::int32_t>(dy) < 0)
        dy = 0u - dy;
    return dx + dy > threshold;
}
