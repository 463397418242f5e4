// fern-trace WIDTH HEIGHT FIRST_TICK LAST_TICK
//
// Runs the renderer's tick handling for a WIDTH x HEIGHT client from window
// creation through LAST_TICK and prints the OpenGL calls of ticks FIRST_TICK
// to LAST_TICK, one per line. Doubles are printed in the shortest form that
// reads back to the same value.
#include <charconv>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "animation.h"
#include "gl_standin.h"

namespace {

char out[1 << 16];
std::size_t used = 0;

void Flush() {
    std::fwrite(out, 1, used, stdout);
    used = 0;
}

void Text(const char* s) {
    std::size_t n = std::strlen(s);
    if (used + n > sizeof out)
        Flush();
    std::memcpy(out + used, s, n);
    used += n;
}

template <typename T> void Number(T value) {
    if (used + 32 > sizeof out)
        Flush();
    used = std::to_chars(out + used, out + sizeof out, value).ptr - out;
}

bool ParseWhole(const char* text, long long low, long long high, long long& value) {
    const char* end = text + std::strlen(text);
    auto [ptr, ec] = std::from_chars(text, end, value);
    return ec == std::errc() && ptr == end && ptr != text && value >= low && value <= high;
}

void PrintClear(unsigned mask) {
    Text("glClear ");
    Number(mask);
    Text("\n");
}
void PrintColour(unsigned char red, unsigned char green, unsigned char blue) {
    Text("glColor3ub ");
    Number(unsigned{red});
    Text(" ");
    Number(unsigned{green});
    Text(" ");
    Number(unsigned{blue});
    Text("\n");
}
void PrintBegin(unsigned mode) {
    Text("glBegin ");
    Number(mode);
    Text("\n");
}
void PrintVertex(double x, double y) {
    Text("glVertex2d ");
    Number(x);
    Text(" ");
    Number(y);
    Text("\n");
}
void PrintEnd() {
    Text("glEnd\n");
}
void PrintFlush() {
    Text("glFlush\n");
}

} // namespace

int main(int argc, char** argv) {
    long long width, height, first, last;
    if (argc != 5 || !ParseWhole(argv[1], 1, 16384, width) ||
        !ParseWhole(argv[2], 1, 16384, height) || !ParseWhole(argv[3], 0, 2147483647, first) ||
        !ParseWhole(argv[4], 0, 2147483647, last) || first > last) {
        std::fputs("usage: fern-trace WIDTH HEIGHT FIRST_TICK LAST_TICK "
                   "(sizes 1 to 16384, 0 <= FIRST_TICK <= LAST_TICK)\n",
                   stderr);
        return 2;
    }
    StartFern(static_cast<int>(width), static_cast<int>(height));
    growthTicks = 0;
    for (long long tick = 0; tick <= last; ++tick) {
        if (tick == first) // printed from here on
            glSink = {nullptr,     PrintClear, PrintColour, PrintBegin,
                      PrintVertex, PrintEnd,   PrintFlush};
        if (tick >= first) {
            Text("tick ");
            Number(tick);
            Text("\n");
        }
        FernTick();
    }
    Flush();
    return std::fflush(stdout) == 0 ? 0 : 1;
}
