// The headless set-up shared by the shell tests and the application hooks of
// the test program.
#include "ShellFixture.h"

#include <algorithm>

#include "draw/kaDraw.h"
#include "platform/Options.h"
#include "shell/Globals.h"
#include "shell/MessageLoop.h"
#include "shell/kaSystem.h"
#include "sound/kaSound.h"
#include "text/kaFont.h"

namespace shelltest {

std::function<void()> gMainScreen;
int gMainScreenCalls = 0;

void ShellTest::SetUp() {
    plat::Options options;
    options.headless = true;
    plat::SetOptions(options);
    gMainScreen = nullptr;
    gMainScreenCalls = 0;
    shell::SetFrameLimit(0);

    kaAllInit();
    hwnd = plat::CreateMainWindow("kaサンプル", WindowProc);
    ASSERT_NE(hwnd, nullptr);
    kaDraw::Screen(640, 480, 1);  // also starts kaSystem
    _ScreenNo = 1;
    _LastScreenNo = 0;
    Pump();  // the activation the new window queued
    ASSERT_EQ(_WindowActive, 1);
    kaSystem::InitFrame();
    seen_.clear();
}

namespace {
bool gTornDown = false;
}

bool ShellTest::TornDown() { return gTornDown; }

void ShellTest::TearDown() {
    if (_CloseEvent == 2) {
        gTornDown = true;
    } else {
        // The teardown without its once-only guard and its close request.
        kaSystem::DestroyObject();
        kaFont::DestroyObject();
        kaSound::DestroyObject();
        kaDraw::DestroyObject();
    }
    if (hwnd != nullptr && plat::IsWindow(hwnd)) plat::DestroyWindow(hwnd);
    Pump();
}

void ShellTest::Pump() {
    MSG msg;
    while (plat::PeekMessage(&msg)) {
        seen_.push_back(msg.message);
        if (msg.message == WM_QUIT) {
            ++quits_;
            continue;
        }
        plat::DispatchMessage(&msg);
    }
}

void ShellTest::Post(UINT message, WPARAM wParam, LPARAM lParam) { plat::PostMessage(hwnd, message, wParam, lParam); }

int ShellTest::Count(UINT message) const {
    return static_cast<int>(std::count(seen_.begin(), seen_.end(), message));
}

}  // namespace shelltest

// The application hooks of the test program.
void kaCreate() {}

void MainScreen() {
    ++shelltest::gMainScreenCalls;
    if (shelltest::gMainScreen) shelltest::gMainScreen();
}
