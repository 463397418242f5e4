// The walk's arithmetic, each piece giving exactly the value of the plain
// formula: end points from sines of whole degrees computed once, rounding
// without library calls, device coordinates computed once per client size,
// and a segment's growth.
#pragma once

#include <cmath>

int RoundHalfUp(double value);

namespace walk {

constexpr double tenDigitPi = 3.1415926535; // not the full-precision pi
constexpr double oneOver180 = 0.005555555555555556;

struct Turn {
    double sin, cos;
};

inline Turn TurnOf(double angle) {
    double r = (tenDigitPi * angle) * oneOver180;
    return Turn{std::sin(r), std::cos(r)};
}

// The figures start at 0 or 270 degrees and turn by whole degrees, so their
// angles are whole and stay inside this range.
constexpr int turnLow = -2048;
constexpr int turnCount = 4096;
extern Turn turns[turnCount];

void FillTables(); // once, before the first TurnOf(int), FarAlong or NearAlong

inline Turn TurnOf(int angle) {
    unsigned i = static_cast<unsigned>(angle - turnLow);
    return i < turnCount ? turns[i] : TurnOf(static_cast<double>(angle));
}

// The largest whole number not above `value`, for |value| below 2^30.
inline int Floor(double value) {
#if defined(__i386__) && !defined(__SSE2_MATH__)
    // The x87 unit converts to the nearest (its rounding mode as the runtime
    // sets it) without the two control-word loads truncation takes.
    int nearest;
    __asm__("fistpl %0" : "=m"(nearest) : "t"(value) : "st");
#else
    int nearest = static_cast<int>(value); // toward zero
#endif
    return nearest - (static_cast<double>(nearest) > value);
}

// RoundHalfUp without the library's floor and ceil and without branches on
// the value, whose sign and fraction no predictor can guess; where an int
// cannot hold the result, the library decides. Also lowers `slack` to the
// value's distance from the nearest half, where the rounding would change.
inline int Round(double value, double& slack) {
    if (std::fabs(value) < 1073741824.0) {
        int below = Floor(value);
        double fraction = value - static_cast<double>(below); // exact
        double distance = std::fabs(fraction - 0.5);
        slack = distance < slack ? distance : slack;
        return below + (fraction >= 0.5);
    }
    slack = 0.0;
    return RoundHalfUp(value);
}

inline int Round(double value) {
    double unused = 1.0; // the compiler drops its arithmetic
    return Round(value, unused);
}

// A segment's branch points lie Round(d * 0.8) and Round(d * 0.4) pixels along
// its d pixels in each direction; for the lengths segments have, looked up.
constexpr int alongLow = -1024;
constexpr int alongCount = 2048;
extern short alongFar[alongCount], alongNear[alongCount];

inline int FarAlong(int d) {
    unsigned i = static_cast<unsigned>(d - alongLow);
    return i < alongCount ? alongFar[i] : Round(d * 0.8);
}
inline int NearAlong(int d) {
    unsigned i = static_cast<unsigned>(d - alongLow);
    return i < alongCount ? alongNear[i] : Round(d * 0.4);
}

// No sine or cosine exceeds 1, so a segment shorter than half a pixel rounds
// to nothing in every direction, with no arithmetic needed to know it.
inline bool TooShort(double length) {
    return std::fabs(length) < 0.5;
}
inline bool TooShort(double length, double& slack) {
    double distance = std::fabs(std::fabs(length) - 0.5);
    slack = distance < slack ? distance : slack;
    return std::fabs(length) < 0.5;
}

// Client pixels to device coordinates: exact sum, one division, one subtraction.
inline double DeviceX(int x, double width) {
    return static_cast<double>(x + x) / width - 1.0;
}
inline double DeviceY(int y, double height) {
    return 1.0 - static_cast<double>(y + y) / height;
}

// The same quotients for every column and row a figure on today's screens
// reaches, computed once for the client size and looked up.
constexpr int deviceLow = -2048;
constexpr int deviceCount = 12288;
struct DeviceTable {
    int width, height; // what it holds, once filled
    bool filled;
    double x[deviceCount], y[deviceCount];
};
extern DeviceTable device;

void FillDevice(int width, int height); // unless it already holds that size

inline double DeviceXOf(int x, double width) {
    unsigned i = static_cast<unsigned>(x - deviceLow);
    return i < deviceCount ? device.x[i] : DeviceX(x, width);
}
inline double DeviceYOf(int y, double height) {
    unsigned i = static_cast<unsigned>(y - deviceLow);
    return i < deviceCount ? device.y[i] : DeviceY(y, height);
}

inline double TipOf(double g0, double g1, int fifths) {
    return ((g1 - g0) * fifths) * 0.2 + g0;
}

// A segment's sub-steps run from `step` to the one that leaves remainder 4.
// Moves `step` there and returns 5 when the segment is whole at `growth`, or
// the fifths shown when `growth` falls before.
inline int ShownFifths(int& step, int growth) {
    if (step >= 0) {
        int before = step % 5;
        int last = step + 4 - before;
        if (growth >= step && growth < last)
            return growth - step + before + 1;
        step = last;
        return 5;
    }
    int k = step % 5 + 1; // a negative start, which no figure has
    while (k < 5) {
        if (step == growth)
            return k;
        ++step;
        k = step % 5 + 1;
    }
    return 5;
}

// The same for a segment whose growth starts at `step`, as that of every
// segment after a walk's first does.
inline int ShownFifthsFromStart(int& step, int growth) {
    unsigned grown = static_cast<unsigned>(growth) - static_cast<unsigned>(step);
    if (grown < 4)
        return static_cast<int>(grown) + 1;
    step += 4;
    return 5;
}

} // namespace walk
