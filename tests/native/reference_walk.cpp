#include "reference_walk.h"

#include <cmath>

#include "animation.h"
#include "gl_calls.h"

// Self-contained on purpose: a fault in the shipped helpers must not hide here.
namespace {

int Round(double value) {
    double below = std::floor(value);
    return static_cast<int>(value - below >= 0.5 ? std::ceil(value) : below);
}

double DeviceX(int x) {
    return static_cast<double>(x + x) / screenWidth - 1.0;
}
double DeviceY(int y) {
    return 1.0 - static_cast<double>(y + y) / screenHeight;
}

void Pair(double gx0, double gy0, double gx1, double gy1) {
    glBegin(GL_LINES);
    glVertex2d(gx0, gy0);
    glVertex2d(gx1, gy1);
    glEnd();
}

void Tip(int x0, int y0, int x1, int y1, int fifths) {
    double gx0 = DeviceX(x0), gy0 = DeviceY(y0);
    double gx1 = DeviceX(x1), gy1 = DeviceY(y1);
    Pair(gx0, gy0, ((gx1 - gx0) * fifths) * 0.2 + gx0, ((gy1 - gy0) * fifths) * 0.2 + gy0);
}

} // namespace

void ReferenceDrawBranch(int x, int y, double length, double angle, int step, int side) {
    for (;;) {
        double r = (3.1415926535 * angle) * 0.005555555555555556;
        int x1 = x + Round(length * std::sin(r));
        int y1 = y - Round(length * std::cos(r));
        if (x1 == x && y1 == y)
            return;
        int k = step % 5 + 1;
        while (k < 5) {
            if (step == growthTicks) {
                Tip(x, y, x1, y1, k);
                return;
            }
            ++step;
            k = step % 5 + 1;
        }
        Pair(DeviceX(x), DeviceY(y), DeviceX(x1), DeviceY(y1));
        if (step == growthTicks)
            return;
        int dx = x1 - x, dy = y1 - y;
        int farX = x + Round(dx * 0.8), farY = y + Round(dy * 0.8);
        int nearX = x + Round(dx * 0.4), nearY = y + Round(dy * 0.4);
        if (side == 0) {
            ReferenceDrawBranch(farX, farY, length * 0.3333333333333333, angle - 55, step + 1, 1);
            ReferenceDrawBranch(nearX, nearY, length * 0.4, angle + 45, step + 1, 0);
        } else {
            ReferenceDrawBranch(farX, farY, length * 0.3333333333333333, angle + 55, step + 1, 0);
            ReferenceDrawBranch(nearX, nearY, length * 0.4, angle - 45, step + 1, 1);
        }
        step = step + 1;
        x = x1;
        y = y1;
        length = length * 0.8125;
        angle = side == 0 ? angle - 5 : angle + 5;
        side = side == 0 ? 0 : 1;
    }
}
