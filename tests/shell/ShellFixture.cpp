// The headless set-up shared by the shell tests and the application hooks of
// the test program.
#include "ShellFixture.h"

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
namespace {
bool gTornDown = false;
}

bool ShellTest::TornDown() { return gTornDown; }

void ShellTest::SetUp() {
    plat::Options options;
    options.headless = true;
    plat::SetOptions(options);
    gMainScreen = nullptr;
    gMainScreenCalls = 0;
    shell::SetFrameLimit(0);
    kaAllInit();
    hwnd_ = hwnd = plat::CreateMainWindow("kaサンプル", WindowProc);
    ASSERT_NE(hwnd, nullptr);
    kaDraw::Screen(640, 480, 1);  // starts kaSystem too
    _ScreenNo = 1;
    Pump();  // the activation queued with the window
    ASSERT_EQ(_WindowActive, 1);
    kaSystem::InitFrame();
    closes_ = quits_ = 0;
}

void ShellTest::TearDown() {
    if (_CloseEvent == 2) {
        gTornDown = true;
    } else {  // the teardown chain, without its once-only guard
        kaSystem::DestroyObject();
        kaFont::DestroyObject();
        kaSound::DestroyObject();
        kaDraw::DestroyObject();
    }
    if (plat::IsWindow(hwnd_)) plat::DestroyWindow(hwnd_);
    Pump();
}

void ShellTest::Pump() {
    MSG msg;
    while (plat::PeekMessage(&msg)) {
        closes_ += msg.message == WM_CLOSE;
        if (msg.message == WM_QUIT) ++quits_;
        else plat::DispatchMessage(&msg);
    }
}

}  // namespace shelltest

void kaCreate() {}

void MainScreen() {
    ++shelltest::gMainScreenCalls;
    if (shelltest::gMainScreen) shelltest::gMainScreen();
}
