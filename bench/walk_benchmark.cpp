// walk_benchmark: the shipped DrawBranch against the plain reference walk at
// the last drawn tick of both figures, with OpenGL replaced by a sink that
// only consumes the values. Reports ns per pair; Time is ms per tick. Calls/
// hands the same vertices to the sink with no walk at all: the floor.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "animation.h"
#include "branch.h"
#include "gl_calls.h"
#include "reference_walk.h"

namespace {
long long pairs;
std::vector<double>* captured; // the vertices, while set
} // namespace

extern "C" {
void glViewport(GLint, GLint, GLsizei, GLsizei) {}
void glClear(GLbitfield) {}
void glColor3ub(GLubyte, GLubyte, GLubyte) {}
// Consumed, not combined: a running sum would chain the calls' latencies.
void glBegin(GLenum mode) {
    benchmark::DoNotOptimize(mode);
}
void glVertex2d(GLdouble x, GLdouble y) {
    benchmark::DoNotOptimize(x);
    benchmark::DoNotOptimize(y);
    if (captured) {
        captured->push_back(x);
        captured->push_back(y);
    }
}
void glEnd(void) {
    ++pairs;
}
void glFlush(void) {}
}

namespace {

using Walk = void (*)(int, int, double, double, int, int);

// The figure's last drawn tick: its growth bound is the other dimension's.
void LastTick(int width, int height, bool leftward) {
    StartFern(width, height);
    if (leftward)
        PlaceLeftwardFigure();
    growthTicks = ticksPerLevel * (leftward ? heightLevels : widthLevels);
}

// Pairs per tick, and seconds per pair shown in the time unit's prefix.
void ReportPairs(benchmark::State& state, double perTick) {
    state.counters["pairs"] = perTick;
    state.counters["ns_per_pair"] = benchmark::Counter(
        perTick * state.iterations(), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void Tick(benchmark::State& state, Walk walk, int width, int height, bool leftward) {
    LastTick(width, height, leftward);
    pairs = 0;
    walk(startX, startY, startLength, startAngle, 0, 0); // warm up, count
    long long perTick = pairs;
    for (auto _ : state) {
        walk(startX, startY, startLength, startAngle, 0, 0);
    }
    ReportPairs(state, static_cast<double>(perTick));
}

void Calls(benchmark::State& state, int width, int height, bool leftward) {
    LastTick(width, height, leftward);
    std::vector<double> vertices;
    captured = &vertices;
    DrawBranch(startX, startY, startLength, startAngle, 0, 0);
    captured = nullptr;
    for (auto _ : state) {
        for (std::size_t i = 0; i < vertices.size(); i += 4) {
            glBegin(GL_LINES);
            glVertex2d(vertices[i], vertices[i + 1]);
            glVertex2d(vertices[i + 2], vertices[i + 3]);
            glEnd();
        }
    }
    ReportPairs(state, static_cast<double>(vertices.size() / 4));
}

void Register() {
    const struct {
        const char* name;
        int width, height;
        bool leftward;
    } screens[] = {{"upward/1920x1080", 1920, 1080, false},
                   {"leftward/1920x1080", 1920, 1080, true},
                   {"upward/3840x2160", 3840, 2160, false},
                   {"leftward/3840x2160", 3840, 2160, true}};
    for (const auto& s : screens) {
        for (bool fast : {false, true}) {
            std::string name = std::string(fast ? "DrawBranch/" : "Reference/") + s.name;
            benchmark::RegisterBenchmark(name.c_str(), Tick,
                                         fast ? DrawBranch : ReferenceDrawBranch, s.width, s.height,
                                         s.leftward)
                ->Unit(benchmark::kMillisecond);
        }
        benchmark::RegisterBenchmark((std::string("Calls/") + s.name).c_str(), Calls, s.width,
                                     s.height, s.leftward)
            ->Unit(benchmark::kMillisecond);
    }
}

} // namespace

int main(int argc, char** argv) {
    Register();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
