// Wait slots, frame time, the blocking pause and the release counter, on the
// virtual clock of the headless platform.
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
    for (int no : {0, 11}) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(kaSystem::SetWait(no, 100), 0);
        EXPECT_EQ(kaSystem::InitWait(no), 0);
        const std::string report = testing::internal::GetCapturedStderr();
        EXPECT_NE(report.find("kaSystem::SetWait : ウェイトNoが範囲外です"), std::string::npos) << report;
        EXPECT_NE(report.find("kaSystem::InitWait : ウェイトNoが範囲外です"), std::string::npos) << report;
        EXPECT_EQ(kaSystem::Wait(no), 0);  // never reads beyond the ten slots
    }
    EXPECT_EQ(kaDraw::ErrorCheck, 1);
    for (int slot = 0; slot < 11; ++slot) EXPECT_EQ(kaSystem::WaitTime[slot], 999999999u);
}

TEST_F(TimingTest, SlotsExpireOnTimeStayExpiredAndDisarm) {
    EXPECT_EQ(kaSystem::SetWait(3, 0), 1);
    EXPECT_EQ(kaSystem::Wait(3), 1);  // at once
    EXPECT_EQ(kaSystem::InitWait(3), 1);
    EXPECT_EQ(kaSystem::Wait(3), 0);

    kaSystem::SetWait(10, 100);
    const uint32_t armed = plat::TimeGetTime();
    while (kaSystem::Wait(10) == 0 && plat::TimeGetTime() - armed < 1000) shell::RunFrame();
    EXPECT_GE(plat::TimeGetTime() - armed, 100u);
    EXPECT_LE(plat::TimeGetTime() - armed, 117u);
    shell::RunFrame();
    EXPECT_EQ(kaSystem::Wait(10), 1);
    EXPECT_EQ(kaSystem::Wait(9), 0);
}

TEST_F(TimingTest, FrameTimeMeasuresFromTheLatestRestartAndStopRestartsIt) {
    shell::RunFrame();
    EXPECT_EQ(FrameTime, 0.0f);  // straight after InitFrame
    shell::RunFrame();
    EXPECT_NEAR(FrameTime, 1.0f / 60, 0.0015f);
    kaSystem::InitFrame();
    plat::SleepUntil(plat::TimeGetTime() + 300);
    kaSystem::UpdateFrame();
    EXPECT_GT(FrameTime, 0.3f);
    EXPECT_LT(FrameTime, 0.31f);

    for (int pause : {0, 250}) {
        const uint32_t before = plat::TimeGetTime();
        kaSystem::Stop(pause);
        EXPECT_GT(plat::TimeGetTime(), before + pause);  // Stop(0) too waits for the clock to move
        shell::RunFrame();
        EXPECT_EQ(FrameTime, 0.0f);  // the pause is not frame time
    }
}

TEST_F(TimingTest, PullCountCountsReleasesOfTheChosenKeyOnly) {
    kaSystem::SetPullCount('Z');
    for (int i = 0; i < 3; ++i) Feed({{WM_KEYDOWN, 'Z'}, {WM_KEYDOWN, 'Z'}, {WM_KEYUP, 'Z'}, {WM_KEYUP, 'X'}});
    EXPECT_EQ(kaSystem::GetPullCount(), 3);
}

}  // namespace
}  // namespace shelltest
