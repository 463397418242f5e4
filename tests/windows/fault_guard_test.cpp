// The fault guard around the selected mode, with a real access violation.
#include <gtest/gtest.h>

#include <windows.h>

#include "fault_guard.h"
#include "host_state.h"
#include "platform_seam.h"
#include "saver_host.h"

namespace {
void Finishes(void* ran) {
    *static_cast<int*>(ran) = 1;
}
void Faults(void*) {
    volatile int* nowhere = nullptr;
    *nowhere = 2;
}
} // namespace

TEST(FaultGuard, RunsTheBodyOrHandlesItsFault) {
    seam = Seam{};
    int ran = 0;
    EXPECT_EQ(RunGuarded(Finishes, &ran), 1);
    EXPECT_EQ(ran, 1);
    EXPECT_TRUE(seam.faults.empty());

    for (int round = 0; round < 3; ++round) // the guard is sound to use again
        EXPECT_EQ(RunGuarded(Faults, nullptr), 0);
    ASSERT_EQ(seam.faults.size(), 3u);
    EXPECT_EQ(seam.faults[0], DWORD{EXCEPTION_ACCESS_VIOLATION});
}

// A fault inside the mode (here in GetForegroundWindow, which the about box's
// configure switch asks) clears the running flag on the 9x family.
TEST(FaultGuard, SaverMainClearsTheRunningFlag) {
    seam = Seam{};
    seam.win9x = true;
    seam.faultInForeground = true;
    int result = SaverMain(GetModuleHandleA(nullptr), "/c");
    seam.faultInForeground = false;
    EXPECT_EQ(result, -1);
    EXPECT_TRUE(onWin9x);
    ASSERT_EQ(seam.faults.size(), 1u);
    ASSERT_EQ(seam.spiCalls.size(), 1u);
    EXPECT_EQ(seam.spiCalls[0].action, UINT{SPI_SCREENSAVERRUNNING});
    EXPECT_EQ(seam.spiCalls[0].param, 0u);
    EXPECT_EQ(seam.spiCalls[0].slot, 0u);
    EXPECT_EQ(seam.spiCalls[0].winIni, 0u);

    // On the NT family the flag is never touched.
    seam = Seam{};
    seam.faultInForeground = true;
    EXPECT_EQ(SaverMain(GetModuleHandleA(nullptr), "/c"), -1);
    seam.faultInForeground = false;
    EXPECT_FALSE(onWin9x);
    EXPECT_EQ(seam.faults.size(), 1u);
    EXPECT_TRUE(seam.spiCalls.empty());
}

TEST(SaverMain, RefusedSwitchesEndWithMinusOne) {
    seam = Seam{};
    for (const char* tail : {"/x", "/?", "/\ts", "/p 0", "/p", "/p:1234", "/a 1", "/p 4294967295"})
        EXPECT_EQ(SaverMain(GetModuleHandleA(nullptr), tail), -1) << tail;
    EXPECT_EQ(appInstance, GetModuleHandleA(nullptr));
}
