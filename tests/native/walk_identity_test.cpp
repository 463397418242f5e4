// The shipped walk against the plain reference walk: the same pairs, in the
// same order, bit for bit.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "animation.h"
#include "branch.h"
#include "gl_recorder.h"
#include "reference_walk.h"

namespace {

using Walk = void (*)(int, int, double, double, int, int);

struct Call {
    int x, y;
    double length, angle;
    int step, side;
};

std::vector<Pair> Record(Walk walk, const Call& c) {
    GlRecord& gl = RecordGl();
    walk(c.x, c.y, c.length, c.angle, c.step, c.side);
    EXPECT_FALSE(gl.malformed);
    return gl.pairs;
}

// Compares the bits, so that 0.0 and -0.0 differ.
void ExpectSamePairs(const Call& c, const std::string& what) {
    std::vector<Pair> expected = Record(ReferenceDrawBranch, c);
    std::vector<Pair> actual = Record(DrawBranch, c);
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (std::size_t i = 0; i < actual.size(); ++i)
        ASSERT_EQ(std::memcmp(&actual[i], &expected[i], sizeof(Pair)), 0)
            << what << ", pair " << i << ": (" << actual[i].x0 << ", " << actual[i].y0 << ", "
            << actual[i].x1 << ", " << actual[i].y1 << ")";
}

Call Root() {
    return Call{startX, startY, startLength, startAngle, 0, 0};
}

} // namespace

TEST(WalkIdentity, BothFiguresAtEverySizeAndGrowth) {
    const struct {
        int width, height;
    } sizes[] = {{1, 1},       {7, 5},     {160, 120}, {641, 479},  {1024, 768},
                 {1919, 1081}, {4000, 60}, {60, 4000}, {3840, 2160}};
    for (const auto& size : sizes) {
        for (bool leftward : {false, true}) {
            StartFern(size.width, size.height);
            if (leftward)
                PlaceLeftwardFigure();
            int last = ticksPerLevel * (leftward ? heightLevels : widthLevels);
            for (int growth : {0, 1, 4, 5, 23, 64, last / 2, last - 1, last, last + 40}) {
                growthTicks = growth;
                ExpectSamePairs(Root(), std::to_string(size.width) + "x" +
                                            std::to_string(size.height) +
                                            (leftward ? " leftward" : " upward") + " at " +
                                            std::to_string(growth));
            }
        }
    }
}

// Records made in one call must not leak into the next, whatever changed.
TEST(WalkIdentity, CallsInAnyOrder) {
    const struct {
        int width, height, growth;
    } calls[] = {{1280, 1024, 139}, {1280, 1024, 60},  {1280, 1024, 139},
                 {1281, 1024, 139}, {1280, 1023, 139}, {800, 600, 500}};
    for (const auto& call : calls) {
        StartFern(call.width, call.height);
        growthTicks = call.growth;
        ExpectSamePairs(Root(), std::to_string(call.width) + "x" + std::to_string(call.height));
    }
}

// Arguments no figure passes: the walk must still draw what the reference draws.
TEST(WalkIdentity, AnyArguments) {
    StartFern(640, 480);
    const Call calls[] = {
        {320, 480, 96.0, 0.0, 0, 2},  // any side but 0 acts as 1
        {320, 240, 96.0, 12.5, 0, 0}, // not a whole degree
        {320, 240, 96.0, -0.0, 0, 0},      {320, 240, 96.0, 100000.0, 0, 1},
        {320, 240, 96.0, 1e12, 0, 0},      {320, 240, -96.0, 30.0, 0, 0},
        {320, 240, 96.0, 270.0, 3, 0}, // starting inside a segment's growth
        {320, 240, 96.0, 90.0, 7, 1},      {320, 240, 96.0, 45.0, -3, 0},
        {320, 240, 96.0, 45.0, -12, 1},    {320, 240, 0.49, 0.0, 0, 0},
        {320, 240, 0.5, 0.0, 0, 0},        {320, 240, 0.7, 45.0, 0, 0},
        {-5000, 9000, 300.0, 135.0, 0, 0}, // far outside the client
    };
    for (int growth : {0, 2, 9, 40, 200}) {
        growthTicks = growth;
        for (const Call& c : calls)
            ExpectSamePairs(c, "length " + std::to_string(c.length) + " angle " +
                                   std::to_string(c.angle) + " step " + std::to_string(c.step) +
                                   " at " + std::to_string(growth));
    }
    // Side branches just under the recorded length, at angles all round, whose
    // records nest as deeply and reach as far as any can.
    growthTicks = 400;
    for (int angle = -180; angle < 180; angle += 15)
        ExpectSamePairs(Call{320, 240, 39.99, static_cast<double>(angle), 0, angle & 1},
                        "length 39.99 angle " + std::to_string(angle));
    // Roots whose subtrees meet the same side branch twice, its length differing
    // in the last bits, once just under a half and once not: only the one
    // length's record may draw it.
    const Call nearLengths[] = {{320, 240, 102.24852071005917, -55.0, 0, 1},
                                {320, 240, 105.76923076923073, -130.0, 0, 0},
                                {320, 240, 108.87573964497038, 10.0, 0, 0}};
    for (const Call& c : nearLengths)
        ExpectSamePairs(c, "length " + std::to_string(c.length));
    // Longer than any segment a figure has, grown a few levels.
    for (int growth : {9, 30}) {
        growthTicks = growth;
        ExpectSamePairs(Call{320, 240, 3000.0, 33.0, 0, 1}, "length 3000");
    }
}
