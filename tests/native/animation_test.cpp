#include <gtest/gtest.h>

#include <vector>

#include "animation.h"
#include "gl_recorder.h"
#include "whole_figures.h"

TEST(LevelCount, ByClientDimension) {
    const int table[][2] = {
        {0, 0},     {5, 0},     {9, 0},     {10, 4},    {14, 4},    {15, 6},    {19, 6},
        {112, 15},  {152, 17},  {480, 22},  {600, 24},  {640, 24},  {768, 25},  {800, 25},
        {1024, 26}, {1080, 26}, {1200, 27}, {1280, 27}, {1600, 28}, {1920, 29}, {1023, 26},
    };
    for (const auto& row : table)
        EXPECT_EQ(LevelCount(row[0]), row[1]) << row[0];
}

namespace {

// What one tick did, and the state it left.
struct Tick {
    bool drew, cleared;
    int growthBefore;
    Colour colour;
    int startX, startY, pauseTicks;
    double startLength, startAngle;
};

std::vector<Tick> RunTicks(int width, int height, int ticks) {
    StartFern(width, height);
    growthTicks = 0;
    std::vector<Tick> log;
    for (int i = 0; i < ticks; ++i) {
        GlRecord& gl = RecordGl(false);
        int before = growthTicks;
        FernTick();
        log.push_back(Tick{gl.flushes == 1, gl.clears == 1, before,
                           Colour{gl.red, gl.green, gl.blue}, startX, startY, pauseTicks,
                           startLength, startAngle});
        EXPECT_FALSE(gl.malformed);
        EXPECT_LE(gl.clears, 1);
        if (gl.clears == 1) {
            EXPECT_EQ(gl.lastClearMask, 0x4000u);
        }
    }
    return log;
}

// Lengths of the runs of drawn ticks, figure by figure.
std::vector<int> DrawnRuns(const std::vector<Tick>& log) {
    std::vector<int> runs;
    bool inRun = false;
    for (const Tick& t : log) {
        if (t.drew && !inRun)
            runs.push_back(0);
        if (t.drew)
            ++runs.back();
        inRun = t.drew;
    }
    return runs;
}

} // namespace

TEST(FernTick, Sequence1024x768) {
    std::vector<Tick> log = RunTicks(1024, 768, 340);
    EXPECT_EQ(heightLevels, 25);
    EXPECT_EQ(widthLevels, 26);

    for (int i = 0; i <= 130; ++i) {
        ASSERT_TRUE(log[i].drew) << i;
        EXPECT_EQ(log[i].cleared, i == 0) << i;
        EXPECT_EQ(log[i].growthBefore, i);
        EXPECT_EQ(log[i].startX, 512);
        EXPECT_EQ(log[i].startY, 768);
        EXPECT_EQ(log[i].startLength, 153.0);
        EXPECT_EQ(log[i].startAngle, 0.0);
    }
    EXPECT_EQ(log[0].colour.red, 0);
    EXPECT_EQ(log[0].colour.green, 255);
    EXPECT_EQ(log[130].colour.red, 130);

    // Tick 131 ends the upward figure without drawing and places the leftward one.
    EXPECT_FALSE(log[131].drew);
    EXPECT_EQ(log[131].startX, 1024);
    EXPECT_EQ(log[131].startY, 384);
    EXPECT_EQ(log[131].startLength, 204.0);
    EXPECT_EQ(log[131].startAngle, 270.0);
    EXPECT_EQ(log[131].pauseTicks, -80);
    for (int i = 132; i <= 211; ++i)
        EXPECT_FALSE(log[i].drew) << i;
    EXPECT_EQ(log[211].pauseTicks, 0);

    // The colour runs on across the pause.
    EXPECT_TRUE(log[212].cleared);
    EXPECT_EQ(log[212].growthBefore, 0);
    EXPECT_EQ(log[212].colour.red, 131);
    EXPECT_EQ(log[212].colour.green, 255);
    for (int i = 212; i <= 337; ++i) {
        ASSERT_TRUE(log[i].drew) << i;
        EXPECT_EQ(log[i].cleared, i == 212) << i;
    }
    EXPECT_EQ(log[337].growthBefore, 125);
    EXPECT_FALSE(log[338].drew);
    EXPECT_EQ(log[338].startX, 512);
    EXPECT_EQ(log[338].startY, 768);
    EXPECT_EQ(log[338].startAngle, 0.0);
    EXPECT_EQ(log[338].startLength, 153.0);
}

// Drawn ticks per figure: upward, leftward, upward again; 81 still ticks between.
TEST(FernTick, FigureLengthsBySize) {
    struct Case {
        int width, height, upward, leftward;
    };
    const Case table[] = {
        {640, 480, 121, 111}, {1920, 1080, 146, 131}, {152, 112, 86, 76},
        {8, 100, 1, 76},      {100, 8, 76, 1},        {0, 0, 1, 1},
    };
    for (const Case& c : table) {
        int total = c.upward + 82 + c.leftward + 81; // up to the third figure's first tick
        std::vector<Tick> log = RunTicks(c.width, c.height, total);
        std::vector<int> runs = DrawnRuns(log);
        ASSERT_EQ(runs.size(), 3u) << c.width << "x" << c.height;
        EXPECT_EQ(runs[0], c.upward) << c.width << "x" << c.height;
        EXPECT_EQ(runs[1], c.leftward) << c.width << "x" << c.height;
        EXPECT_EQ(runs[2], 1);
        EXPECT_TRUE(log[c.upward + 81].drew);
        EXPECT_FALSE(log[c.upward + 80].drew);
    }
}

TEST(FernTick, PausingTickDrawsNothingAndKeepsState) {
    RunTicks(1024, 768, 132); // ends the first figure: pausing now
    Colour before = drawColour;
    int growth = growthTicks;
    GlRecord& gl = RecordGl();
    FernTick();
    EXPECT_EQ(gl.flushes + gl.clears + gl.colours, 0);
    EXPECT_EQ(gl.pairCount, 0u);
    EXPECT_EQ(pauseTicks, -79);
    EXPECT_EQ(growthTicks, growth);
    EXPECT_EQ(drawColour.red, before.red);
}

// The table every build is held to is the native build's own.
TEST(WholeFigures, DigestsOfTheNativeBuild) {
    for (const WholeFigures& want : wholeFigures) {
        GlRecord& gl = RecordGl(false);
        int ticks = GrowBothFigures(want.width, want.height);
        EXPECT_EQ(ticks, want.ticks) << want.width << " x " << want.height;
        EXPECT_EQ(gl.digest.calls, want.calls) << want.width << " x " << want.height;
        EXPECT_EQ(gl.digest.value, want.digest) << want.width << " x " << want.height;
    }
}
