#include "branch.h"

#include <cmath>

#include "animation.h"
#include "gl_calls.h"

namespace {

// Client pixels to device coordinates: exact sum, one division, one subtraction.
double DeviceX(int x) {
    return static_cast<double>(x + x) / screenWidth - 1.0;
}
double DeviceY(int y) {
    return 1.0 - static_cast<double>(y + y) / screenHeight;
}

void DrawPair(double gx0, double gy0, double gx1, double gy1) {
    glBegin(GL_LINES);
    glVertex2d(gx0, gy0);
    glVertex2d(gx1, gy1);
    glEnd();
}

constexpr double tenDigitPi = 3.1415926535; // not the full-precision pi
constexpr double oneOver180 = 0.005555555555555556;

} // namespace

int RoundHalfUp(double value) {
    double below = std::floor(value);
    double fraction = value - below;
    return static_cast<int>(fraction >= 0.5 ? std::ceil(value) : below);
}

void DrawTip(int x0, int y0, int x1, int y1, int fifths) {
    double gx0 = DeviceX(x0), gy0 = DeviceY(y0);
    double gx1 = DeviceX(x1), gy1 = DeviceY(y1);
    double tx = ((gx1 - gx0) * fifths) * 0.2 + gx0;
    double ty = ((gy1 - gy0) * fifths) * 0.2 + gy0;
    DrawPair(gx0, gy0, tx, ty);
}

// Side branches recurse; the stem continues in the loop, so a long stem does
// not nest calls.
void DrawBranch(int x, int y, double length, double angle, int step, int side) {
    for (;;) {
        double r = (tenDigitPi * angle) * oneOver180;
        int x1 = x + RoundHalfUp(length * std::sin(r));
        int y1 = y - RoundHalfUp(length * std::cos(r));
        if (x1 == x && y1 == y)
            return; // rounds to nothing: neither tip nor children

        // A segment grows over five sub-steps; the last one leaves remainder 4.
        for (int k = step % 5 + 1; k < 5; k = step % 5 + 1) {
            if (step == growthTicks) {
                DrawTip(x, y, x1, y1, k);
                return;
            }
            ++step;
        }
        DrawPair(DeviceX(x), DeviceY(y), DeviceX(x1), DeviceY(y1));
        if (step == growthTicks)
            return;

        // Branch points come from the rounded segment, not from its length.
        int dx = x1 - x, dy = y1 - y;
        int farX = x + RoundHalfUp(dx * 0.8), farY = y + RoundHalfUp(dy * 0.8);
        int nearX = x + RoundHalfUp(dx * 0.4), nearY = y + RoundHalfUp(dy * 0.4);
        if (side == 0) {
            DrawBranch(farX, farY, length * 0.3333333333333333, angle - 55, step + 1, 1);
            DrawBranch(nearX, nearY, length * 0.4, angle + 45, step + 1, 0);
            angle = angle - 5;
        } else {
            DrawBranch(farX, farY, length * 0.3333333333333333, angle + 55, step + 1, 0);
            DrawBranch(nearX, nearY, length * 0.4, angle - 45, step + 1, 1);
            angle = angle + 5;
            side = 1;
        }
        ++step;
        x = x1;
        y = y1;
        length = length * 0.8125;
    }
}
