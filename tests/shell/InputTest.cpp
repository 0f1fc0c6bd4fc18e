// Key and mouse state as the window procedure writes it from queued
// messages, and the detectors and locks built on it.
#include <vector>

#include "ShellFixture.h"
#include "draw/kaDraw.h"
#include "shell/Globals.h"
#include "shell/MessageLoop.h"
#include "shell/kaSystem.h"

namespace shelltest {
namespace {

using InputTest = ShellTest;

LPARAM Position(int x, int y) { return static_cast<LPARAM>((y << 16) | x); }

TEST_F(InputTest, PushKeyFollowsTheLatestPressUntilThatKeyIsReleased) {
    KeyDown(VK_LEFT);
    Pump();
    EXPECT_EQ(PushKey, VK_LEFT);
    KeyDown(VK_RIGHT);
    Pump();
    EXPECT_EQ(PushKey, VK_RIGHT);
    KeyUp(VK_RIGHT);
    Pump();
    EXPECT_EQ(PushKey, 0u);  // not back to the left arrow still held
    EXPECT_EQ(LastKey, VK_RIGHT);
    KeyDown(VK_LEFT);  // its auto-repeat
    Pump();
    EXPECT_EQ(PushKey, VK_LEFT);
    KeyUp(VK_RIGHT);  // releasing another key leaves it
    Pump();
    EXPECT_EQ(PushKey, VK_LEFT);
}

TEST_F(InputTest, KeysDuringTheHelpPageGoToHelpKeyAndShiftReleasesFlip) {
    kaDraw::HelpOn = 1;
    KeyDown(VK_DOWN);
    Pump();
    EXPECT_EQ(HelpKey, VK_DOWN);
    EXPECT_EQ(PushKey, 0u);
    KeyUp(VK_DOWN);
    Pump();
    EXPECT_EQ(HelpKey, 0u);
    kaDraw::HelpOn = 0;

    KeyDown(VK_SHIFT);
    KeyUp(VK_SHIFT);
    Pump();
    EXPECT_EQ(PushShift, 1);
    KeyDown(VK_SHIFT);
    KeyUp(VK_SHIFT);
    Pump();
    EXPECT_EQ(PushShift, 0);
}

TEST_F(InputTest, GetKeyStepsThroughPressedHeldReleasedUp) {
    int flag = 0;
    std::vector<int> flags;
    KeyDown('Z');
    Pump();
    for (int frame = 0; frame < 4; ++frame) {
        kaSystem::GetKey('Z', &flag);
        flags.push_back(flag);
    }
    KeyUp('Z');
    Pump();
    for (int frame = 0; frame < 2; ++frame) {
        kaSystem::GetKey('Z', &flag);
        flags.push_back(flag);
    }
    EXPECT_EQ(flags, (std::vector<int>{1, 3, 3, 3, 2, 0}));
}

TEST_F(InputTest, GetKeyReadsNothingDuringAFadeTheHelpPageOrTheLock) {
    KeyDown('Z');
    Pump();
    int flag = 0;
    kaDraw::FadeNo = 3;
    kaSystem::GetKey('Z', &flag);
    EXPECT_EQ(flag, 0);
    kaDraw::FadeNo = 0;
    kaDraw::HelpOn = 1;
    kaSystem::GetKey('Z', &flag);
    EXPECT_EQ(flag, 0);
    kaDraw::HelpOn = 0;
    kaSystem::LockKey();
    kaSystem::GetKey('Z', &flag);
    EXPECT_EQ(flag, 0);
    kaSystem::UnlockKey();
    kaSystem::GetKey('Z', &flag);
    EXPECT_EQ(flag, 1);
}

TEST_F(InputTest, CheckKeyReportsEachClickOnceOnRelease) {
    EXPECT_EQ(kaSystem::CheckKey('Z', VK_LBUTTON, 0), 0u);

    KeyDown('Z');
    Pump();
    EXPECT_EQ(kaSystem::CheckKey('Z', VK_LBUTTON, 0), 0u);
    EXPECT_EQ(kaSystem::CheckKey('Z', VK_LBUTTON, 0), 0u);  // held: still nothing
    KeyUp('Z');
    Pump();
    EXPECT_EQ(kaSystem::CheckKey('Z', VK_LBUTTON, 0), unsigned('Z'));
    EXPECT_EQ(kaSystem::CheckKey('Z', VK_LBUTTON, 0), 0u);

    Post(WM_LBUTTONDOWN);
    Pump();
    EXPECT_EQ(kaSystem::CheckKey('Z', VK_LBUTTON, 0), 0u);
    Post(WM_LBUTTONUP);
    Pump();
    EXPECT_EQ(kaSystem::CheckKey('Z', VK_LBUTTON, 0), VK_LBUTTON);
    EXPECT_EQ(kaSystem::CheckKey('Z', VK_LBUTTON, 0), 0u);

    // A whole click between two calls is still seen, in one call.
    KeyDown('Z');
    KeyUp('Z');
    Pump();
    EXPECT_EQ(kaSystem::CheckKey('Z', VK_LBUTTON, 0), unsigned('Z'));

    // Keys not in the list are ignored.
    KeyDown('X');
    KeyUp('X');
    Pump();
    EXPECT_EQ(kaSystem::CheckKey('Z', VK_LBUTTON, 0), 0u);
}

TEST_F(InputTest, LockedKeyboardFeedsMenuKeyAndUnlockForgetsTheHeldKey) {
    KeyDown(VK_UP);
    Pump();
    kaSystem::LockKey();
    KeyDown(VK_DOWN);
    Post(WM_LBUTTONDOWN);
    Pump();
    EXPECT_EQ(MenuKey, VK_DOWN);
    EXPECT_EQ(PushKey, VK_UP);
    EXPECT_EQ(MouseMenu, 1);
    EXPECT_EQ(MouseCL, 0);
    KeyUp(VK_DOWN);
    Post(WM_LBUTTONUP);
    Pump();
    EXPECT_EQ(MenuKey, 0u);
    EXPECT_EQ(MouseMenu, 0);

    kaSystem::UnlockKey();
    EXPECT_EQ(PushKey, 0u);
    KeyDown(VK_LEFT);
    Pump();
    EXPECT_EQ(PushKey, VK_LEFT);
}

TEST_F(InputTest, SystemKeysAreSwallowedOrPassedOnBySystemKeyCheck) {
    ASSERT_EQ(kaSystem::SystemKeyCheck, 0);  // after kaSystem::Init
    Post(WM_SYSKEYDOWN, VK_MENU);
    Post(WM_SYSKEYDOWN, VK_F10);
    Post(WM_SYSKEYDOWN, VK_F4);  // Alt+F4
    Pump();
    EXPECT_EQ(PushKey, 0u);
    EXPECT_EQ(_CloseEvent, 0);
    EXPECT_TRUE(plat::IsWindow(hwnd));
    EXPECT_EQ(quits_, 0);

    kaSystem::SystemKey(2);
    Post(WM_SYSKEYDOWN, VK_MENU);
    Pump();
    EXPECT_EQ(PushKey, 0u);
    Post(WM_SYSKEYDOWN, VK_F10);
    Pump();
    EXPECT_EQ(PushKey, VK_F10);
}

TEST_F(InputTest, MouseMovementAndOneFrameEventsFollowTheFrames) {
    Post(WM_MOUSEMOVE, 0, Position(100, 50));
    Pump();
    shell::RunFrame();
    EXPECT_EQ(MouseMX, 100);
    EXPECT_EQ(MouseMY, 50);
    Post(WM_MOUSEMOVE, 0, Position(90, 70));
    Post(WM_LBUTTONDOWN);
    Post(WM_RBUTTONDBLCLK);
    Pump();
    EXPECT_EQ(MousePX, 90);
    EXPECT_EQ(MouseCL, 1);
    EXPECT_EQ(MouseDR, 1);
    shell::RunFrame();
    EXPECT_EQ(MouseMX, -10);
    EXPECT_EQ(MouseMY, 20);
    EXPECT_EQ(MouseCL, 0);  // cleared at the end of the frame
    EXPECT_EQ(MouseDR, 0);
    EXPECT_EQ(MousePL, 1);  // still held
    EXPECT_EQ(MouseLL, 1);

    Post(WM_RBUTTONDOWN);
    Post(WM_LBUTTONUP);
    Pump();
    EXPECT_EQ(MousePush, 2u);  // the right button went down last
    EXPECT_EQ(MousePL, 0);
    Post(WM_RBUTTONUP);
    Pump();
    EXPECT_EQ(MousePush, 0u);
    EXPECT_EQ(MouseLast, 2u);
}

TEST_F(InputTest, WindowMovesAreSignedAndMoveThePresentation) {
    Post(WM_MOVE, 0, static_cast<LPARAM>((20u << 16) | 0xFFF6u));
    Pump();
    EXPECT_EQ(_WindowX, -10);
    EXPECT_EQ(_WindowY, 20);
    EXPECT_EQ(kaDraw::RefreshPos.left, -10);
    EXPECT_EQ(kaDraw::RefreshPos.bottom, 20 + kaDraw::Height);
}

TEST_F(InputTest, ScreenSaverIsRefusedAndTheCursorHiddenOverTheWindow) {
    EXPECT_EQ(WindowProc(hwnd, WM_SYSCOMMAND, SC_SCREENSAVE | 0x3, 0), 0);
    EXPECT_EQ(WindowProc(hwnd, WM_SETCURSOR, 0, 0), 1);
    _ShowDialog = 1;
    EXPECT_EQ(WindowProc(hwnd, WM_SETCURSOR, 0, 0), 0);  // the platform's default
    _ShowDialog = 0;
}

}  // namespace
}  // namespace shelltest
