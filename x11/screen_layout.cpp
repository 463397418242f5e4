#include "screen_layout.h"

#include <algorithm>

std::vector<Monitor> OnScreen(const std::vector<Monitor>& monitors, int width, int height) {
    std::vector<Monitor> shown;
    for (const Monitor& m : monitors) {
        // In long long: a server may say anything.
        long long left = std::max(0LL, static_cast<long long>(m.x));
        long long top = std::max(0LL, static_cast<long long>(m.y));
        long long right = std::min(static_cast<long long>(width), 0LL + m.x + m.width);
        long long bottom = std::min(static_cast<long long>(height), 0LL + m.y + m.height);
        if (right > left && bottom > top)
            shown.push_back({static_cast<int>(left), static_cast<int>(top),
                             static_cast<int>(right - left), static_cast<int>(bottom - top),
                             m.primary});
    }
    if (shown.empty())
        shown.push_back({0, 0, std::max(width, 1), std::max(height, 1), true});
    return shown;
}

std::size_t FernMonitor(const std::vector<Monitor>& monitors) {
    auto primary =
        std::find_if(monitors.begin(), monitors.end(), [](const Monitor& m) { return m.primary; });
    return primary != monitors.end() ? static_cast<std::size_t>(primary - monitors.begin()) : 0;
}
