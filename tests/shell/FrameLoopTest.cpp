// The frame: screen changes, the blink timer, the fade-out hand-over, frame
// skipping; the message loop's frame limit; and the two roads to shutdown.
#include <vector>

#include "ShellFixture.h"
#include "draw/kaDraw.h"
#include "platform/Clock.h"
#include "shell/Globals.h"
#include "shell/MessageLoop.h"
#include "shell/kaSystem.h"

namespace shelltest {
namespace {

using FrameLoopTest = ShellTest;

TEST_F(FrameLoopTest, ScreenFunctionsSeeChangeScreenOnTheirFirstFrame) {
    std::vector<int> seen;  // _ChangeScreen as each call of the screen function saw it
    gMainScreen = [&seen] { seen.push_back(_ChangeScreen); };
    shell::RunFrame();
    shell::RunFrame();
    EXPECT_EQ(seen, (std::vector<int>{1, 0}));

    // Leaving screen 1 for screen 2, which has no function: nothing is called.
    gMainScreen = [] { _ScreenNo = 2; };
    shell::RunFrame();
    EXPECT_EQ(_ChangeScreen, 1);
    shell::RunFrame();
    EXPECT_EQ(_ChangeScreen, 0);
    EXPECT_EQ(gMainScreenCalls, 3);

    // Coming back: the first call on screen 1 sees the change.
    seen.clear();
    gMainScreen = [&seen] { seen.push_back(_ChangeScreen); };
    _ScreenNo = 1;
    shell::RunFrame();  // notes the change at its end
    shell::RunFrame();
    shell::RunFrame();
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 0}));

    DrawSkip = 1;
    shell::RunFrame();
    EXPECT_EQ(seen.size(), 3u);
    DrawSkip = 0;
}

TEST_F(FrameLoopTest, AScreenChangeCancelsARunningWipeButNotAClosedScreen) {
    shell::RunFrame();
    kaDraw::Wx1 = 0, kaDraw::Wy1 = 0, kaDraw::Wx2 = 640, kaDraw::Wy2 = 480;
    kaDraw::Vx1 = 300, kaDraw::Vy1 = 200, kaDraw::Vx2 = 340, kaDraw::Vy2 = 280;
    kaDraw::EffectOn = 1;
    shell::RunFrame();  // no change: the wipe goes on
    EXPECT_EQ(kaDraw::EffectOn, 1);

    gMainScreen = [] { _ScreenNo = 3; };
    shell::RunFrame();
    EXPECT_EQ(kaDraw::EffectOn, 0);
    EXPECT_EQ(kaDraw::Vx1, 0);
    EXPECT_EQ(kaDraw::Vy2, 480);

    kaDraw::EffectOn = -1;
    kaDraw::Vx2 = kaDraw::Vx1;
    _ScreenNo = 1;
    gMainScreen = nullptr;
    shell::RunFrame();
    EXPECT_EQ(kaDraw::EffectOn, -1);
    EXPECT_EQ(kaDraw::Vx2, kaDraw::Vx1);
}

TEST_F(FrameLoopTest, BlinkIsOnForASecondAndOffForAFifthOfASecond) {
    std::vector<uint32_t> flips;  // clock at each frame that changed Blink
    int previous = Blink;
    ASSERT_EQ(previous, 1);
    const uint32_t start = plat::TimeGetTime();
    while (flips.size() < 5) {
        const uint32_t now = plat::TimeGetTime();
        shell::RunFrame();
        if (Blink != previous) flips.push_back(now);
        previous = Blink;
        ASSERT_LT(plat::TimeGetTime() - start, 10000u);
    }
    // Phases: on (from kaAllInit), off, on, off, on.
    const uint32_t frame = 17;
    EXPECT_NEAR(double(flips[0] - start), 1000, frame);
    for (size_t i = 1; i < flips.size(); ++i) {
        const double expected = (i % 2 == 1) ? 200 : 1000;  // after going off, after going on
        EXPECT_NEAR(double(flips[i] - flips[i - 1]), expected, frame) << i;
    }
    EXPECT_EQ(Blink, 0);
}

TEST_F(FrameLoopTest, DuringAFadeOutOnlyThePresentationRunsThenTheNextScreenTakesOver) {
    shell::RunFrame();
    ASSERT_EQ(gMainScreenCalls, 1);
    _CallScreenNo = 4;
    kaDraw::FadeOut();
    ASSERT_EQ(kaDraw::FadeAdd, 1);
    int frames = 0;
    while (kaDraw::FadeAdd == 1 && frames < 20) {
        shell::RunFrame();
        ++frames;
    }
    EXPECT_EQ(frames, 10);
    EXPECT_EQ(gMainScreenCalls, 1);  // the screen function was not called meanwhile
    EXPECT_EQ(_ScreenNo, 4);
    EXPECT_EQ(_ChangeScreen, 1);
}

TEST_F(FrameLoopTest, FrameLimitClosesTheWindowThroughTheLoop) {
    if (TornDown()) GTEST_SKIP() << "the framework was already torn down in this process";
    shell::SetFrameLimit(5);
    EXPECT_EQ(shell::RunMessageLoop(), 0);
    EXPECT_EQ(gMainScreenCalls, 5);
    EXPECT_EQ(shell::FramesRun(), 5u);
    EXPECT_EQ(_CloseEvent, 2);
    EXPECT_FALSE(plat::IsWindow(hwnd));
}

TEST_F(FrameLoopTest, EscapeShutsDownOnceAndTheLoopEnds) {
    if (TornDown()) GTEST_SKIP() << "the framework was already torn down in this process";
    KeyDown(VK_ESCAPE);
    Pump();
    EXPECT_EQ(_CloseEvent, 2);
    EXPECT_EQ(kaSystem::GetMouseArea(), 0);  // kaSystem was torn down
    EXPECT_EQ(Count(WM_CLOSE), 1);           // posted by the teardown, handled above
    EXPECT_EQ(quits_, 1);
    EXPECT_FALSE(plat::IsWindow(hwnd));

    // A late close request finds nothing left to tear down.
    kaSystem::MouseAreaReady = 1;
    Post(WM_CLOSE);
    Pump();
    EXPECT_EQ(kaSystem::MouseAreaReady, 1);
    EXPECT_EQ(quits_, 1);
}

TEST_F(FrameLoopTest, CloseRequestTearsDownOnceWithoutASecondClose) {
    if (TornDown()) GTEST_SKIP() << "the framework was already torn down in this process";
    Post(WM_CLOSE);
    Pump();
    EXPECT_EQ(_CloseEvent, 2);
    EXPECT_EQ(Count(WM_CLOSE), 1);  // the teardown posted none of its own
    EXPECT_EQ(quits_, 1);
    EXPECT_FALSE(plat::IsWindow(hwnd));

    kaSystem::MouseAreaReady = 1;
    KeyDown(VK_ESCAPE);
    Pump();
    EXPECT_EQ(kaSystem::MouseAreaReady, 1);
    EXPECT_EQ(Count(WM_CLOSE), 1);
}

TEST_F(FrameLoopTest, AltF4ClosesOnlyWhenSystemKeysArePassedOn) {
    if (TornDown()) GTEST_SKIP() << "the framework was already torn down in this process";
    kaSystem::SystemKey(1);
    Post(WM_SYSKEYDOWN, VK_MENU);
    Post(WM_SYSKEYDOWN, VK_F4);
    Pump();
    EXPECT_EQ(_CloseEvent, 2);
    EXPECT_EQ(quits_, 1);
}

}  // namespace
}  // namespace shelltest
