// The tunnel table and its drawing, and the light rays: known entries,
// refused tables, every measure staying inside the texture, wrapping of
// Rotate and Dist, cutting to the surface, and the rays' fading steps.
#include <climits>

#include "draw/effects/PhaseTestSupport.h"

using namespace drawtest;
using namespace effecttest;

namespace {

const kaDraw::_tunnellist& Entry(int x, int y) { return TunnelList[y * kaDraw::TunnelDisplayX + x]; }

// A texture whose pixel tells its column and row, none of them 0 except one.
int Texture(int w, int h) {
    const int s = kaDraw::CreateObject(w, h, 2);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) Sprite[s].Object->row(y)[x] = static_cast<uint16_t>(x + 256 * y);
    return s;
}

class TunnelTest : public EffectTest {
protected:
    void SetUp() override {
        EffectTest::SetUp();
        kaDraw::TunnelSpriteX = kaDraw::TunnelSpriteY = kaDraw::TunnelDisplayX = kaDraw::TunnelDisplayY = 0;
    }
};

}  // namespace

TEST_F(TunnelTest, TableFollowsTheAngleAndTheDepth) {
    kaDraw::CreateTunnel(256, 256, 640, 480, -1, -1, -1, 0, 0, 0);
    EXPECT_EQ(kaDraw::TunnelSpriteX, 256);
    EXPECT_EQ(kaDraw::TunnelDisplayY, 480);
    // Centre (320, 240); P = 256 / (2 tan(pi / 16)), f2 = P / 32 = 20.109...:
    // 100 pixels out, v = trunc((400 - 100) * f2 / 100) = 60 in every
    // direction; u is the angle, a quarter turn per 64 columns.
    EXPECT_EQ((std::pair<int, int>{Entry(420, 240).x, Entry(420, 240).y}), (std::pair<int, int>{0, 60}));
    EXPECT_EQ((std::pair<int, int>{Entry(320, 340).x, Entry(320, 340).y}), (std::pair<int, int>{64, 60}));
    EXPECT_EQ((std::pair<int, int>{Entry(220, 240).x, Entry(220, 240).y}), (std::pair<int, int>{128, 60}));
    EXPECT_EQ((std::pair<int, int>{Entry(320, 140).x, Entry(320, 140).y}), (std::pair<int, int>{192, 60}));

    // Every measure, depth rule and centre motion stays inside the texture,
    // also at the centre and on the axes where the values are not finite.
    for (int center = 0; center <= 4; ++center)
        for (int type = 0; type <= 6; ++type)
            for (int line = 0; line <= 5; ++line) {
                kaDraw::CreateTunnel(50, 30, 21, 17, -1, -1, 1, center, type, line);
                int outside = 0;
                for (int i = 0; i < 21 * 17; ++i)
                    outside += TunnelList[i].x < 0 || TunnelList[i].x >= 50 || TunnelList[i].y < 0 || TunnelList[i].y >= 30;
                EXPECT_EQ(outside, 0) << center << " " << type << " " << line;
            }
}

TEST_F(TunnelTest, BadTablesAreRefusedAndTheOldOneStays) {
    kaDraw::CreateTunnel(64, 64, 100, 100, -1, -1, -1, 0, 0, 0);
    const kaDraw::_tunnellist kept = Entry(10, 10);
    const int refused[][10] = {
        {64, 64, 641, 480, -1, -1, -1, 0, 0, 0},        // more entries than the table has
        {64, 64, 100000, 100000, -1, -1, -1, 0, 0, 0},  // whose product would wrap in 32 bits
        {64, 64, -10, -10, -1, -1, -1, 0, 0, 0},        {0, 64, 100, 100, -1, -1, -1, 0, 0, 0},
        {64, 40000, 100, 100, -1, -1, -1, 0, 0, 0},     {64, 64, 100, 100, -1, -1, -1, 0, 7, 0},
        {64, 64, 100, 100, -1, -1, -1, 0, -1, 0},       {64, 64, 100, 100, -1, -1, -1, 0, 0, 6}};
    for (const auto& a : refused) {
        kaDraw::CreateTunnel(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9]);
        EXPECT_EQ(kaDraw::TunnelSpriteX, 64);
        EXPECT_EQ(kaDraw::TunnelDisplayX, 100);
        EXPECT_EQ(Entry(10, 10).x, kept.x);
        EXPECT_EQ(Entry(10, 10).y, kept.y);
    }
    // A centre far outside gives huge distances: they saturate, in range.
    kaDraw::CreateTunnel(64, 64, 30, 30, INT_MAX, INT_MIN, INT_MAX, 0, 0, 3);
    for (int i = 0; i < 900; ++i) ASSERT_TRUE(TunnelList[i].x >= 0 && TunnelList[i].x < 64 && TunnelList[i].y >= 0 && TunnelList[i].y < 64);
}

