// Test support for the shell: a headless window driven through the real
// message queue, and the application hooks (kaCreate, MainScreen) that the
// test program supplies in place of a game.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/Window.h"

namespace shelltest {

// What MainScreen does in the current test (nothing by default), and how
// often it ran.
extern std::function<void()> gMainScreen;
extern int gMainScreenCalls;

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Takes every waiting message off the queue and dispatches it, as the
    // message loop does; records the messages seen and whether WM_QUIT came.
    void Pump();
    void Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void KeyDown(unsigned key) { Post(WM_KEYDOWN, key); }
    void KeyUp(unsigned key) { Post(WM_KEYUP, key); }
    int Count(UINT message) const;
    // The framework is torn down at most once per process: a test that
    // needs the teardown is skipped when an earlier test of this process
    // already used it (ctest runs every test in a process of its own).
    static bool TornDown();

    std::vector<UINT> seen_;
    int quits_ = 0;
};

}  // namespace shelltest
