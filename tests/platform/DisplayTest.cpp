// The emulated display: surface limits, the one display mode offered, the
// pixel format, the kept last frame, and the geometry and pixel widening of
// the window presentation.
#include <gtest/gtest.h>

#include <vector>

#include "platform/Backend.h"
#include "platform/Display.h"
#include "platform/Options.h"

namespace {

void UseHeadless(bool rgb555 = false) {
    plat::Options options;
    options.headless = true;
    options.rgb555 = rgb555;
    plat::SetOptions(options);
}

TEST(Display, SurfacesOfSillySizesAreRefused) {
    UseHeadless();
    EXPECT_EQ(plat::CreateSurface(0, 10), nullptr);
    EXPECT_EQ(plat::CreateSurface(10, -1), nullptr);
    EXPECT_EQ(plat::CreateSurface(16385, 1), nullptr);
    EXPECT_EQ(plat::CreateSurface(16384, 16384), nullptr) << "512 MB";
    plat::Surface16* wide = plat::CreateSurface(16384, 8);
    ASSERT_NE(wide, nullptr);
    EXPECT_FALSE(wide->isPrimary());
    plat::ReleaseSurface(wide);
    plat::Surface16* one = plat::CreateSurface(1, 1);
    ASSERT_NE(one, nullptr);
    plat::ReleaseSurface(one);
}

TEST(Display, OnlySixteenBitsAtTheScreenSize) {
    UseHeadless();
    EXPECT_NE(plat::SetDisplayMode(640, 480, 32), plat::kOk);
    EXPECT_NE(plat::SetDisplayMode(640, 480, 24), plat::kOk);
    EXPECT_NE(plat::SetDisplayMode(800, 600, 16), plat::kOk);
    EXPECT_EQ(plat::SetDisplayMode(640, 480, 16), plat::kOk);
    EXPECT_EQ(plat::DisplayBitsPerPixel(), 16);
    EXPECT_TRUE(plat::GetPixelFormat() == plat::PixelFormat::Rgb565());
    UseHeadless(true);
    EXPECT_TRUE(plat::GetPixelFormat() == plat::PixelFormat::Rgb555());
}

TEST(Display, PresentKeepsACopyOfTheFrame) {
    UseHeadless();
    ASSERT_NE(plat::OpenDisplay(), nullptr);
    plat::Surface16* primary = plat::CreatePrimarySurface();
    ASSERT_NE(primary, nullptr);
    EXPECT_TRUE(primary->isPrimary());
    EXPECT_EQ(primary->width(), 640);
    EXPECT_EQ(primary->height(), 480);
    primary->row(479)[639] = 0x1234;
    plat::PresentPrimary(*primary);
    primary->row(479)[639] = 0x4321;  // drawn after presenting: not shown
    const plat::Surface16* shown = plat::LastPresentedFrame();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->row(479)[639], 0x1234);
    plat::ReleaseSurface(primary);
    EXPECT_EQ(plat::LastPresentedFrame(), shown) << "outlives the surface, for the screenshot at exit";
}

TEST(Viewport, WholeMultiplesWhereTheyFitElseAspectKept) {
    using plat::detail::FitViewport;
    auto check = [](int ww, int wh, int x, int y, int w, int h) {
        plat::detail::Viewport v = FitViewport(ww, wh);
        EXPECT_EQ(v.x, x) << ww << "x" << wh;
        EXPECT_EQ(v.y, y) << ww << "x" << wh;
        EXPECT_EQ(v.w, w) << ww << "x" << wh;
        EXPECT_EQ(v.h, h) << ww << "x" << wh;
    };
    check(640, 480, 0, 0, 640, 480);
    check(1920, 1080, 320, 60, 1280, 960);
    check(2560, 1440, 320, 0, 1920, 1440);
    check(1280, 1024, 0, 32, 1280, 960);
    check(320, 480, 0, 120, 320, 240);  // smaller than the picture: shrunk
    check(800, 300, 200, 0, 400, 300);
}

TEST(Viewport, MousePositionsMapIntoTheLogicalScreen) {
    plat::detail::Viewport v = plat::detail::FitViewport(1920, 1080);  // 2x at (320, 60)
    int x, y;
    plat::detail::WindowToLogical(v, 320, 60, &x, &y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    plat::detail::WindowToLogical(v, 320 + 1279, 60 + 959, &x, &y);
    EXPECT_EQ(x, 639);
    EXPECT_EQ(y, 479);
    plat::detail::WindowToLogical(v, 0, 1079, &x, &y);  // in the bars: clamped
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 479);
    for (int lx : {0, 1, 317, 639}) {
        int wx, wy, bx, by;
        plat::detail::LogicalToWindow(v, lx, 200, &wx, &wy);
        plat::detail::WindowToLogical(v, wx, wy, &bx, &by);
        EXPECT_EQ(bx, lx);
        EXPECT_EQ(by, 200);
    }
}

TEST(ExpandFrame, WidensLikeTheScreenshotAndRepeatsPixels) {
    for (bool rgb555 : {false, true}) {
        plat::PixelFormat format = rgb555 ? plat::PixelFormat::Rgb555() : plat::PixelFormat::Rgb565();
        plat::Surface16 src(5, 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) src.row(y)[x] = static_cast<uint16_t>(0x9E37 * (y * 5 + x + 1));
        for (int scale : {1, 2, 3}) {
            const int pitchPixels = 5 * scale + 7;  // wider than the picture
            std::vector<uint32_t> out(static_cast<size_t>(pitchPixels) * 3 * scale, 0xDEADBEEF);
            for (bool swap : {false, true}) {
                plat::detail::ExpandFrame(src, format, swap, scale, out.data(), pitchPixels * 4);
                for (int y = 0; y < 3 * scale; ++y) {
                    for (int x = 0; x < 5 * scale; ++x) {
                        uint32_t bgr = plat::ColorRefFromPixel(format, src.row(y / scale)[x / scale]);
                        uint32_t rgb = ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | (bgr >> 16);
                        ASSERT_EQ(out[y * pitchPixels + x], swap ? bgr : rgb)
                            << "555=" << rgb555 << " scale " << scale << " at " << x << "," << y;
                    }
                    EXPECT_EQ(out[y * pitchPixels + 5 * scale], 0xDEADBEEFu) << "wrote past the row";
                }
            }
        }
    }
}

}  // namespace
