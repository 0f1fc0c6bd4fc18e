// The clock: headless virtual time (exact 60 Hz frames, waits that finish at
// once, listeners), the 60 Hz refresh grid, and real-time sleeps.
#include <gtest/gtest.h>

#include <ctime>
#include <vector>

#include "platform/Backend.h"
#include "platform/Clock.h"
#include "platform/Options.h"

namespace {

std::vector<uint64_t> gHeard;
void Record(uint64_t nowMicros) { gHeard.push_back(nowMicros); }

class HeadlessClock : public ::testing::Test {
protected:
    void SetUp() override {
        plat::Options options;
        options.headless = true;
        plat::SetOptions(options);
        plat::detail::ResetVirtualClock();
        gHeard.clear();
    }
    void TearDown() override { plat::SetTimeListener(nullptr); }
};

TEST_F(HeadlessClock, FramesStepBySixtiethsWithoutDrift) {
    std::vector<uint32_t> ms;
    for (int i = 0; i < 4; ++i) {
        plat::EndFrame();
        ms.push_back(plat::TimeGetTime());
    }
    EXPECT_EQ(ms, (std::vector<uint32_t>{16, 33, 50, 66}));
    for (int i = 4; i < 60; ++i) plat::EndFrame();
    EXPECT_EQ(plat::TimeGetTime(), 1000u);
    EXPECT_EQ(plat::TimeMicros(), 1000000u);
    // An hour of frames still lands on the exact second.
    for (int i = 0; i < 60 * 3600; ++i) plat::EndFrame();
    EXPECT_EQ(plat::TimeMicros(), 3601ull * 1000000);
}

TEST_F(HeadlessClock, SleepUntilMovesJustPastTheDeadline) {
    plat::SleepUntil(100);
    EXPECT_EQ(plat::TimeGetTime(), 101u);
    // A deadline already passed (also the current millisecond) costs no time.
    plat::SleepUntil(50);
    plat::SleepUntil(100);
    EXPECT_EQ(plat::TimeGetTime(), 101u);
    plat::SleepUntil(101);
    EXPECT_EQ(plat::TimeGetTime(), 102u);
    // Frames continue from there on the same exact step.
    plat::EndFrame();
    EXPECT_EQ(plat::TimeMicros(), 102000u + 16666u);
}

TEST_F(HeadlessClock, DeadlinesAcrossTheWrapOfThe32BitCount) {
    // A deadline is read as the nearest one: half the range ahead at most.
    plat::SleepUntil(0xFFFFFFF0u);
    EXPECT_EQ(plat::TimeGetTime(), 0u) << "0xFFFFFFF0 is 16 ms in the past of 0";
    plat::SleepUntil(0x7FFFFFFEu);
    plat::SleepUntil(0xFFFFFFF0u);
    EXPECT_EQ(plat::TimeGetTime(), 0xFFFFFFF1u);
    plat::SleepUntil(5);  // 5 after the wrap is ahead, not long past
    EXPECT_EQ(plat::TimeGetTime(), 6u);
    EXPECT_EQ(plat::TimeMicros(), (0x100000000ull + 6) * 1000);
}

TEST_F(HeadlessClock, ListenerHearsEveryAdvanceAndNothingElse) {
    plat::SetTimeListener(Record);
    plat::EndFrame();
    plat::SleepUntil(40);
    plat::SleepUntil(10);  // already past: no advance, no call
    plat::EndFrame();
    EXPECT_EQ(gHeard, (std::vector<uint64_t>{16666, 41000, 57666}));
    for (uint64_t t : gHeard) EXPECT_LE(t, plat::TimeMicros());
}

TEST(RefreshGrid, RefreshesAreExactSixtiethsFromTheEpoch) {
    const uint64_t epoch = 123456789;
    uint64_t t = epoch;
    for (int k = 1; k <= 600; ++k) {
        t = plat::detail::NextRefreshNanos(epoch, t);
        ASSERT_EQ(t, epoch + static_cast<uint64_t>(k) * 1000000000 / 60) << k;
    }
    EXPECT_EQ(t, epoch + 10000000000ull);  // ten seconds, no drift
}

TEST(RefreshGrid, LateCallerSkipsToTheNextRefreshWithoutCatchingUp) {
    const uint64_t epoch = 1000;
    const uint64_t period = 1000000000 / 60;
    // Woken 0.1 ms after refresh 5: the next is 6, not 5 again.
    EXPECT_EQ(plat::detail::NextRefreshNanos(epoch, epoch + 5 * period + 100000),
              epoch + 6 * 1000000000ull / 60);
    // After a 250 ms stall the next refresh is less than a period away.
    uint64_t now = epoch + 250000000;
    uint64_t next = plat::detail::NextRefreshNanos(epoch, now);
    EXPECT_GT(next, now);
    EXPECT_LE(next - now, period + 1);
}

TEST(RealClock, SleepUntilSleepsWithoutSpinning) {
    plat::SetOptions(plat::Options{});
    uint32_t start = plat::TimeGetTime();
    timespec cpu0, cpu1;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu0);
    plat::SleepUntil(start + 60);
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu1);
    uint32_t end = plat::TimeGetTime();
    EXPECT_GT(end, start + 60);
    double cpuMs = (cpu1.tv_sec - cpu0.tv_sec) * 1e3 + (cpu1.tv_nsec - cpu0.tv_nsec) / 1e6;
    EXPECT_LT(cpuMs, 20.0) << "a 60 ms wait should cost next to no CPU";
}

}  // namespace
