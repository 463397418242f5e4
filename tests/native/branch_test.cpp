#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "animation.h"
#include "branch.h"
#include "gl_recorder.h"
#include "walk_math.h"

namespace {

// Draws the first (upward) or second (leftward) figure at a given growth.
std::vector<Pair> Draw(int width, int height, bool leftward, int growth) {
    StartFern(width, height);
    if (leftward)
        PlaceLeftwardFigure();
    growthTicks = growth;
    GlRecord& gl = RecordGl();
    DrawBranch(startX, startY, startLength, startAngle, 0, 0);
    EXPECT_FALSE(gl.malformed);
    return gl.pairs;
}

std::size_t CountPairs(int width, int height, bool leftward, int growth) {
    StartFern(width, height);
    if (leftward)
        PlaceLeftwardFigure();
    growthTicks = growth;
    GlRecord& gl = RecordGl(false);
    DrawBranch(startX, startY, startLength, startAngle, 0, 0);
    return gl.pairCount;
}

} // namespace

TEST(RoundHalfUp, HalvesGoUp) {
    const struct {
        double value;
        int rounded;
    } table[] = {{2.5, 3},  {-2.5, -2}, {-0.5, 0},   {0.5, 1},       {-1.5, -1},
                 {0.49, 0}, {0.0, 0},   {-0.49, 0},  {-102.4, -102}, {-51.2, -51},
                 {7.0, 7},  {-7.0, -7}, {3.4999, 3}, {-3.5001, -4}};
    for (const auto& row : table)
        EXPECT_EQ(RoundHalfUp(row.value), row.rounded) << row.value;
}

// The looked-up device coordinates are the quotients themselves, in and out of
// the table, and follow a change of client size.
TEST(DeviceCoordinates, TableHoldsTheQuotients) {
    using namespace walk;
    const int sizes[][2] = {{640, 480}, {640, 479}, {641, 479}, {1, 1}, {3840, 2160}, {640, 480}};
    const int columns[] = {
        deviceLow - 1,          deviceLow, -1, 0, 1, 479, 640, 3839, deviceLow + deviceCount - 1,
        deviceLow + deviceCount};
    for (const auto& size : sizes) {
        FillDevice(size[0], size[1]);
        double width = size[0], height = size[1];
        for (int at : columns) {
            double x = DeviceXOf(at, width), y = DeviceYOf(at, height);
            double plainX = DeviceX(at, width), plainY = DeviceY(at, height);
            EXPECT_EQ(std::memcmp(&x, &plainX, sizeof x), 0) << size[0] << " at " << at;
            EXPECT_EQ(std::memcmp(&y, &plainY, sizeof y), 0) << size[1] << " at " << at;
        }
    }
}

TEST(DrawBranch, RootGrowsInFifths) {
    const struct {
        int growth;
        double tipY;
    } table[] = {{0, -0.92}, {3, -0.68}, {4, -0.6000000000000001}};
    for (const auto& row : table) {
        std::vector<Pair> pairs = Draw(640, 480, false, row.growth);
        ASSERT_EQ(pairs.size(), 1u) << row.growth;
        EXPECT_EQ(pairs[0], (Pair{0.0, -1.0, 0.0, row.tipY})) << row.growth;
    }
}

// Far branch, near branch, then the stem; each whole before its children.
TEST(DrawBranch, Upward640x480AtTick10) {
    const Pair expected[] = {
        {0.0, -1.0, 0.0, -0.6000000000000001},
        {0.0, -0.6791666666666667, -0.08125000000000004, -0.6041666666666667},
        {-0.06562500000000004, -0.6208333333333333, -0.06562500000000004, -0.6116666666666667},
        {-0.03125, -0.6499999999999999, -0.03937500000000001, -0.6516666666666666},
        {-0.08125000000000004, -0.6041666666666667, -0.09375000000000004, -0.5900000000000001},
        {0.0, -0.8416666666666666, 0.08437500000000009, -0.7291666666666667},
        {0.06875000000000009, -0.75, 0.06750000000000007, -0.7391666666666666},
        {0.034375000000000044, -0.7958333333333334, 0.043750000000000046, -0.7958333333333334},
        {0.08437500000000009, -0.7291666666666667, 0.09687500000000009, -0.7091666666666667},
        {0.0, -0.6000000000000001, -0.021874999999999978, -0.2749999999999999},
        {-0.018750000000000044, -0.34166666666666656, -0.03312500000000003, -0.33083333333333326},
        {-0.009375000000000022, -0.47083333333333344, 0.003125000000000001, -0.4508333333333334},
        {-0.021874999999999978, -0.2749999999999999, -0.028749999999999987, -0.22333333333333324},
    };
    std::vector<Pair> pairs = Draw(640, 480, false, 10);
    ASSERT_EQ(pairs.size(), std::size(expected));
    for (std::size_t i = 0; i < pairs.size(); ++i)
        EXPECT_EQ(pairs[i], expected[i]) << "pair " << i + 1;
}

