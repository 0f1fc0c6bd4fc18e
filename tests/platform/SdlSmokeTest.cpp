// The SDL backend on SDL's dummy video driver: a window opens, presents,
// takes posted messages, paces refreshes at 60 Hz and closes again.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Backend.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/Options.h"
#include "platform/Window.h"

namespace {

int gDestroyed = 0;

LRESULT Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) ++gDestroyed;
    return plat::DefWindowProc(hwnd, message, wParam, lParam);
}

TEST(SdlBackend, WindowPresentsPacesAndCloses) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);  // never a real window from a test
    plat::Options options;
    options.windowed = true;
    plat::SetOptions(options);

    HWND hwnd = plat::CreateMainWindow("kaサンプル", Proc);
    ASSERT_NE(hwnd, nullptr);
    ASSERT_NE(plat::OpenDisplay(), nullptr);
    plat::Surface16* primary = plat::CreatePrimarySurface();
    ASSERT_NE(primary, nullptr);
    primary->row(10)[10] = 0xF800;

    uint64_t start = plat::detail::MonotonicNanos();
    for (int i = 0; i < 6; ++i) {
        plat::WaitForVerticalBlank();
        plat::PresentPrimary(*primary);
    }
    double ms = (plat::detail::MonotonicNanos() - start) / 1e6;
    EXPECT_GT(ms, 5 * 1000.0 / 60) << "six refreshes take about 100 ms";
    EXPECT_LT(ms, 400.0);
    ASSERT_NE(plat::LastPresentedFrame(), nullptr);
    EXPECT_EQ(plat::LastPresentedFrame()->row(10)[10], 0xF800);

    plat::PostMessage(hwnd, WM_CLOSE, 0, 0);
    MSG m;
    bool sawActivate = false;
    for (int guard = 0; guard < 100 && plat::IsWindow(hwnd); ++guard) {
        if (!plat::PeekMessage(&m)) continue;
        if (m.message == WM_ACTIVATEAPP && m.wParam == 1) sawActivate = true;
        plat::DispatchMessage(&m);
    }
    EXPECT_TRUE(sawActivate);
    EXPECT_FALSE(plat::IsWindow(hwnd));
    EXPECT_EQ(gDestroyed, 1);
    plat::ReleaseSurface(primary);
    while (plat::PeekMessage(&m)) {
    }
    plat::SetOptions(plat::Options{});
}

}  // namespace
