// The headless message queue and window: order of messages, the quit
// message, dispatch to the window procedure, the default close path
// (WM_CLOSE, Alt+F4) and the key state that follows the queue.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/Options.h"
#include "platform/Window.h"

namespace {

std::vector<MSG> gSeen;
bool gPassSystemKeys = true;

// A window procedure shaped like the shell's: records, quits on destroy,
// and leaves the rest to the default handling.
LRESULT RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    gSeen.push_back({hwnd, message, wParam, lParam});
    if (message == WM_DESTROY) {
        plat::PostQuitMessage(7);
        return 0;
    }
    if (message == WM_SYSKEYDOWN && !gPassSystemKeys) return 0;
    return plat::DefWindowProc(hwnd, message, wParam, lParam);
}

class MessageQueue : public ::testing::Test {
protected:
    void SetUp() override {
        plat::Options options;
        options.headless = true;
        plat::SetOptions(options);
        gSeen.clear();
        gPassSystemKeys = true;
        hwnd = plat::CreateMainWindow("kaサンプル", RecordingProc);
        ASSERT_NE(hwnd, nullptr);
    }
    void TearDown() override {
        if (plat::IsWindow(hwnd)) plat::DestroyWindow(hwnd);
        MSG m;
        while (plat::PeekMessage(&m)) {
        }
    }
    // Runs the shell's loop until WM_QUIT; returns its exit code.
    int RunLoop() {
        MSG m;
        for (int guard = 0; guard < 1000; ++guard) {
            if (!plat::PeekMessage(&m)) return -1;
            if (m.message == WM_QUIT) return static_cast<int>(m.wParam);
            plat::DispatchMessage(&m);
        }
        return -2;
    }
    HWND hwnd = nullptr;
};

TEST_F(MessageQueue, WindowStartsActiveAndMessagesComeInPostingOrder) {
    plat::PostMessage(hwnd, WM_KEYDOWN, 'A', 0);
    plat::PostMessage(hwnd, WM_MOUSEMOVE, 0, 3 | (4 << 16));
    plat::PostQuitMessage(3);
    plat::PostMessage(hwnd, WM_KEYUP, 'A', 0);

    MSG m;
    std::vector<UINT> order;
    while (plat::PeekMessage(&m)) order.push_back(m.message);
    EXPECT_EQ(order, (std::vector<UINT>{WM_ACTIVATEAPP, WM_KEYDOWN, WM_MOUSEMOVE, WM_QUIT, WM_KEYUP}));
    EXPECT_FALSE(plat::PeekMessage(&m)) << "an empty queue stays empty";
}

TEST_F(MessageQueue, CloseDestroysTheWindowAndEndsTheLoop) {
    plat::PostMessage(hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(RunLoop(), 7);
    EXPECT_FALSE(plat::IsWindow(hwnd));
    ASSERT_GE(gSeen.size(), 3u);
    EXPECT_EQ(gSeen[gSeen.size() - 2].message, WM_CLOSE);
    EXPECT_EQ(gSeen.back().message, WM_DESTROY);
    // A destroyed window receives nothing more.
    MSG late{hwnd, WM_KEYDOWN, 'Z', 0};
    size_t before = gSeen.size();
    EXPECT_EQ(plat::DispatchMessage(&late), 0);
    EXPECT_EQ(plat::SendMessage(hwnd, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(gSeen.size(), before);
}

TEST_F(MessageQueue, AltF4ClosesOnlyAsASystemKeyPassedOn) {
    constexpr LPARAM kAlt = LPARAM{1} << 29;
    // F4 without Alt, and Alt+F4 swallowed by the procedure: nothing.
    plat::PostMessage(hwnd, WM_KEYDOWN, VK_F4, 1);
    gPassSystemKeys = false;
    plat::PostMessage(hwnd, WM_SYSKEYDOWN, VK_F4, 1 | kAlt);
    EXPECT_EQ(RunLoop(), -1);
    EXPECT_TRUE(plat::IsWindow(hwnd));

    gPassSystemKeys = true;
    plat::PostMessage(hwnd, WM_SYSKEYDOWN, VK_F4, 1 | kAlt);
    EXPECT_EQ(RunLoop(), 7);
    EXPECT_FALSE(plat::IsWindow(hwnd));
}

TEST_F(MessageQueue, KeyStateFollowsMessagesTakenFromTheQueue) {
    plat::PostMessage(hwnd, WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_FALSE(plat::IsKeyDown(VK_LEFT)) << "not before the shell has taken the message";
    MSG m;
    while (plat::PeekMessage(&m)) {
    }
    EXPECT_TRUE(plat::IsKeyDown(VK_LEFT));

    plat::PostMessage(hwnd, WM_SYSKEYDOWN, VK_MENU, 0);
    plat::PostMessage(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    plat::PostMessage(hwnd, WM_KEYUP, VK_LEFT, 0);
    while (plat::PeekMessage(&m)) {
    }
    EXPECT_FALSE(plat::IsKeyDown(VK_LEFT));
    EXPECT_TRUE(plat::IsKeyDown(VK_MENU));
    EXPECT_TRUE(plat::IsKeyDown(VK_LBUTTON));
    EXPECT_FALSE(plat::IsKeyDown(0x1000)) << "codes outside the table are simply up";
}

TEST_F(MessageQueue, MessagesPostedFromAnotherThreadArrive) {
    MSG m;
    while (plat::PeekMessage(&m)) {
    }
    std::thread other([this] {
        for (int i = 0; i < 100; ++i) plat::PostMessage(hwnd, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, i);
    });
    other.join();
    int count = 0;
    while (plat::PeekMessage(&m)) {
        EXPECT_EQ(m.lParam, count);
        ++count;
    }
    EXPECT_EQ(count, 100);
}

TEST_F(MessageQueue, HeadlessMessageBoxAnswersAtOnce) {
    testing::internal::CaptureStderr();
    int ok = plat::MessageBox(hwnd, "テキスト", "エラー発生", MB_OK | MB_ICONEXCLAMATION);
    int yes = plat::MessageBox(hwnd, "続けますか？", "メッセージ", MB_YESNO | MB_ICONQUESTION);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(ok, IDOK);
    EXPECT_EQ(yes, IDYES);
    EXPECT_EQ(err, "エラー発生: テキスト\nメッセージ: 続けますか？\n");
    plat::WaitMessage();  // headless: returns at once even with nothing queued
}

}  // namespace