TEST(DrawBranch, Leftward640x480) {
    auto device = [](int x, int y) {
        return std::pair{(x + x) / 640.0 - 1.0, 1.0 - (y + y) / 480.0};
    };
    std::vector<Pair> pairs = Draw(640, 480, true, 5);
    ASSERT_EQ(pairs.size(), 4u);
    EXPECT_EQ(pairs[0], (Pair{1.0, 0.0, device(512, 240).first, 0.0}));
    const int tipStarts[][2] = {{538, 240}, {589, 240}, {512, 240}};
    for (int i = 0; i < 3; ++i) {
        auto [gx, gy] = device(tipStarts[i][0], tipStarts[i][1]);
        EXPECT_EQ(pairs[i + 1].x0, gx) << i;
        EXPECT_EQ(pairs[i + 1].y0, gy) << i;
    }
    // One fifth of (538, 240)-(514, 275), then three fifths at tick 7.
    auto [ex, ey] = device(514, 275);
    auto [sx, sy] = device(538, 240);
    EXPECT_EQ(pairs[1].x1, ((ex - sx) * 1) * 0.2 + sx);
    EXPECT_EQ(pairs[1].y1, ((ey - sy) * 1) * 0.2 + sy);
    pairs = Draw(640, 480, true, 7);
    ASSERT_EQ(pairs.size(), 4u);
    EXPECT_EQ(pairs[1].x1, 0.63625);
    EXPECT_EQ(pairs[1].y1, -0.08749999999999997);
}

// Segment counts of the complete figures and the first tick they are complete.
TEST(DrawBranch, CompleteFigures) {
    const struct {
        int width, height;
        bool leftward;
        std::size_t pairs;
        int completeFrom;
    } table[] = {
        {640, 480, false, 16101, 124},   {640, 480, true, 27432, 129},
        {800, 600, false, 23665, 129},   {800, 600, true, 40063, 134},
        {1024, 768, false, 37306, 134},  {1024, 768, true, 61421, 139},
        {1280, 1024, false, 61421, 139}, {1280, 1024, true, 91932, 149},
    };
    for (const auto& c : table) {
        std::vector<Pair> complete = Draw(c.width, c.height, c.leftward, c.completeFrom);
        EXPECT_EQ(complete.size(), c.pairs) << c.width << "x" << c.height << c.leftward;
        EXPECT_EQ(Draw(c.width, c.height, c.leftward, c.completeFrom + 60), complete);
        EXPECT_NE(Draw(c.width, c.height, c.leftward, c.completeFrom - 1), complete);
    }
}

// At tick 120 the figure lacks only one tip's worth of growth.
TEST(DrawBranch, OneTipLeftAtTick120) {
    std::vector<Pair> late = Draw(640, 480, false, 120);
    std::vector<Pair> complete = Draw(640, 480, false, 124);
    ASSERT_EQ(late.size(), 16101u);
    int differing = 0;
    for (std::size_t i = 0; i < late.size(); ++i)
        differing += !(late[i] == complete[i]);
    EXPECT_EQ(differing, 1);
}

TEST(DrawBranch, SegmentsThatRoundToNothing) {
    StartFern(640, 480);
    for (int growth : {0, 4, 50}) {
        growthTicks = growth;
        GlRecord& gl = RecordGl();
        DrawBranch(320, 480, 0.49, 0.0, 0, 0);
        EXPECT_EQ(gl.pairCount, 0u) << growth;
    }
    const struct {
        int growth;
        std::size_t pairs;
        bool whole;
    } table[] = {{0, 1, false}, {3, 1, false}, {4, 1, true}, {5, 1, true}, {90, 1, true}};
    for (const auto& row : table) {
        growthTicks = row.growth;
        GlRecord& gl = RecordGl();
        DrawBranch(320, 480, 0.5, 0.0, 0, 0);
        ASSERT_EQ(gl.pairCount, row.pairs) << row.growth;
        // One pixel up, whole or a fraction of it.
        double end = 1.0 - 958.0 / 480.0;
        EXPECT_EQ(gl.pairs[0].y1 == end, row.whole) << row.growth;
    }
}

TEST(DrawBranch, AnyNonZeroSideActsAsOne) {
    StartFern(800, 600);
    for (int growth : {7, 23, 60}) {
        growthTicks = growth;
        RecordGl();
        DrawBranch(400, 300, 90.0, 30.0, 0, 1);
        std::vector<Pair> one = CurrentGlRecord().pairs;
        RecordGl();
        DrawBranch(400, 300, 90.0, 30.0, 0, 2);
        EXPECT_EQ(CurrentGlRecord().pairs, one) << growth;
        RecordGl();
        DrawBranch(400, 300, 90.0, 30.0, 0, 0);
        EXPECT_NE(CurrentGlRecord().pairs, one) << growth;
    }
}

TEST(DrawBranch, SameTickTwiceDrawsTheSame) {
    EXPECT_EQ(Draw(1024, 768, true, 77), Draw(1024, 768, true, 77));
    EXPECT_EQ(CountPairs(1024, 768, true, 77), Draw(1024, 768, true, 77).size());
}
