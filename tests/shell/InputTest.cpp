// Key and mouse state written by the window procedure from queued messages,
// and the detectors and locks built on it.
#include <vector>

#include "ShellFixture.h"
#include "draw/kaDraw.h"
#include "shell/Globals.h"
#include "shell/MessageLoop.h"
#include "shell/kaSystem.h"

namespace shelltest {
namespace {

using InputTest = ShellTest;

TEST_F(InputTest, PushKeyFollowsTheLatestPressUntilThatKeyIsReleased) {
    Key(WM_KEYDOWN, VK_LEFT);
    Key(WM_KEYDOWN, VK_RIGHT);
    Key(WM_KEYUP, VK_RIGHT);
    Pump();
    EXPECT_EQ(PushKey, 0u);  // not back to the left arrow still held
    Key(WM_KEYDOWN, VK_LEFT);  // its auto-repeat
    Key(WM_KEYUP, VK_RIGHT);
    Pump();
    EXPECT_EQ(PushKey, VK_LEFT);

    kaDraw::HelpOn = 1;  // the help page takes the keys
    Key(WM_KEYDOWN, VK_DOWN);
    Pump();
    EXPECT_EQ(HelpKey, VK_DOWN);
    EXPECT_EQ(PushKey, VK_LEFT);
    kaDraw::HelpOn = 0;
}

TEST_F(InputTest, GetKeyStepsThroughPressedHeldReleasedUp) {
    int flag = 0;
    std::vector<int> flags;
    Key(WM_KEYDOWN, 'Z');
    Pump();
    for (int frame = 0; frame < 6; ++frame) {
        if (frame == 4) {
            Key(WM_KEYUP, 'Z');
            Pump();
        }
        kaSystem::GetKey('Z', &flag);
        flags.push_back(flag);
    }
    EXPECT_EQ(flags, (std::vector<int>{1, 3, 3, 3, 2, 0}));

    Key(WM_KEYDOWN, 'Z');
    Pump();
    kaDraw::FadeNo = 3;  // nothing is read during a fade
    kaSystem::GetKey('Z', &flag);
    EXPECT_EQ(flag, 0);
    kaDraw::FadeNo = 0;
}

TEST_F(InputTest, CheckKeyReportsEachClickOnceOnRelease) {
    auto check = [] { return kaSystem::CheckKey('Z', VK_LBUTTON, 0); };
    EXPECT_EQ(check(), 0u);
    Key(WM_KEYDOWN, 'Z');
    Pump();
    EXPECT_EQ(check(), 0u);  // held
    Key(WM_KEYUP, 'Z');
    Pump();
    EXPECT_EQ(check(), unsigned('Z'));
    EXPECT_EQ(check(), 0u);

    Post(WM_LBUTTONDOWN);
    Pump();
    EXPECT_EQ(check(), 0u);
    Post(WM_LBUTTONUP);
    Pump();
    EXPECT_EQ(check(), VK_LBUTTON);

    Key(WM_KEYDOWN, 'X');  // not listed
    Key(WM_KEYUP, 'X');
    Pump();
    EXPECT_EQ(check(), 0u);
    Key(WM_KEYDOWN, 'Z');  // a whole click between two calls
    Key(WM_KEYUP, 'Z');
    Pump();
    EXPECT_EQ(check(), unsigned('Z'));
}

TEST_F(InputTest, LockedKeyboardFeedsMenuKeyAndUnlockForgetsTheHeldKey) {
    Key(WM_KEYDOWN, VK_UP);
    Pump();
    kaSystem::LockKey();
    Key(WM_KEYDOWN, VK_DOWN);
    Post(WM_LBUTTONDOWN);
    Pump();
    EXPECT_EQ(MenuKey, VK_DOWN);
    EXPECT_EQ(MouseMenu, 1);
    EXPECT_EQ(MouseCL, 0);
    Key(WM_KEYUP, VK_DOWN);
    Pump();
    EXPECT_EQ(MenuKey, 0u);
    kaSystem::UnlockKey();
    EXPECT_EQ(PushKey, 0u);
}

TEST_F(InputTest, SystemKeysAreSwallowedOrPassedOnBySystemKeyCheck) {
    for (unsigned key : {VK_MENU, VK_F10, VK_F4}) Key(WM_SYSKEYDOWN, key);  // Alt, F10, Alt+F4
    Pump();
    EXPECT_EQ(PushKey, 0u);
    EXPECT_EQ(closes_, 0);

    kaSystem::SystemKey(2);  // only Alt itself is swallowed
    Key(WM_SYSKEYDOWN, VK_MENU);
    Pump();
    EXPECT_EQ(PushKey, 0u);
    Key(WM_SYSKEYDOWN, VK_F10);
    Pump();
    EXPECT_EQ(PushKey, VK_F10);
}

TEST_F(InputTest, MouseMovementAndOneFrameEventsFollowTheFrames) {
    Post(WM_MOUSEMOVE, 0, (50 << 16) | 100);
    Pump();
    shell::RunFrame();
    Post(WM_MOUSEMOVE, 0, (70 << 16) | 90);
    Post(WM_LBUTTONDOWN);
    Post(WM_RBUTTONDBLCLK);
    Pump();
    EXPECT_EQ(MouseCL + MouseDR, 2);
    shell::RunFrame();
    EXPECT_EQ(MouseMX, -10);
    EXPECT_EQ(MouseMY, 20);
    EXPECT_EQ(MouseCL + MouseDR, 0);  // cleared at the end of the frame
    EXPECT_EQ(MousePL, 1);
}

}  // namespace
}  // namespace shelltest
