#include <gtest/gtest.h>

#include <set>

#include "animation.h"
#include "colour.h"

namespace {

Colour After(int calls) {
    drawColour = Colour{0, 255, 0};
    for (int i = 0; i < calls; ++i)
        StepColour();
    return drawColour;
}

struct Expected {
    int calls, red, green, blue;
};

} // namespace

TEST(StepColour, ColourAfterCallsFromGreen) {
    const Expected table[] = {
        {0, 0, 255, 0},      {1, 1, 255, 0},      {2, 2, 255, 0},     {254, 254, 255, 0},
        {255, 255, 255, 0},  {256, 255, 254, 0},  {509, 255, 1, 0},   {510, 255, 0, 0},
        {511, 255, 0, 1},    {764, 255, 0, 254},  {765, 255, 0, 255}, {766, 254, 0, 255},
        {1019, 1, 0, 255},   {1020, 0, 0, 255},   {1021, 0, 1, 255},  {1274, 0, 254, 255},
        {1275, 0, 255, 255}, {1276, 0, 255, 254}, {1528, 0, 255, 2},  {1529, 0, 255, 1},
        {1530, 0, 255, 0},   {1531, 1, 255, 0},   {3060, 0, 255, 0},
    };
    for (const Expected& e : table) {
        Colour c = After(e.calls);
        EXPECT_EQ(c.red, e.red) << e.calls;
        EXPECT_EQ(c.green, e.green) << e.calls;
        EXPECT_EQ(c.blue, e.blue) << e.calls;
    }
}

TEST(StepColour, SingleSteps) {
    const Colour table[][2] = {
        {{255, 200, 0}, {255, 199, 0}},
        {{0, 255, 200}, {0, 255, 199}},
        {{3, 0, 255}, {2, 0, 255}},
        {{0, 200, 255}, {0, 201, 255}},
        {{0, 0, 0}, {0, 0, 0}},
        {{128, 128, 128}, {128, 128, 128}},
        {{255, 255, 255}, {255, 255, 255}},
    };
    for (const auto& row : table) {
        drawColour = row[0];
        StepColour();
        EXPECT_EQ(drawColour.red, row[1].red);
        EXPECT_EQ(drawColour.green, row[1].green);
        EXPECT_EQ(drawColour.blue, row[1].blue);
    }
}

// Every step changes one channel by one, and the 1530 colours are distinct.
TEST(StepColour, WheelIsOneClosedCycle) {
    drawColour = Colour{0, 255, 0};
    std::set<int> seen;
    for (int i = 0; i < 1530; ++i) {
        Colour before = drawColour;
        seen.insert(before.red << 16 | before.green << 8 | before.blue);
        StepColour();
        int change = std::abs(drawColour.red - before.red) +
                     std::abs(drawColour.green - before.green) +
                     std::abs(drawColour.blue - before.blue);
        ASSERT_EQ(change, 1) << i;
    }
    EXPECT_EQ(seen.size(), 1530u);
    EXPECT_EQ(drawColour.red, 0);
    EXPECT_EQ(drawColour.green, 255);
    EXPECT_EQ(drawColour.blue, 0);
}
