// Close requests against a port that plays the platform: ticks, the purge,
// the request to the window and the cursor, in the order they happen.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "password_rules.h"

namespace {

struct Gate {
    std::int32_t closeApproved = 0, inVerify = 0;
    std::uint32_t lastVerifyTick = 0xFFFFFFFF;
    bool haveVerifier = true;
};

struct FakePort {
    FakePort(Gate& g, std::vector<std::uint32_t> t = {}, std::int32_t a = 0)
        : gate(g), ticks(std::move(t)), answer(a) {}
    Gate& gate;
    std::vector<std::uint32_t> ticks; // handed out in turn
    std::int32_t answer;
    std::function<void()> whileAsked; // runs inside the request, as a prompt would
    std::vector<std::string> calls;

    std::uint32_t TickCount() {
        calls.push_back("tick");
        std::uint32_t t = ticks.front();
        ticks.erase(ticks.begin());
        return t;
    }
    void PurgeTimers() { calls.push_back("purge"); }
    std::int32_t Ask() {
        calls.push_back("ask");
        EXPECT_EQ(gate.inVerify, 1);
        if (whileAsked)
            whileAsked();
        return answer;
    }
    void HideCursor() { calls.push_back("hide"); }
};

std::int32_t Close(Gate& g, FakePort& port) {
    return DecideClose(g.closeApproved, g.inVerify, g.lastVerifyTick, g.haveVerifier, port);
}

using Calls = std::vector<std::string>;

} // namespace

TEST(PasswordGate, NoVerifierApprovesWithoutTouchingThePlatform) {
    Gate g;
    g.haveVerifier = false;
    FakePort port{g};
    EXPECT_EQ(Close(g, port), 1);
    EXPECT_EQ(g.closeApproved, 1);
    EXPECT_TRUE(port.calls.empty());
}

TEST(PasswordGate, GapAfterTheLastVerification) {
    const struct {
        std::uint32_t last, now;
        bool asks;
    } table[] = {
        {0xFFFFFFFF, 0, true}, // none has ended yet
        {0xFFFFFFFF, 0xFFFFFFFF, true},
        {1000, 1199, false}, // 199 ms
        {1000, 1200, true},  // 200 ms
        {1000, 1000, false},
        {0xFFFFFF00, 0x00000010, true},  // wrapped: 272 ms
        {0xFFFFFFF0, 0x00000010, false}, // wrapped: 32 ms
        {0, 199, false},
        {0, 200, true},
    };
    for (const auto& c : table) {
        Gate g;
        g.lastVerifyTick = c.last;
        FakePort port{g, {c.now, c.now + 5}, 0};
        EXPECT_EQ(Close(g, port), 0) << c.last << " " << c.now;
        EXPECT_EQ(port.calls,
                  c.asks ? Calls({"tick", "purge", "ask", "hide", "tick"}) : Calls{"tick"})
            << c.last << " " << c.now;
        EXPECT_EQ(g.lastVerifyTick, c.asks ? c.now + 5 : c.last);
        EXPECT_EQ(g.inVerify, 0);
    }
}

TEST(PasswordGate, VerificationEndingAtTheLastTickLeavesNoGap) {
    // 0xFFFFFFFF is also "none yet": the next request is asked at once.
    Gate g;
    FakePort port{g, {0xFFFFFF80, 0xFFFFFFFF, 0x00000010, 0x20}, 0};
    EXPECT_EQ(Close(g, port), 0);
    EXPECT_EQ(g.lastVerifyTick, 0xFFFFFFFFu);
    port.calls.clear();
    EXPECT_EQ(Close(g, port), 0);
    EXPECT_EQ(port.calls, Calls({"tick", "purge", "ask", "hide", "tick"}));
}

TEST(PasswordGate, AnswersAreKeptAsGiven) {
    const struct {
        std::int32_t answer;
        Calls calls;
    } table[] = {
        {0, {"tick", "purge", "ask", "hide", "tick"}},
        {1, {"tick", "purge", "ask", "tick"}},
        {2, {"tick", "purge", "ask", "tick"}},
        {-1, {"tick", "purge", "ask", "tick"}},
    };
    for (const auto& c : table) {
        Gate g;
        FakePort port{g, {10, 20}, c.answer};
        EXPECT_EQ(Close(g, port), c.answer);
        EXPECT_EQ(g.closeApproved, c.answer);
        EXPECT_EQ(port.calls, c.calls) << c.answer;
        EXPECT_EQ(g.lastVerifyTick, 20u);
    }
}

TEST(PasswordGate, NestedRequestIsRefusedWithoutAsking) {
    Gate g;
    FakePort port{g, {500, 900}, 2};
    std::int32_t nested = -7;
    port.whileAsked = [&] {
        nested = Close(g, port);
        EXPECT_EQ(g.closeApproved, 0);
    };
    EXPECT_EQ(Close(g, port), 2);
    EXPECT_EQ(nested, 0);
    EXPECT_EQ(port.calls, Calls({"tick", "purge", "ask", "tick"}));
    EXPECT_EQ(g.inVerify, 0);
}

TEST(PasswordGate, RegistryOutcomes) {
    const struct {
        long status;
        std::uint32_t buffer;
        bool inForce;
    } table[] = {
        {0, 1, true},    {0, 0, false}, {0, 0x00000100, true}, // any non-zero byte
        {0, 0x01, true}, // a 1-byte value 01 read into a zeroed buffer
        {2, 1, false},   // ERROR_FILE_NOT_FOUND: no value
        {234, 1, false}, // ERROR_MORE_DATA: longer than 4 bytes
        {5, 1, false},
    };
    for (const auto& c : table)
        EXPECT_EQ(PasswordInForce(c.status, c.buffer), c.inForce) << c.status << " " << c.buffer;
}
