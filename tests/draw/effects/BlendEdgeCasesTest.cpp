// The blend and brightness layers on hand-made pixels: the cases whose
// results are easy to get wrong (the table's cross-fade, the float rule,
// subtraction by the source's red, clamped levels), the gradient walks, the
// box blur's window and the edge smoothing's neighbours.
#include "EffectTestSupport.h"

using namespace drawtest;
using namespace fxtest;

namespace {

// Five-bit channels at their 5-6-5 places.
uint16_t P5(int r, int g, int b) { return static_cast<uint16_t>((r << 11) | (g << 6) | b); }

int Solid(int w, int h, uint16_t v) {
    int s = kaDraw::CreateObject(w, h, 2);
    FillSurface(Sprite[s].Object, v);
    return s;
}

// One pixel of sprite value sv drawn over back value dv by draw(sprite).
template <typename Draw>
uint16_t Over(uint16_t sv, uint16_t dv, Draw draw) {
    const int s = Solid(1, 1, sv);
    DDBack->row(0)[0] = dv;
    draw(s);
    kaDraw::FreeObject(s);
    return BackPixel(0, 0);
}

Pixels Row(int y) {
    Pixels p;
    for (int x = 0; x < 8; ++x) p.push_back(BackPixel(x, y));
    return p;
}

}  // namespace

TEST_F(DrawTest, WeightedMixesFollowTheTablesAndTheDoubleRule) {
    auto blend16 = [](int s) { kaDraw::BlendLayer(0, 0, 16, s, 0, 0, 1, 1); };
    EXPECT_EQ(Over(P5(31, 31, 31), P5(31, 31, 31), blend16), P5(31, 31, 31));
    EXPECT_EQ(Over(P5(10, 10, 10), P5(10, 10, 10), blend16), 0) << "not a linear cross-fade";
    EXPECT_EQ(Over(0xFFFF, 0, [](int s) { kaDraw::BlendLayer(0, 0, 31, s, 0, 0, 1, 1); }), 0xFFDF);
    EXPECT_EQ(Over(0, 0, [](int s) { kaDraw::BlendLayer(0, 0, 31, s, 0, 0, 1, 1); }), 0) << "0 is transparent";
    EXPECT_EQ(Over(0x1234, 0xFFFF, [](int s) { kaDraw::BlendLayer(0, 0, 0, s, 0, 0, 1, 1); }), 0xFFDF);
    EXPECT_EQ(Over(0x1234, 0xFFFF, [](int s) { kaDraw::BlendLayer(0, 0, -7, s, 0, 0, 1, 1); }), 0xFFDF) << "clamped to 0";
    EXPECT_EQ(Over(0x07E0, 0x07E0, [](int s) { kaDraw::BlendLayer(0, 0, 0.004f, s, 0, 0, 1, 1); }), 62 << 5)
        << "evaluated in double";
    EXPECT_EQ(Over(0xFFFF, 0, [](int s) { kaDraw::BlendLayer(0, 0, 2.0f, s, 0, 0, 1, 1); }), 0xFFFF)
        << "a weight past 1 saturates each field instead of carrying";
    EXPECT_EQ(Over(0x8410, 0x8410, [](int s) { kaDraw::BlendLayer(0, 0, NAN, s, 0, 0, 1, 1); }), 0);
}

TEST_F(DrawTest, AddSubtractAndBrightnessCases) {
    EXPECT_EQ(Over(P5(20, 31, 1), P5(20, 5, 2), [](int s) { kaDraw::AddBlendLayer(0, 0, s, 0, 0, 1, 1); }),
              P5(31, 31, 3));
    EXPECT_EQ(Over(P5(20, 31, 16), P5(0, 0, 0) | 0x20, [](int s) { kaDraw::AddBlendLayer(0, 0, 0.5f, s, 0, 0, 1, 1); }),
              P5(5, 16, 1)) << "attenuation 15";
    EXPECT_EQ(Over(P5(31, 0, 0), 0xFFFF, [](int s) { kaDraw::DelBlendLayer(0, 0, s, 0, 0, 1, 1); }), 0);
    EXPECT_EQ(Over(P5(0, 0, 31), 0xFFFF, [](int s) { kaDraw::DelBlendLayer(0, 0, s, 0, 0, 1, 1); }), 0xFFDF)
        << "only the source's red subtracts";
    EXPECT_EQ(Over(P5(10, 31, 31), P5(12, 5, 9), [](int s) { kaDraw::DelBlendLayer(0, 0, s, 0, 0, 1, 1); }),
              P5(2, 0, 0));
    EXPECT_EQ(Over(0x07FF, 0x1234, [](int s) { kaDraw::PlainLayer(0, 0, 1, 0, 0, s, 0, 0, 1, 1); }), 0)
        << "no red: written as 0";
    EXPECT_EQ(Over(0xFFFF, 0x1234, [](int s) { kaDraw::BrightLayer(0, 0, 0, s, 0, 0, 1, 1); }), 0);
    EXPECT_EQ(Over(P5(31, 20, 5), 0, [](int s) { kaDraw::BrightLayer(0, 0, 26, s, 0, 0, 1, 1); }), P5(26, 15, 0))
        << "darkened by subtraction";
    EXPECT_EQ(Over(P5(31, 20, 5), 0, [](int s) { kaDraw::BrightLayer(0, 0, 99, 31, -3, s, 0, 0, 1, 1); }),
              P5(31, 20, 0));
    EXPECT_EQ(Over(0xFFFF, 0, [](int s) { kaDraw::BrightLayer(0, 0, 0.5f, s, 0, 0, 1, 1); }), (15 << 11) | (31 << 5) | 15);
    EXPECT_EQ(Over(0xFFFF, 0, [](int s) { kaDraw::GrayLayer(0, 0, s, 0, 0, 1, 1); }), P5(31, 31, 31));
    EXPECT_EQ(Over(P5(1, 1, 0), 0x1234, [](int s) { kaDraw::GrayLayer(0, 0, s, 0, 0, 1, 1); }), 0);
}

