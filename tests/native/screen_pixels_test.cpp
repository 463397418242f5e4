// Which pixels the hack covers: X11's monitors, and a Wayland window's
// buffer at its output's scale.
#include <gtest/gtest.h>

#include "buffer_scale.h"
#include "screen_layout.h"

TEST(ScreenPixels, MonitorsCutToTheScreen) {
    struct Case {
        std::vector<Monitor> given;
        std::vector<Monitor> shown; // on a 1600 x 600 screen
        std::size_t fern;
    };
    const Case table[] = {
        {{}, {{0, 0, 1600, 600, true}}, 0},
        {{{0, 0, 800, 600}, {800, 0, 800, 600}}, {{0, 0, 800, 600}, {800, 0, 800, 600}}, 0},
        {{{0, 0, 800, 600}, {800, 0, 800, 600, true}}, {{0, 0, 800, 600}, {800, 0, 800, 600}}, 1},
        // past the screen's edges (a screen made smaller), or wholly off it
        {{{-100, 0, 900, 700}, {1600, 0, 800, 600}}, {{0, 0, 800, 600}}, 0},
        {{{2000, 0, 800, 600, true}, {0, 0, 0, 600}}, {{0, 0, 1600, 600, true}}, 0},
        {{{0x7fffff00, 0, 0x7fffffff, 600}}, {{0, 0, 1600, 600, true}}, 0},
        // mirrored: both kept, the fern on the first
        {{{0, 0, 1600, 600}, {0, 0, 1600, 600}}, {{0, 0, 1600, 600}, {0, 0, 1600, 600}}, 0},
    };
    for (const Case& c : table) {
        std::vector<Monitor> shown = OnScreen(c.given, 1600, 600);
        ASSERT_EQ(shown.size(), c.shown.size());
        for (std::size_t i = 0; i < shown.size(); ++i)
            EXPECT_EQ(
                (std::vector{shown[i].x, shown[i].y, shown[i].width, shown[i].height}),
                (std::vector{c.shown[i].x, c.shown[i].y, c.shown[i].width, c.shown[i].height}));
        EXPECT_EQ(FernMonitor(shown), c.fern);
    }
}

TEST(ScreenPixels, BufferForTheScale) {
    struct Case {
        int width, height, whole;
        std::uint32_t fraction;
        BufferSize pixels;
    };
    const Case table[] = {
        {1280, 720, 1, 0, {1280, 720, 1, false}},
        {640, 400, 2, 0, {1280, 800, 2, false}},     // Sway at scale 2
        {1280, 720, 1, 180, {1920, 1080, 1, true}},  // KWin at 150 %
        {1536, 864, 1, 150, {1920, 1080, 1, true}},  // 125 %
        {853, 480, 1, 180, {1280, 720, 1, true}},    // 1279.5 rounds away from zero
        {1280, 720, 3, 240, {2560, 1440, 2, false}}, // a whole fraction: the buffer scale
        {1280, 720, 0, 0, {1280, 720, 1, false}},    // no scale said
        {1, 1, 1, 30, {1, 1, 1, true}},              // never below a pixel
    };
    for (const Case& c : table) {
        BufferSize got = PixelsFor(c.width, c.height, c.whole, c.fraction);
        EXPECT_EQ(
            (std::vector{got.width, got.height, got.scale, int{got.viewport}}),
            (std::vector{c.pixels.width, c.pixels.height, c.pixels.scale, int{c.pixels.viewport}}))
            << c.width << "x" << c.height << " at " << c.whole << ", " << c.fraction << "/120";
    }
}
