// Wait slots, frame-time measurement, the blocking pause and the release
// counter, on the virtual clock of the headless platform.
#include <string>

#include "ShellFixture.h"
#include "draw/kaDraw.h"
#include "platform/Clock.h"
#include "shell/Globals.h"
#include "shell/MessageLoop.h"
#include "shell/kaSystem.h"

namespace shelltest {
namespace {

using TimingTest = ShellTest;

TEST_F(TimingTest, WaitNumbersOutsideOneToTenAreReportedAndChangeNothing) {
    const uint32_t before = kaSystem::WaitTime[0];
    for (int no : {0, 11, -3}) {
        kaDraw::ErrorCheck = 0;
        testing::internal::CaptureStderr();
        EXPECT_EQ(kaSystem::SetWait(no, 100), 0);
        std::string report = testing::internal::GetCapturedStderr();
        EXPECT_NE(report.find("kaSystem::SetWait : ウェイトNoが範囲外です"), std::string::npos) << report;
        EXPECT_EQ(kaDraw::ErrorCheck, 1);

        testing::internal::CaptureStderr();
        EXPECT_EQ(kaSystem::InitWait(no), 0);
        report = testing::internal::GetCapturedStderr();
        EXPECT_NE(report.find("kaSystem::InitWait : ウェイトNoが範囲外です"), std::string::npos) << report;
    }
    EXPECT_EQ(kaSystem::WaitTime[0], before);
    // Reading a slot outside the public ten never touches memory beyond them
    // and never reports expiry.
    EXPECT_EQ(kaSystem::Wait(0), 0);
    EXPECT_EQ(kaSystem::Wait(11), 0);
}

TEST_F(TimingTest, SlotsStartDisarmedExpireOnTimeAndStayExpired) {
    for (int no = 1; no <= 10; ++no) EXPECT_EQ(kaSystem::Wait(no), 0) << no;

    EXPECT_EQ(kaSystem::SetWait(3, 0), 1);
    EXPECT_EQ(kaSystem::Wait(3), 1);  // at once
    EXPECT_EQ(kaSystem::InitWait(3), 1);
    EXPECT_EQ(kaSystem::Wait(3), 0);

    EXPECT_EQ(kaSystem::SetWait(10, 100), 1);
    const uint32_t armed = plat::TimeGetTime();
    int frames = 0;
    while (kaSystem::Wait(10) == 0 && frames < 100) {
        shell::RunFrame();
        ++frames;
    }
    EXPECT_GE(plat::TimeGetTime() - armed, 100u);
    EXPECT_LE(plat::TimeGetTime() - armed, 117u);  // within one frame of the deadline
    shell::RunFrame();
    EXPECT_EQ(kaSystem::Wait(10), 1);
    EXPECT_EQ(kaSystem::Wait(9), 0);  // slots are independent
}

TEST_F(TimingTest, StopReturnsOnlyAfterTheClockPassedTheDeadlineAndRestartsTheFrameClock) {
    const uint32_t start = plat::TimeGetTime();
    kaSystem::Stop(0);
    EXPECT_GT(plat::TimeGetTime(), start);

    const uint32_t before = plat::TimeGetTime();
    kaSystem::Stop(250);
    EXPECT_GT(plat::TimeGetTime(), before + 250);
    EXPECT_EQ(FrameTime, 0.0f);
    EXPECT_EQ(_WaitTime, plat::TimeGetTime());
}

TEST_F(TimingTest, FrameTimeMeasuresFromTheLatestRestart) {
    shell::RunFrame();
    EXPECT_EQ(FrameTime, 0.0f);  // straight after InitFrame
    shell::RunFrame();
    EXPECT_NEAR(FrameTime, 1.0f / 60, 0.0015f);

    // Time spent outside the frames does not count once the clock restarts.
    plat::SleepUntil(plat::TimeGetTime() + 500);
    kaSystem::InitFrame();
    shell::RunFrame();
    EXPECT_EQ(FrameTime, 0.0f);

    plat::SleepUntil(plat::TimeGetTime() + 300);
    kaSystem::UpdateFrame();
    EXPECT_GT(FrameTime, 0.3f);
    EXPECT_LT(FrameTime, 0.318f);
    EXPECT_EQ(_WaitTime, plat::TimeGetTime());
}

TEST_F(TimingTest, PullCountCountsReleasesOfTheChosenKeyOnly) {
    kaSystem::SetPullCount('Z');
    for (int i = 0; i < 3; ++i) {
        KeyDown('Z');
        KeyDown('Z');  // auto-repeat
        KeyDown('Z');
        KeyUp('Z');
        KeyDown('X');
        KeyUp('X');
    }
    Pump();
    EXPECT_EQ(kaSystem::GetPullCount(), 3);

    kaSystem::SetPullCount(0);
    KeyDown('Z');
    KeyUp('Z');
    Pump();
    EXPECT_EQ(kaSystem::GetPullCount(), 0);
}

}  // namespace
}  // namespace shelltest
