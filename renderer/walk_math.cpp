#include "walk_math.h"

namespace walk {

Turn turns[turnCount];
short alongFar[alongCount], alongNear[alongCount];
DeviceTable device;

void FillTables() {
    for (int i = 0; i < turnCount; ++i)
        turns[i] = TurnOf(static_cast<double>(i + turnLow));
    for (int i = 0; i < alongCount; ++i) {
        alongFar[i] = static_cast<short>(Round((i + alongLow) * 0.8));
        alongNear[i] = static_cast<short>(Round((i + alongLow) * 0.4));
    }
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
