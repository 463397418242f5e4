#include <gtest/gtest.h>

#include "input_rules.h"
#include "messages.h"

namespace {

using A = InputAction;

// The states the saver window's default processing tells apart.
const InputState fullScreenNt = {false, false, false, false, false, 0};
const InputState fullScreen9x = {false, false, false, true, false, 0xC123};
const InputState armed9x = {false, false, false, true, true, 0xC123};
const InputState asking9x = {false, false, true, true, true, 0xC123};
const InputState preview9x = {true, false, false, true, true, 0xC123};
const InputState approved9x = {false, true, false, true, true, 0xC123};
const InputState previewNt = {true, false, false, false, false, 0};

} // namespace

TEST(JudgeInput, FullScreenBeforeApproval) {
    const struct {
        unsigned message;
        std::uintptr_t wParam;
        InputAction action;
    } table[] = {
        // clang-format off
        {msg::keyDown, 0x41, A::PostClose},        {msg::sysKeyDown, 0x12, A::PostClose},
        {msg::lButtonDown, 1, A::PostClose},       {msg::rButtonDown, 2, A::PostClose},
        {msg::mButtonDown, 16, A::PostClose},      {msg::power, 3, A::PostClose},
        {msg::power, 1, A::Default},               {msg::power, 0, A::Default},
        {msg::activateApp, 0, A::PostClose},       {msg::activateApp, 1, A::Default},
        {msg::showWindow, 1, A::HideCursor},       {msg::showWindow, 0, A::Default},
        {msg::setCursor, 0, A::HideCursorHandled}, {msg::mouseMove, 0, A::MouseMove},
        {0x0101, 0x41, A::Default}, /* key up */   {0x0202, 0, A::Default}, /* button up */
        {0x0203, 0, A::Default}, /* double-click */ {0x020A, 0, A::Default}, /* wheel */
        {0x0102, 'a', A::Default}, /* char */      {msg::paint, 0, A::Default},
        // Power notices: sleep and wake close; a status change is looked at; a
        // low battery (0x9) alone never closes.
        {msg::powerBroadcast, 0x0, A::PostClose},  {msg::powerBroadcast, 0x1, A::PostClose},
        {msg::powerBroadcast, 0x4, A::PostClose},  {msg::powerBroadcast, 0x5, A::PostClose},
        {msg::powerBroadcast, 0x6, A::PostClose},  {msg::powerBroadcast, 0x7, A::PostClose},
        {msg::powerBroadcast, 0x8, A::PostClose},  {msg::powerBroadcast, 0x12, A::PostClose},
        {msg::powerBroadcast, 0xA, A::PowerStatus}, {msg::powerBroadcast, 0x2, A::Default},
        {msg::powerBroadcast, 0x3, A::Default},    {msg::powerBroadcast, 0x9, A::Default},
        {msg::powerBroadcast, 0xB, A::Default},    {msg::powerBroadcast, 0x8013, A::Default},
        // clang-format on
    };
    for (const InputState& state : {fullScreenNt, fullScreen9x, armed9x})
        for (const auto& row : table)
            EXPECT_EQ(JudgeInput(state, row.message, row.wParam), row.action)
                << std::hex << row.message << " " << row.wParam;
}

// Close and the gate's request, in every state.
TEST(JudgeInput, CloseAndVerificationRequest) {
    const struct {
        const InputState* state;
        InputAction close, verify;
    } table[] = {
        {&fullScreenNt, A::Default, A::Default},  {&fullScreen9x, A::GateClose, A::Handled},
        {&armed9x, A::GateClose, A::AskVerifier}, {&asking9x, A::GateClose, A::AskVerifier},
        {&preview9x, A::Default, A::Default},     {&approved9x, A::Default, A::Default},
        {&previewNt, A::Default, A::Default},
    };
    for (const auto& row : table) {
        EXPECT_EQ(JudgeInput(*row.state, msg::close, 0), row.close);
        EXPECT_EQ(JudgeInput(*row.state, msg::verify, 0), row.verify);
    }
}

// In the preview, after approval and while the user is asked, nothing closes.
TEST(JudgeInput, NothingClosesWhenGated) {
    const unsigned messages[] = {msg::keyDown,     msg::sysKeyDown,  msg::lButtonDown,
                                 msg::rButtonDown, msg::mButtonDown, msg::powerBroadcast,
                                 msg::power,       msg::activateApp, msg::mouseMove,
                                 msg::setCursor,   msg::showWindow};
    for (const InputState& state : {asking9x, preview9x, approved9x, previewNt})
        for (unsigned m : messages)
            for (std::uintptr_t w : {0, 1, 3})
                EXPECT_EQ(JudgeInput(state, m, w), A::Default) << std::hex << m;
}

TEST(AutoPlayQuery, AnsweredInEveryState) {
    for (const InputState& s : {fullScreen9x, armed9x, asking9x, preview9x, approved9x}) {
        EXPECT_TRUE(IsAutoPlayQuery(s, 0xC123));
        EXPECT_FALSE(IsAutoPlayQuery(s, 0xC124));
        EXPECT_EQ(AutoPlayAnswer(s), s.haveVerifier ? 1 : 0);
    }
    // Without a registered query, message 0 is not taken for it.
    EXPECT_FALSE(IsAutoPlayQuery(fullScreenNt, 0));
    EXPECT_FALSE(IsAutoPlayQuery(previewNt, 0));
}

// Flags: 1 high, 2 low, 4 critical, 8 charging, 128 no battery, 255 unknown.
// Only a plug or unplug ends it, never the level.
TEST(PowerStatusEnds, OnlyAChangeOfThePowerLine) {
    const struct {
        PowerStatus before, now;
        bool ends;
    } table[] = {
        {{1, 8}, {1, 8}, false},     {{1, 8}, {0, 1}, true},      {{0, 1}, {1, 9}, true},
        {{0, 1}, {0, 1}, false},     {{0, 1}, {0, 2}, false},     {{0, 2}, {0, 2}, false},
        {{0, 2}, {0, 6}, false},     {{0, 6}, {0, 6}, false},     {{0, 4}, {0, 1}, false},
        {{1, 128}, {1, 128}, false}, {{255, 255}, {1, 1}, false}, {{1, 255}, {1, 2}, false},
        {{1, 1}, {255, 255}, false}, {{255, 255}, {0, 2}, false}, {{0, 6}, {1, 14}, true},
    };
    for (const auto& row : table)
        EXPECT_EQ(PowerStatusEnds(row.before, row.now), row.ends)
            << int{row.before.acLine} << "/" << int{row.before.batteryFlag} << " -> "
            << int{row.now.acLine} << "/" << int{row.now.batteryFlag};
}

TEST(MovedFarEnough, SumOfDistancesAboveThreshold) {
    const struct {
        ScreenPoint last, now;
        bool moved;
    } table[] = {
        // clang-format off
        {{100, 100}, {103, 101}, false}, {{100, 100}, {103, 102}, true},
        {{100, 100}, {100, 100}, false}, {{100, 100}, {96, 100}, false},
        {{100, 100}, {95, 100}, true},   {{100, 100}, {98, 98}, false},
        {{100, 100}, {98, 97}, true},    {{0, 0}, {-3, -2}, true},
        {{-2147483647 - 1, 0}, {2147483647, 0}, false}, // the 32-bit difference wraps to -1
        // clang-format on
    };
    for (const auto& row : table)
        EXPECT_EQ(MovedFarEnough(row.last, row.now, movementThreshold), row.moved)
            << row.now.x - row.last.x << "," << row.now.y - row.last.y;
}
