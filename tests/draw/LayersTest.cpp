// Layer copies clipped to the virtual screen, fills, the half-mix tint,
// inversion and the snapshot of the back surface.
#include "DrawFixture.h"

using namespace drawtest;

namespace {

// Pixel (x, y) holds 1 + x + 100 * y: every copied pixel tells where it came
// from, and none equals the black key.
uint16_t N(int x, int y) { return static_cast<uint16_t>(1 + x + 100 * y); }

int NumberedSprite(int w, int h) {
    int s = kaDraw::CreateObject(w, h, 2);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) Sprite[s].Object->row(y)[x] = N(x, y);
    return s;
}

}  // namespace

TEST_F(DrawTest, LayersClipToTheVirtualScreenAndHonourTheKey) {
    int s = NumberedSprite(32, 32);
    kaDraw::Layer(-10, 0, s, 0, 0, 32, 32);
    kaDraw::Layer(630, 470, s, 0, 0, 32, 32);
    EXPECT_EQ(Back({{0, 0}, {21, 31}, {22, 0}, {639, 479}}), (Pixels{N(10, 0), N(31, 31), 0, N(9, 9)}));

    int dst = kaDraw::CreateObject(300, 300, 2);  // sprites too, in their own coordinates
    kaDraw::VirtualScreen(100, 100, 200, 200);
    kaDraw::SpriteLayer(dst, 90, 150, s, 0, 0, 32, 32);
    kaDraw::DirectSpriteLayer(dst, 180, 190, s, 0, 0, 32, 32);
    EXPECT_EQ(Of(dst, {{99, 150}, {100, 150}, {199, 199}, {200, 199}, {199, 200}}),
              (Pixels{0, N(10, 0), N(19, 9), 0, 0}));

    kaDraw::VirtualScreen(0, 0, 640, 480);
    Sprite[s].Object->row(0)[0] = 0;  // the black key
    FillSurface(DDBack, 0x7777);
    kaDraw::Layer(0, 0, s, 0, 0, 2, 1);
    kaDraw::DirectLayer(0, 1, s, 0, 0, 2, 1);
    EXPECT_EQ(Back({{0, 0}, {1, 0}, {0, 1}}), (Pixels{0x7777, N(1, 0), 0}));
}

TEST_F(DrawTest, FillsAreUnclippedAndTheFrameIsAnOutline) {
    kaDraw::Flash();
    kaDraw::ClearFrame(10, 10, 20, 20);
    for (int i = 10; i < 20; ++i) EXPECT_EQ(Back({{i, 10}, {i, 19}, {10, i}, {19, i}}), Pixels(4, 0)) << i;
    kaDraw::VirtualScreen(0, 0, 1, 1);
    kaDraw::ColorFill(630, 0, 640, 2, 0x1234);
    kaDraw::ColorFill(0, 0, 641, 2, 0x4321);  // leaves the surface: refused whole
    const uint16_t w = kaDraw::WhiteRGB;
    EXPECT_EQ(Back({{11, 11}, {18, 18}, {20, 10}, {9, 9}, {635, 0}, {0, 0}}), (Pixels{w, w, w, w, 0x1234, w}));
}

TEST_F(DrawTest, ColorBlendHalfMixesInsideTheVirtualScreenAndTheSurface) {
    EXPECT_EQ(HalfMix(0xFFFF, 0xFFFF, 0x7BEF), 0xF7DE);
    EXPECT_EQ(HalfMix(0x0000, 0xFFFF, 0x7BEF), 0x7BEF);
    EXPECT_EQ(HalfMix(0x7FFF, 0x7FFF, 0x3DEF), 0x7BDE);

    kaDraw::Flash();
    EXPECT_EQ(kaDraw::ColorBlend(0, 0, 4, 4, 0xFFFF), 1);
    EXPECT_EQ(kaDraw::ColorBlend(10, 0, 5, 4, 0), 1);  // inverted: nothing
    EXPECT_EQ(Back({{3, 3}, {4, 3}, {7, 0}}), (Pixels{0xF7DE, 0xFFFF, 0xFFFF}));

    kaDraw::VirtualScreen(100, 100, 110, 110);
    kaDraw::ColorBlend(0, 0, 640, 480, 0);
    EXPECT_EQ(Back({{99, 100}, {109, 109}, {110, 109}}), (Pixels{0xFFFF, 0x7BEF, 0xFFFF}));
    kaDraw::VirtualScreen(-100, -100, 5000, 5000);  // wider than the surface
    EXPECT_EQ(kaDraw::ColorBlend(-100, -100, 5000, 5000, 0), 1);
    EXPECT_EQ(BackPixel(639, 479), 0x7BEF);
}

TEST_F(DrawTest, ReverseTwiceRestoresAndStaysOnTheSurface) {
    int s = NumberedSprite(64, 64);
    kaDraw::DirectLayer(0, 0, s, 0, 0, 64, 64);
    kaDraw::Reverse(5, 5, 20, 30);
    EXPECT_EQ(Back({{5, 5}, {20, 5}}), (Pixels{static_cast<uint16_t>(~N(5, 5)), N(20, 5)}));
    kaDraw::Reverse(5, 5, 20, 30);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) ASSERT_EQ(BackPixel(x, y), N(x, y));
    kaDraw::VirtualScreen(0, 0, 10, 10);  // not clipped by the virtual screen
    kaDraw::Reverse(-50, -50, 700, 500);
    EXPECT_EQ(BackPixel(639, 479), 0xFFFF);

    kaDraw::SpriteScreen(1, 0, 0, 640, 480);  // the whole back surface
    EXPECT_EQ(SpritePixel(1, 639, 479), 0xFFFF);
}
