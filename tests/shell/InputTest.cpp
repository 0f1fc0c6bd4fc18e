// Key and mouse state written by the window procedure from queued messages,
// and the detectors and locks built on it.
#include <vector>

#include "ShellFixture.h"
#include "draw/kaDraw.h"
#include "shell/Globals.h"
#include "shell/kaSystem.h"

namespace shelltest {
namespace {

using InputTest = ShellTest;
constexpr UINT kDown = WM_KEYDOWN, kUp = WM_KEYUP;

TEST_F(InputTest, PushKeyFollowsTheLatestPressUntilThatKeyIsReleased) {
    Feed({{kDown, VK_LEFT}, {kDown, VK_RIGHT}, {kUp, VK_RIGHT}});
    EXPECT_EQ(PushKey, 0u);  // not back to the left arrow still held
    Feed({{kDown, VK_LEFT}, {kUp, VK_RIGHT}});  // an auto-repeat of left; releasing another key
    EXPECT_EQ(PushKey, VK_LEFT);
    kaDraw::HelpOn = 1;  // the help page takes the keys
    Feed({{kDown, VK_DOWN}});
    EXPECT_EQ(HelpKey, VK_DOWN);
    EXPECT_EQ(PushKey, VK_LEFT);
    kaDraw::HelpOn = 0;
}

TEST_F(InputTest, GetKeyStepsThroughPressedHeldReleasedUp) {
    int flag = 0;
    std::vector<int> flags;
    Feed({{kDown, 'Z'}});
    for (int frame = 0; frame < 6; ++frame) {
        if (frame == 4) Feed({{kUp, 'Z'}});
        kaSystem::GetKey('Z', &flag);
        flags.push_back(flag);
    }
    EXPECT_EQ(flags, (std::vector<int>{1, 3, 3, 3, 2, 0}));
    Feed({{kDown, 'Z'}});
    kaDraw::FadeNo = 3;  // nothing is read during a fade
    kaSystem::GetKey('Z', &flag);
    EXPECT_EQ(flag, 0);
    kaDraw::FadeNo = 0;
}

TEST_F(InputTest, CheckKeyReportsEachClickOnceOnRelease) {
    auto check = [] { return kaSystem::CheckKey('Z', VK_LBUTTON, 0); };
    EXPECT_EQ(check(), 0u);
    Feed({{kDown, 'Z'}});
    EXPECT_EQ(check(), 0u);  // held
    Feed({{kUp, 'Z'}});
    EXPECT_EQ(check(), unsigned('Z'));
    EXPECT_EQ(check(), 0u);
    Feed({{WM_LBUTTONDOWN, 0}});
    EXPECT_EQ(check(), 0u);
    Feed({{WM_LBUTTONUP, 0}});
    EXPECT_EQ(check(), VK_LBUTTON);
    Feed({{kDown, 'X'}, {kUp, 'X'}});  // not listed
    EXPECT_EQ(check(), 0u);
    Feed({{kDown, 'Z'}, {kUp, 'Z'}});  // a whole click between two calls
    EXPECT_EQ(check(), unsigned('Z'));
}

TEST_F(InputTest, LockedKeyboardFeedsMenuKeyAndUnlockForgetsTheHeldKey) {
    Feed({{kDown, VK_UP}});
    kaSystem::LockKey();
    Feed({{kDown, VK_DOWN}, {WM_LBUTTONDOWN, 0}});
    EXPECT_EQ(MenuKey, VK_DOWN);
    EXPECT_EQ(MouseMenu, 1);
    EXPECT_EQ(MouseCL, 0);
    Feed({{kUp, VK_DOWN}});
    EXPECT_EQ(MenuKey, 0u);
    kaSystem::UnlockKey();
    EXPECT_EQ(PushKey, 0u);
}

TEST_F(InputTest, SystemKeysAreSwallowedOrPassedOnBySystemKeyCheck) {
    Feed({{WM_SYSKEYDOWN, VK_MENU}, {WM_SYSKEYDOWN, VK_F10}, {WM_SYSKEYDOWN, VK_F4}});  // Alt, F10, Alt+F4
    EXPECT_EQ(PushKey, 0u);
    EXPECT_EQ(closes_, 0);
    kaSystem::SystemKey(2);  // only Alt itself is swallowed
    Feed({{WM_SYSKEYDOWN, VK_MENU}});
    EXPECT_EQ(PushKey, 0u);
    Feed({{WM_SYSKEYDOWN, VK_F10}});
    EXPECT_EQ(PushKey, VK_F10);
}

}  // namespace
}  // namespace shelltest
