// Test support for the shell: a headless window driven through the real
// message queue, and the application hooks (kaCreate, MainScreen) that the
// test program supplies in place of a game.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

#include "platform/Window.h"

namespace shelltest {

// What MainScreen does in the current test, and how often it ran.
extern std::function<void()> gMainScreen;
extern int gMainScreenCalls;

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Dispatches every waiting message as the loop does; counts WM_CLOSE
    // and WM_QUIT.
    void Pump();
    void Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { plat::PostMessage(hwnd_, message, wParam, lParam); }
    // Posts the messages (message, wParam) in order, then pumps.
    void Feed(std::initializer_list<std::pair<UINT, WPARAM>> messages) {
        for (const auto& m : messages) Post(m.first, m.second);
        Pump();
    }
    // The framework is torn down once per process; ctest gives every test
    // its own process, a plain run of the whole program skips the later ones.
    static bool TornDown();

    HWND hwnd_ = nullptr;
    int closes_ = 0;
    int quits_ = 0;
};

}  // namespace shelltest