TEST_F(DrawTest, GradientsStepEverySizePixelsPastStart) {
    const int s = Solid(8, 3, P5(31, 31, 31));
    // Horizontal, Start 1, Size 2: levels 31 - 28 = 3 until column 2, one
    // lower from column 3, two lower from column 5, restarting every row.
    kaDraw::BlendLayer(0, 0, 28, 28, 28, 0, 1, 2, s, 0, 0, 8, 3);
    for (int y = 0; y < 3; ++y)
        EXPECT_EQ(Row(y), (Pixels{P5(28, 28, 28), P5(28, 28, 28), P5(28, 28, 28), P5(29, 29, 29), P5(29, 29, 29),
                                  P5(30, 30, 30), P5(30, 30, 30), P5(31, 31, 31)}));
    // Vertical: one step per row past Start 0, never reset.
    FillSurface(DDBack, 0);
    kaDraw::BlendLayer(0, 0, 28, 30, 31, 1, 0, 1, s, 0, 0, 8, 3);
    EXPECT_EQ(Back({{0, 0}, {5, 1}, {7, 2}}), (Pixels{P5(28, 30, 31), P5(29, 31, 31), P5(30, 31, 31)}));
    // Start -1 has low bits 65535: no gradient at all.
    FillSurface(DDBack, 0);
    kaDraw::BlendLayer(0, 0, 28, 28, 28, 0, -1, 1, s, 0, 0, 8, 3);
    EXPECT_EQ(Back({{7, 0}, {7, 2}}), (Pixels{P5(28, 28, 28), P5(28, 28, 28)}));
    // Float: each step takes 1/32 from the back weight, floored at 0.
    const int g = Solid(6, 1, 0x07E0);  // green 63
    FillSurface(DDBack, 0);
    kaDraw::BlendLayer(0, 0, 0.5f, 0.5f, 0.5f, 0, 0, 1, g, 0, 0, 6, 1);
    for (int x = 0; x < 6; ++x) {
        const double w = x == 0 ? 0.5 : 0.5 + x / 32.0;
        EXPECT_EQ(BackPixel(x, 0), static_cast<int>(63 * w) << 5) << x;
    }
    kaDraw::BlendLayer(0, 0, 0.99f, 0.99f, 0.99f, 1, 0, 1, g, 0, 0, 6, 1);
    EXPECT_EQ(BackPixel(0, 0), 62 << 5);
}

TEST_F(DrawTest, BoxBlurKeepsItsWindowInsideAndSumsWithoutWrapping) {
    const int s = RandomSprite(40, 30, 31, false);
    kaDraw::ShadeLayer(0, 0, 1, s, 0, 0, 40, 30);
    const auto one = Snapshot();
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            _getrgb c = GetRGB[Sprite[s].Object->row(y)[x]];
            ASSERT_EQ(BackPixel(x, y), P5(c.r, c.g, c.b));
        }
    kaDraw::ShadeLayer(0, 0, 0, s, 0, 0, 40, 30);
    EXPECT_EQ(Snapshot(), one) << "Shade below 1 blurs as 1";
    // Shade 3 against a plain sum over the window, moved inside at the edges.
    kaDraw::ShadeLayer(0, 0, 3, s, 0, 0, 40, 30);
    for (int y : {0, 13, 27, 29})
        for (int x : {0, 20, 37, 39}) {
            int r = 0, gg = 0, b = 0;
            for (int j = std::min(y, 27); j < std::min(y, 27) + 3; ++j)
                for (int i = std::min(x, 37); i < std::min(x, 37) + 3; ++i) {
                    _getrgb c = GetRGB[Sprite[s].Object->row(j)[i]];
                    r += c.r, gg += c.g, b += c.b;
                }
            EXPECT_EQ(BackPixel(x, y), P5(r / 9, gg / 9, b / 9)) << x << "," << y;
        }
    // 64 x 64 white pixels sum past 16 bits; larger than the area: the area.
    const int w = Solid(64, 64, 0xFFFF);
    kaDraw::ShadeLayer(100, 100, 64, w, 0, 0, 64, 64);
    kaDraw::ShadeLayer(200, 100, 5000, w, 0, 0, 64, 20);
    EXPECT_EQ(Back({{100, 100}, {163, 163}, {263, 119}}), (Pixels{0xFFDF, 0xFFDF, 0xFFDF}));
}

TEST_F(DrawTest, EdgeSmoothingAveragesWithTheBackUnderTransparentNeighbours) {
    const int s = Solid(3, 3, P5(30, 30, 30));
    Sprite[s].Object->row(1)[0] = 0;
    FillSurface(DDBack, P5(0, 3, 6));
    kaDraw::EdgeBlendLayer(10, 10, s, 0, 0, 3, 3);
    // (1,1) and the corners next to (0,1) have one transparent neighbour;
    // (2,1) has none and the border does not look outside the rectangle.
    EXPECT_EQ(Back({{11, 11}, {10, 10}, {10, 12}, {12, 11}, {12, 10}, {10, 11}}),
              (Pixels{P5(15, 16, 18), P5(15, 16, 18), P5(15, 16, 18), P5(30, 30, 30), P5(30, 30, 30), P5(0, 3, 6)}));
}