TEST_F(TunnelTest, DrawingWrapsTheTextureAndCutsToTheSurface) {
    const int s = Texture(64, 32);
    EXPECT_EQ(kaDraw::TunnelLayer(0, 0, 0, 0, s), 0);  // no table yet: nothing
    EXPECT_EQ(BackPixel(5, 5), 0);

    kaDraw::CreateTunnel(64, 32, 200, 100, -1, -1, -1, 0, 0, 0);
    kaDraw::VirtualScreen(50, 50, 60, 60);  // not consulted by the tunnel
    for (const auto& [rotate, dist] : {std::pair{0, 0}, {10, 5}, {-1, -1}, {INT_MIN, INT_MAX}, {640, 64}}) {
        SCOPED_TRACE(testing::Message() << rotate << " " << dist);
        EXPECT_EQ(kaDraw::TunnelLayer(10, 20, rotate, dist, s), 1);
        int wrong = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 200; ++x) {
                const int u = static_cast<int>(((int64_t{Entry(x, y).x} + rotate) % 64 + 64) % 64);
                const int v = static_cast<int>(((int64_t{Entry(x, y).y} + dist) % 32 + 32) % 32);
                wrong += BackPixel(10 + x, 20 + y) != u + 256 * v;
            }
        EXPECT_EQ(wrong, 0);
    }
    // Texel 0 is copied like any other: turned so that pixel (30, 40) shows it.
    FillSurface(DDBack, 0x7777);
    kaDraw::TunnelLayer(10, 20, -Entry(30, 40).x, -Entry(30, 40).y, s);
    EXPECT_EQ(BackPixel(10 + 30, 20 + 40), 0);

    // A picture hanging off any side is cut to the back surface.
    for (const auto& [px, py] : {std::pair{-150, -80}, {600, 450}, {INT_MIN, 0}, {0, INT_MAX}, {639, 479}})
        EXPECT_EQ(kaDraw::TunnelLayer(px, py, 3, 3, s), 1);
    FillSurface(DDBack, 0x7777);
    kaDraw::TunnelLayer(-150, -80, 0, 0, s);
    EXPECT_EQ(BackPixel(0, 0), Entry(150, 80).x + 256 * Entry(150, 80).y);
    EXPECT_EQ(BackPixel(50, 20), 0x7777);

    // A texture larger than the sprite: nothing.
    const int small = Texture(16, 16);
    FillSurface(DDBack, 0x7777);
    EXPECT_EQ(kaDraw::TunnelLayer(0, 0, 0, 0, small), 0);
    EXPECT_EQ(kaDraw::TunnelLayer(0, 0, 0, 0, 999), 0);
    EXPECT_EQ(BackPixel(0, 0), 0x7777);
}

TEST_F(EffectTest, LightRaysFadeStepByStepInTheChosenDirections) {
    const int s = kaDraw::CreateObject(3, 3, 2);
    FillSurface(Sprite[s].Object, 0);
    const uint16_t white = Rgb(31, 31, 31);
    Sprite[s].Object->row(1)[1] = white;
    kaEffect::FireRandomList[0] = 0;
    // Up: the pixel k rows above gets 31 - k, up to 30 rows.
    EXPECT_EQ(kaDraw::LightLayer(99, 99, 0, 0, 0, 0x40, 0, s, 0, 0, 3, 3), 1);
    EXPECT_EQ(Back({{100, 100}, {100, 99}, {100, 90}, {100, 70}, {100, 69}, {101, 99}}),
              (Pixels{0, Rgb(30, 30, 30), Rgb(21, 21, 21), Rgb(1, 1, 1), 0, 0}));
    EXPECT_EQ(kadraw::state::lightCount, 1);

    // Left and right light the source's own position at step 0, both adding;
    // Show draws the pixel first. Shifts dim the channels.
    FillSurface(DDBack, 0);
    kadraw::state::lightCount = 0;
    kaDraw::LightLayer(99, 99, 0, 2, 40, 0x18, 1, s, 0, 0, 3, 3);
    EXPECT_EQ(Back({{100, 100}, {99, 100}, {102, 100}}),
              (Pixels{Rgb(31, 31, 31), Rgb(29, 5, 0), Rgb(28, 4, 0)}));

    // Dir 0 with Show: the sprite as it is, still using up noise values.
    FillSurface(DDBack, 0x1111);
    kaDraw::LightLayer(0, 0, 0, 0, 0, 0, 1, s, 0, 0, 3, 3);
    EXPECT_EQ(Back({{1, 1}, {0, 0}}), (Pixels{white, 0x1111}));
    EXPECT_EQ(kadraw::state::lightCount, 2);
    // Shifts of 5 leave nothing to light.
    FillSurface(DDBack, 0);
    kaDraw::LightLayer(0, 0, 5, 5, 5, 0xFF, 0, s, 0, 0, 3, 3);
    EXPECT_EQ(Back({{1, 0}, {1, 1}, {0, 2}}), Pixels(3, 0));

    // Rays stop at the virtual screen; the cursor wraps to 0.
    FillSurface(DDBack, 0);
    kaDraw::VirtualScreen(0, 95, 640, 480);
    kadraw::state::lightCount = 9999;
    kaEffect::FireRandomList[9999] = 0;
    kaDraw::LightLayer(99, 99, 0, 0, 0, 0x40, 0, s, 0, 0, 3, 3);
    EXPECT_EQ(Back({{100, 95}, {100, 94}}), (Pixels{Rgb(26, 26, 26), 0}));
    EXPECT_EQ(kadraw::state::lightCount, 0);
    // Wholly outside: 1, nothing drawn.
    EXPECT_EQ(kaDraw::LightLayer(-100, -100, 0, 0, 0, 0xFF, 1, s, 0, 0, 3, 3), 1);
}
