// kaDraw's vector drawing on the back surface: RGB colours in and out, the
// pen and box rules as the framework calls them, the fill modes of
// FillPattern, and clipping to the surface rather than the virtual screen.
#include "DrawFixture.h"

#include "platform/DrawContext.h"
#include "platform/Painter.h"

using namespace drawtest;

namespace {

uint16_t P(uint32_t rgb) { return plat::PixelFromColorRef(plat::GetPixelFormat(), rgb); }

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};
std::ostream& operator<<(std::ostream& os, const Rgb& c) { return os << c.r << "," << c.g << "," << c.b; }

Rgb ColorAt(int x, int y) {
    Rgb c{-1, -1, -1};
    kaDraw::GetColor(x, y, &c.r, &c.g, &c.b);
    return c;
}

constexpr uint32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kWhite = 0xFFFFFF;

}  // namespace

TEST_F(DrawTest, GetColorReportsTheSurfaceColourWidenedToEightBits) {
    const struct {
        uint32_t color;
        Rgb in565, in555;
    } cases[] = {
        {kWhite, {255, 255, 255}, {255, 255, 255}},
        {0x000000, {0, 0, 0}, {0, 0, 0}},
        {0x0080FF, {255, 130, 0}, {255, 132, 0}},  // green 128 keeps 6 or 5 bits
        {0x203040, {66, 48, 33}, {66, 49, 33}},
    };
    for (bool rgb555 : {false, true}) {
        OpenScreen(rgb555);
        for (const auto& c : cases) {
            kaDraw::Pixel(7, 3, c.color);
            EXPECT_EQ(ColorAt(7, 3), rgb555 ? c.in555 : c.in565) << std::hex << c.color << (rgb555 ? " 555" : " 565");
        }
    }
    OpenScreen(false);
    kaDraw::Pixel(0, 0, kWhite);
    for (auto [x, y] : {std::pair{-1, 0}, {640, 0}, {0, 480}, {0, -1}}) EXPECT_EQ(ColorAt(x, y), (Rgb{0, 0, 0}));
    kaDraw::GetColor(0, 0, nullptr, nullptr, nullptr);  // outputs may be left out
}

TEST_F(DrawTest, LinesAndBoxesKeepThePenAndRectangleRules) {
    kaDraw::Line(10, 10, 20, 10, kRed, 1);
    kaDraw::Line(10, 30, 20, 30, kRed, 0);  // 0 is the 1-pixel pen too
    EXPECT_EQ(Back({{10, 10}, {19, 10}, {20, 10}, {19, 30}, {20, 30}, {15, 11}}),
              (Pixels{P(kRed), P(kRed), 0, P(kRed), 0, 0}));
    kaDraw::Line(10, 50, 20, 50, kGreen, 3);
    EXPECT_EQ(Back({{15, 49}, {15, 50}, {15, 51}, {15, 48}, {15, 52}, {21, 50}}),
              (Pixels{P(kGreen), P(kGreen), P(kGreen), 0, 0, P(kGreen)}));

    kaDraw::Box(100, 100, 110, 108, kBlue, kWhite, 1);
    EXPECT_EQ(Back({{100, 100}, {109, 107}, {110, 107}, {109, 108}, {105, 104}, {101, 101}}),
              (Pixels{P(kWhite), P(kWhite), 0, 0, P(kBlue), P(kBlue)}));
}

TEST_F(DrawTest, DrawingClipsToTheSurfaceNotToTheVirtualScreen) {
    kaDraw::VirtualScreen(100, 100, 200, 200);
    kaDraw::Line(-50, 5, 700, 5, kRed, 1);
    kaDraw::Box(630, 470, 700, 500, kBlue, kBlue, 1);
    kaDraw::Pixel(0, 0, kWhite);
    kaDraw::Pixel(640, 0, kWhite);
    EXPECT_EQ(Back({{0, 5}, {639, 5}, {639, 479}, {0, 0}}), (Pixels{P(kRed), P(kRed), P(kBlue), P(kWhite)}));
}

