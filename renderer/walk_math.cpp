#include "walk_math.h"

namespace walk {

Turn turns[turnCount];
DeviceTable device;

void FillTurns() {
    for (int i = 0; i < turnCount; ++i)
        turns[i] = TurnOf(static_cast<double>(i + turnLow));
}

void FillDevice(int width, int height) {
    if (device.filled && device.width == width && device.height == height)
        return;
    for (int i = 0; i < deviceCount; ++i) {
        device.x[i] = DeviceX(i + deviceLow, width);
        device.y[i] = DeviceY(i + deviceLow, height);
    }
    device.width = width;
    device.height = height;
    device.filled = true;
}

} // namespace walk

int RoundHalfUp(double value) {
    double below = std::floor(value);
    double fraction = value - below;
    return static_cast<int>(fraction >= 0.5 ? std::ceil(value) : below);
}
