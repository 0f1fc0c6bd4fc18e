// The SDL backend on SDL's dummy video driver: a window opens, presents,
// paces refreshes at 60 Hz, turns SDL events into window messages and
// closes again.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <vector>

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

    // Input as SDL delivers it; the dummy window is 640x480, so positions
    // map one to one.
    MSG m;
    while (plat::PeekMessage(&m)) {
    }
    auto push = [](SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1); };
    SDL_Event e = {};
    e.type = SDL_KEYDOWN;
    e.key.keysym = {SDL_SCANCODE_Z, SDLK_z, KMOD_NONE, 0};
    push(e);
    e.key.keysym = {SDL_SCANCODE_F4, SDLK_F4, KMOD_LALT, 0};
    e.key.repeat = 1;
    push(e);
    e = {};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = 639;
    e.motion.y = 10;
    push(e);
    push(e);  // the same spot again: no second message
    e = {};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.clicks = 2;
    e.button.x = 5;
    e.button.y = 6;
    push(e);
    e = {};
    e.type = SDL_QUIT;
    push(e);

    std::vector<MSG> got;
    while (plat::PeekMessage(&m)) got.push_back(m);
    // Focus events of the dummy driver may come in between; look at the rest.
    std::vector<MSG> input;
    for (const MSG& g : got)
        if (g.message != WM_ACTIVATEAPP) input.push_back(g);
    ASSERT_EQ(input.size(), 5u);
    EXPECT_EQ(input[0].message, WM_KEYDOWN);
    EXPECT_EQ(input[0].wParam, 0x5Au);
    EXPECT_EQ(input[1].message, WM_SYSKEYDOWN);
    EXPECT_EQ(input[1].wParam, VK_F4);
    EXPECT_EQ(input[1].lParam, (LPARAM{1} << 29) | (LPARAM{1} << 30) | 1);
    EXPECT_EQ(input[2].message, WM_MOUSEMOVE);
    EXPECT_EQ(input[2].lParam, 639 | (10 << 16));
    EXPECT_EQ(input[3].message, WM_LBUTTONDBLCLK);
    EXPECT_EQ(input[3].lParam, 5 | (6 << 16));
    EXPECT_EQ(input[3].wParam & MK_LBUTTON, MK_LBUTTON);
    EXPECT_EQ(input[4].message, WM_CLOSE);
    EXPECT_TRUE(plat::IsKeyDown('Z'));

    plat::DispatchMessage(&input[4]);
    EXPECT_FALSE(plat::IsWindow(hwnd));
    EXPECT_EQ(gDestroyed, 1);
    plat::ReleaseSurface(primary);
    while (plat::PeekMessage(&m)) {
    }
    plat::SetOptions(plat::Options{});
}

}  // namespace