TEST_F(DrawTest, FillPatternFillsByItsFlag) {
    // A square on a grey background; its inside tells the fill mode.
    constexpr uint16_t kGrey = 0x4208;
    tagPOINT square[] = {{40, 40}, {80, 40}, {80, 80}, {40, 80}};
    const struct {
        int flag;
        bool front, back, grey;  // colours found inside
    } cases[] = {
        {0, false, false, true},  // the outline only
        {1, true, true, false},   // hatch on the back colour
        {2, true, false, true},   // hatch with transparent gaps
        {5, true, true, false},   // any other value: as 1
    };
    for (const auto& c : cases) {
        FillSurface(DDBack, kGrey);
        kaDraw::FillPattern(square, 4, kRed, kBlue, 1, c.flag);
        bool front = false, back = false, grey = false;
        for (int y = 41; y < 79; ++y)
            for (int x = 41; x < 79; ++x) {
                const uint16_t p = BackPixel(x, y);
                front |= p == P(kRed), back |= p == P(kBlue), grey |= p == kGrey;
            }
        EXPECT_EQ(front, c.front) << "flag " << c.flag;
        EXPECT_EQ(back, c.back) << "flag " << c.flag;
        EXPECT_EQ(grey, c.grey) << "flag " << c.flag;
        EXPECT_EQ(Back({{40, 40}, {60, 80}, {80, 60}, {39, 60}, {81, 60}}),
                  (Pixels{P(kRed), P(kRed), P(kRed), kGrey, kGrey}))
            << "outline in the front colour, flag " << c.flag;
    }
    // The hatch sits on the surface's grid whatever the polygon's position.
    FillSurface(DDBack, kGrey);
    kaDraw::FillPattern(square, 4, kRed, kBlue, 1, 1);
    EXPECT_EQ(Back({{48, 48}, {56, 48}, {52, 52}, {49, 48}}), (Pixels{P(kRed), P(kRed), P(kRed), P(kBlue)}));
}

TEST_F(DrawTest, BadPointListsAndALostSurfaceDrawNothing) {
    tagPOINT curve[] = {{10, 10}, {20, 0}, {30, 20}, {40, 10}, {50, 0}};
    kaDraw::FillPattern(nullptr, 4, kRed, kBlue, 1, 1);
    kaDraw::FillPattern(curve, -3, kRed, kBlue, 1, 1);
    kaDraw::Bezier(nullptr, 4, kRed, 1);
    kaDraw::Bezier(curve, 5, kRed, 1);   // not 1 + 3n
    kaDraw::Bezier(curve, -2, kRed, 1);
    DDBack->markLost();
    kaDraw::Line(0, 0, 100, 100, kRed, 3);
    kaDraw::Box(0, 0, 100, 100, kRed, kRed, 1);
    kaDraw::Bezier(curve, 4, kRed, 1);
    kaDraw::Pixel(1, 1, kRed);
    EXPECT_EQ(ColorAt(0, 0), (Rgb{0, 0, 0}));
    DDBack->restore();
    int drawn = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 120; ++x) drawn += BackPixel(x, y) != 0;
    EXPECT_EQ(drawn, 0);
    kaDraw::Bezier(curve, 4, kRed, 2);
    EXPECT_NE(BackPixel(10, 10), 0);
}

TEST_F(DrawTest, DrawingLeavesTheCallersOwnContextOpen) {
    kaDraw::GetDC();
    plat::DrawContext* const own = hdc;
    ASSERT_NE(own, nullptr);
    tagPOINT points[] = {{10, 10}, {20, 0}, {30, 20}, {40, 10}};
    kaDraw::Pixel(1, 1, kRed);
    kaDraw::Line(0, 0, 50, 50, kRed, 2);
    kaDraw::Box(60, 60, 70, 70, kRed, kBlue, 1);
    kaDraw::FillPattern(points, 4, kRed, kBlue, 1, 1);
    kaDraw::Bezier(points, 4, kRed, 1);
    ColorAt(1, 1);
    EXPECT_EQ(hdc, own);
    // The caller's context still draws where it did.
    plat::DrawLine(*hdc->surface(), {0, 200}, {10, 200}, {P(kGreen), 1});
    EXPECT_EQ(BackPixel(5, 200), P(kGreen));
    kaDraw::ReleaseDC();
    EXPECT_EQ(hdc, nullptr);
}
