// The frame: screen changes, the blink timer, the fade-out hand-over; and
// the two roads to shutdown.
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
    gMainScreen = [&seen] {
        seen.push_back(_ChangeScreen);
        if (seen.size() == 2) _ScreenNo = 2;  // screen 2 has no function
    };
    for (int frame = 0; frame < 4; ++frame) shell::RunFrame();
    _ScreenNo = 1;  // changed between frames: noted at the end of the next one
    for (int frame = 0; frame < 3; ++frame) shell::RunFrame();
    EXPECT_EQ(seen, (std::vector<int>{1, 0, 0, 1, 0}));

    DrawSkip = 1;
    shell::RunFrame();
    EXPECT_EQ(seen.size(), 5u);
}

TEST_F(FrameLoopTest, BlinkIsOnForASecondAndOffForAFifthOfASecond) {
    std::vector<uint32_t> flips{plat::TimeGetTime()};
    for (int previous = Blink, frame = 0; flips.size() < 6 && frame < 600; ++frame) {
        const uint32_t now = plat::TimeGetTime();
        shell::RunFrame();
        if (Blink != previous) flips.push_back(now);
        previous = Blink;
    }
    ASSERT_EQ(flips.size(), 6u);
    for (size_t i = 1; i < flips.size(); ++i) {
        EXPECT_NEAR(double(flips[i] - flips[i - 1]), i % 2 ? 1000 : 200, 17) << i;  // within a frame
    }
}

TEST_F(FrameLoopTest, DuringAFadeOutOnlyThePresentationRunsThenTheNextScreenTakesOver) {
    shell::RunFrame();
    _CallScreenNo = 4;
    kaDraw::FadeOut();
    for (int frame = 0; frame < 10; ++frame) shell::RunFrame();
    EXPECT_EQ(kaDraw::FadeAdd, 0);
    EXPECT_EQ(gMainScreenCalls, 1);
    EXPECT_EQ(_ScreenNo, 4);
    EXPECT_EQ(_ChangeScreen, 1);
}

// Both roads tear the framework down once, close once and quit once; a late
// request of the other kind finds nothing left to do.
class ShutdownTest : public ShellTest, public testing::WithParamInterface<bool> {};

TEST_P(ShutdownTest, TearsDownOnceAndQuitsOnce) {
    if (TornDown()) GTEST_SKIP() << "the framework was already torn down in this process";
    const std::pair<UINT, WPARAM> escape{WM_KEYDOWN, VK_ESCAPE}, close{WM_CLOSE, 0};
    Feed({GetParam() ? escape : close});
    EXPECT_EQ(_CloseEvent, 2);
    EXPECT_EQ(kaSystem::GetMouseArea(), 0);  // kaSystem was torn down
    EXPECT_EQ(closes_, 1);
    EXPECT_EQ(quits_, 1);
    EXPECT_FALSE(plat::IsWindow(hwnd_));

    kaSystem::MouseAreaReady = 1;  // would be cleared by a second teardown
    Feed({GetParam() ? close : escape});
    EXPECT_EQ(kaSystem::MouseAreaReady, 1);
    EXPECT_EQ(quits_, 1);
}

INSTANTIATE_TEST_SUITE_P(EscapeOrClose, ShutdownTest, testing::Bool());

}  // namespace
}  // namespace shelltest
