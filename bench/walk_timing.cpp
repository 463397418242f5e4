// walk_timing: the walk's time per pair at the last drawn tick of both
// figures, with OpenGL replaced by a sink; built natively and as WebAssembly
// (run under node) so bench/web_rate.sh can set the two side by side.
#include <chrono>
#include <cstdio>

#include "animation.h"
#include "branch.h"
#include "gl_calls.h"

namespace {
long long pairs;
volatile double sink; // consumed, so the walk is not optimised away
} // namespace

extern "C" {
void glViewport(GLint, GLint, GLsizei, GLsizei) {}
void glClear(GLbitfield) {}
void glColor3ub(GLubyte, GLubyte, GLubyte) {}
void glBegin(GLenum) {}
void glVertex2d(GLdouble x, GLdouble y) {
    sink = x;
    sink = y;
}
void glEnd(void) {
    ++pairs;
}
void glFlush(void) {}
}

int main() {
    const struct {
        int width, height;
        bool leftward;
    } cases[] = {{1920, 1080, false}, {1920, 1080, true}, {3840, 2160, false}, {3840, 2160, true}};
    for (const auto& c : cases) {
        StartFern(c.width, c.height);
        if (c.leftward)
            PlaceLeftwardFigure();
        growthTicks = ticksPerLevel * (c.leftward ? heightLevels : widthLevels);
        pairs = 0;
        DrawBranch(startX, startY, startLength, startAngle, 0, 0); // warm up, count
        long long perTick = pairs;
        // The fastest of a few rounds: the machine is shared.
        double best = 1e30;
        for (int round = 0; round < 15; ++round) {
            auto start = std::chrono::steady_clock::now();
            DrawBranch(startX, startY, startLength, startAngle, 0, 0);
            std::chrono::duration<double, std::nano> took =
                std::chrono::steady_clock::now() - start;
            best = took.count() < best ? took.count() : best;
        }
        std::printf("%s %dx%d: %lld pairs, %.2f ms a tick, %.2f ns a pair\n",
                    c.leftward ? "leftward" : "upward", c.width, c.height, perTick, best / 1e6,
                    best / static_cast<double>(perTick));
    }
}
