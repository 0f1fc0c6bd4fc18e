// The geometric layers on small numbered sprites: rotation centring, turning
// direction and angle reduction, tiling of negative offsets, zooms, the mirror
// under clipping, the smear modes with their fill passes, the displacement,
// the mesh points and both stretch paths.
#include <climits>
#include <cmath>

#include "EffectTestSupport.h"
#include "platform/Blit.h"

using namespace drawtest;
using namespace fxtest;

namespace {

// Pixel (x, y) holds 1 + x + 100 * y: never 0, and it tells where it came from.
uint16_t N(int x, int y) { return static_cast<uint16_t>(1 + x + 100 * y); }

int Numbered(int w, int h) {
    int s = kaDraw::CreateObject(w, h, 2);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) Sprite[s].Object->row(y)[x] = N(x, y);
    return s;
}

Pixels Row(int y, int x1, int x2) {
    Pixels p;
    for (int x = x1; x < x2; ++x) p.push_back(BackPixel(x, y));
    return p;
}

class GeometryTest : public DrawTest {
protected:
    void TearDown() override { kaDraw::UseStretch = 1; }
};

}  // namespace

TEST_F(GeometryTest, RotationAtZeroCopiesAndCentresASmallerSource) {
    const int s = Numbered(8, 6);
    EXPECT_EQ(kaDraw::RotateLayer(100, 100, 108, 106, 0, s, 0, 0, 8, 6), 1);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_EQ(BackPixel(100 + x, 100 + y), N(x, y));
    FillSurface(DDBack, 0x4444);
    EXPECT_EQ(kaDraw::RotateLayer(200, 200, 212, 210, 0, s, 0, 0, 8, 6), 1);
    EXPECT_EQ(Back({{202, 202}, {209, 207}, {201, 202}, {210, 207}, {202, 208}}),
              (Pixels{N(0, 0), N(7, 5), 0x4444, 0x4444, 0x4444}));
}

TEST_F(GeometryTest, NinetyDegreesTurnsCounterClockwiseAndLeavesTheTopRowOfAnEvenBoxEmpty) {
    const int s = Numbered(4, 4);
    FillSurface(DDBack, 0x4444);
    EXPECT_EQ(kaDraw::RotateLayer(10, 10, 14, 14, 90, s, 0, 0, 4, 4), 1);
    EXPECT_EQ(Row(10, 10, 14), Pixels(4, 0x4444));
    for (int y = 1; y < 4; ++y)
        for (int x = 0; x < 4; ++x) ASSERT_EQ(BackPixel(10 + x, 10 + y), N(4 - y, x)) << x << "," << y;
    // The source's bottom row ends up in the right-hand column.
    EXPECT_EQ(BackPixel(13, 12), N(2, 3));
}

TEST_F(GeometryTest, AnglesAreTakenModulo360) {
    const int s = Numbered(20, 16);
    kaDraw::RotateLayer(0, 0, 30, 30, 10, s, 0, 0, 20, 16);
    const auto ten = Snapshot();
    for (int angle : {370, -350, 360 * 1000 + 10, INT_MIN + 2}) {
        FillSurface(DDBack, 0);
        EXPECT_EQ(kaDraw::RotateLayer(0, 0, 30, 30, angle, s, 0, 0, 20, 16), 1);
        if (angle != INT_MIN + 2) {
            EXPECT_EQ(Snapshot(), ten) << angle;
        }
    }
}

TEST_F(GeometryTest, TilesMirrorNegativeOffsetsBeforeWrapping) {
    const int s = Numbered(4, 4);
    EXPECT_EQ(kaDraw::TileRotateLayer(0, 0, 8, 4, 0, s, 0, 0, 4, 4), 1);
    // Source column |x - 2| mod 4 (the box is 4 wider than the source).
    EXPECT_EQ(Row(0, 0, 8), (Pixels{N(2, 0), N(1, 0), N(0, 0), N(1, 0), N(2, 0), N(3, 0), N(0, 0), N(1, 0)}));
    EXPECT_EQ(kaDraw::TileZoomRotateLayer(0, 10, 8, 14, 0, 2.0f, s, 0, 0, 4, 4), 1);
    EXPECT_EQ(Row(10, 0, 8), (Pixels{N(1, 0), N(0, 0), N(0, 0), N(0, 0), N(1, 0), N(1, 0), N(2, 0), N(2, 0)}));
    EXPECT_EQ(kaDraw::TileRotateLayer(0, 0, 8, 8, 0, s, 0, 0, 0, 4), 0) << "nothing to tile with";
    EXPECT_EQ(kaDraw::MysteryLayer(0, 0, 8, 8, 0, 1.0f, 0, 1.0f, 0, 1.0f, 1.0f, 1.0f, s, 2, 0, 2, 4), 0);
}

TEST_F(GeometryTest, ZoomsScaleAboutTheBoxAndDegenerateZoomsStaySafe) {
    const int s = Numbered(4, 4);
    EXPECT_EQ(kaDraw::ZoomRotateLayer(0, 0, 8, 8, 0, 2.0f, s, 0, 0, 4, 4), 1);
    EXPECT_EQ(Row(3, 0, 8), (Pixels{N(0, 1), N(0, 1), N(1, 1), N(1, 1), N(2, 1), N(2, 1), N(3, 1), N(3, 1)}));
    // A mystery zoom growing row by row, recoloured to half red.
    kaDraw::MysteryLayer(0, 20, 4, 24, 0, 1.0f, 1.0f, 1.0f, 0.0f, 0.5f, 1.0f, 1.0f, s, 0, 0, 4, 4);
    auto half = [](uint16_t p) { _getrgb c = GetRGB[p]; return static_cast<uint16_t>(((c.r / 2) << 11) | (c.g << 6) | c.b); };
    EXPECT_EQ(BackPixel(3, 20), half(N(3, 0)));
    EXPECT_EQ(BackPixel(3, 21), half(N(1, 1))) << "zoom 2 in the second row";
    FillSurface(DDBack, 0x4444);
    const auto before = Snapshot();
    for (float z : {0.0f, -0.0f, NAN, INFINITY, 1e-30f}) {
        EXPECT_EQ(kaDraw::ZoomRotateLayer(0, 0, 64, 64, 45, z, s, 0, 0, 4, 4), 1);
        EXPECT_EQ(kaDraw::TileZoomRotateLayer(0, 0, 64, 64, 45, z, s, 0, 0, 4, 4), 1);
        EXPECT_EQ(kaDraw::MysteryLayer(0, 0, 64, 64, 45, z, z, z, -z, 1.0f, 1.0f, 1.0f, s, 0, 0, 4, 4), 1);
    }
    EXPECT_EQ(ChangedOutside(before, 0, 0, 64, 64), 0);
    // A box far above the screen still steps its zooms once per hidden row,
    // in bounded time.
    EXPECT_EQ(kaDraw::MysteryLayer(0, INT_MIN, 64, 100, 0, 1.0f, 1e-7f, 1.0f, 1e-7f, 1.0f, 1.0f, 1.0f, s, 0, 0, 4, 4), 1);
}

TEST_F(GeometryTest, MirrorsShowTheMirrorImageOfTheVisiblePart) {
    const int s = Numbered(4, 3);
    EXPECT_EQ(kaDraw::MirrorLayer(10, 0, 1, s, 0, 0, 4, 3), 1);
    EXPECT_EQ(Row(0, 10, 14), (Pixels{N(3, 0), N(2, 0), N(1, 0), N(0, 0)}));
    EXPECT_EQ(kaDraw::MirrorLayer(20, 0, 2, s, 0, 0, 4, 3), 1);
    EXPECT_EQ(Back({{20, 0}, {23, 2}}), (Pixels{N(0, 2), N(3, 0)}));
    EXPECT_EQ(kaDraw::MirrorLayer(30, 0, 3, s, 0, 0, 4, 3), 1);
    EXPECT_EQ(Back({{30, 0}, {33, 2}}), (Pixels{N(3, 2), N(0, 0)}));
    // Clipped on the mirrored side, left and right, with the virtual
    // screen away from the origin: column Px + k still shows 3 - k.
    kaDraw::VirtualScreen(50, 50, 52, 60);
    EXPECT_EQ(kaDraw::MirrorLayer(48, 50, 1, s, 0, 0, 4, 3), 1);
    EXPECT_EQ(Row(50, 50, 52), (Pixels{N(1, 0), N(0, 0)}));
    EXPECT_EQ(kaDraw::MirrorLayer(50, 51, 1, s, 0, 0, 4, 3), 1);
    EXPECT_EQ(Row(51, 50, 52), (Pixels{N(3, 0), N(2, 0)}));
    EXPECT_EQ(kaDraw::MirrorLayer(49, 48, 3, s, 0, 0, 4, 3), 1);
    EXPECT_EQ(Row(50, 50, 52), (Pixels{N(2, 0), N(1, 0)})) << "top clipped by 2: row 50 shows source row 0";
    kaDraw::VirtualScreen(0, 0, 640, 480);
    const auto before = Snapshot();
    DDBack->markLost();
    EXPECT_EQ(kaDraw::MirrorLayer(100, 100, 5, s, 0, 0, 4, 3), 0) << "an unknown mode still locks";
    DDBack->restore();
    EXPECT_EQ(kaDraw::MirrorLayer(100, 100, 5, s, 0, 0, 4, 3), 1);
    EXPECT_EQ(kaDraw::MirrorLayer(100, 100, 7, s, 30, 30, 90, 90), 1) << "reads nothing, so nothing to refuse";
    EXPECT_EQ(ChangedOutside(before, 0, 0, 0, 0), 0);
}

TEST_F(GeometryTest, SmearsRepeatOneColumnOrRowAndFillOnlyWhatIsVisible) {
    const int s = Numbered(4, 3);
    Sprite[s].Object->row(1)[0] = 0;
    FillSurface(DDBack, 0x4444);
    // Mode 0, Start 0: each row's first pixel to the right edge of the screen.
    EXPECT_EQ(kaDraw::PickLayer(10, 5, 0, 0, s, 0, 0, 4, 3), 1);
    EXPECT_EQ(Back({{10, 5}, {639, 5}, {9, 5}, {300, 6}, {639, 7}}), (Pixels{N(0, 0), N(0, 0), 0x4444, 0x4444, N(0, 2)}));
    // Mode 1, Start 1: columns up to 1 show column 1, the rest the source;
    // the fill pass paints the row from column 0 (here the virtual screen's
    // left edge) up to the drawn area.
    FillSurface(DDBack, 0x4444);
    kaDraw::VirtualScreen(3, 0, 640, 480);
    EXPECT_EQ(kaDraw::PickLayer(8, 20, 1, 1, s, 0, 0, 4, 3), 1);
    EXPECT_EQ(Row(20, 2, 12), (Pixels{0x4444, N(1, 0), N(1, 0), N(1, 0), N(1, 0), N(1, 0), N(1, 0), N(1, 0), N(2, 0), N(3, 0)}));
    EXPECT_EQ(kaDraw::PickLayer(8, 20, 1, 4, s, 0, 0, 4, 3), 0) << "Start outside the drawn columns";
    EXPECT_EQ(kaDraw::PickLayer(8, 20, 1, -1, s, 0, 0, 4, 3), 0);
    // Mode 2 repeats row Start downward to the screen's bottom; mode 3 fills
    // the rows above and shows row Start up to it.
    kaDraw::VirtualScreen(0, 0, 640, 480);
    FillSurface(DDBack, 0x4444);
    EXPECT_EQ(kaDraw::PickLayer(100, 400, 2, 0, s, 0, 0, 4, 3), 1);
    EXPECT_EQ(Back({{101, 400}, {101, 479}, {101, 399}}), (Pixels{N(1, 0), N(1, 0), 0x4444}));
    FillSurface(DDBack, 0x4444);
    EXPECT_EQ(kaDraw::PickLayer(100, 50, 3, 1, s, 0, 0, 4, 3), 1);
    EXPECT_EQ(Back({{100, 0}, {100, 49}, {100, 50}, {101, 51}, {101, 52}, {104, 0}}),
              (Pixels{0, 0, 0x4444, N(1, 1), N(1, 2), 0x4444}));
    EXPECT_EQ(kaDraw::PickLayer(100, 50, 3, 3, s, 0, 0, 4, 3), 0);
    EXPECT_EQ(kaDraw::PickLayer(100, 50, 9, 3, s, 0, 0, 4, 3), 1);
}

TEST_F(GeometryTest, ShiftPullsUpFromRowsBelowWithinTheDrawnArea) {
    const int s = kaDraw::CreateObject(2, 40, 2);
    FillSurface(Sprite[s].Object, 0xF800);  // red 31
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) DDBack->row(y)[x] = static_cast<uint16_t>(y + 1);
    EXPECT_EQ(kaDraw::ShiftLayer(0, 0, 0.0f, s, 0, 0, 2, 40), 1);
    EXPECT_EQ(Back({{0, 0}, {1, 39}}), (Pixels{1, 40}));
    EXPECT_EQ(kaDraw::ShiftLayer(0, 0, 1.0f, s, 0, 0, 2, 40), 1);
    EXPECT_EQ(Back({{0, 0}, {1, 8}, {0, 9}, {0, 39}, {2, 0}}), (Pixels{32, 40, 10, 40, 1}));
    // A very large Shift reaches past every drawn row: nothing moves.
    const auto before = Snapshot();
    EXPECT_EQ(kaDraw::ShiftLayer(0, 100, 40.0f, s, 0, 0, 2, 40), 1);
    EXPECT_EQ(kaDraw::ShiftLayer(0, 100, 1e30f, s, 0, 0, 2, 40), 1);
    EXPECT_EQ(kaDraw::ShiftLayer(0, 100, -1e30f, s, 0, 0, 2, 40), 1);
    EXPECT_EQ(ChangedOutside(before, 0, 0, 0, 0), 0);
    // NaN converts to 0 like every float result here: St 0, the full shift.
    EXPECT_EQ(kaDraw::ShiftLayer(0, 100, NAN, s, 0, 0, 2, 40), 1);
    EXPECT_EQ(BackPixel(0, 100), 132);
}

TEST_F(GeometryTest, MeshPlotsEveryStepthPixelIncludingZeros) {
    const int s = Numbered(8, 8);
    Sprite[s].Object->row(2)[2] = 0;
    FillSurface(DDBack, 0x4444);
    EXPECT_EQ(kaDraw::MeshLayer(50, 50, 0, 3, 2, 1.0f, 0.0f, s, 0, 0, 8, 8), 1);
    EXPECT_EQ(Back({{50, 50}, {56, 56}, {51, 50}, {52, 52}}), (Pixels{N(0, 0), N(6, 6), 0x4444, 0}));
    // A sheared, rippled mesh keeps its points on the visible surface.
    kaDraw::VirtualScreen(-50, -50, 700, 700);
    const int big = RandomSprite(200, 200, 9);
    EXPECT_EQ(kaDraw::MeshLayer(500, 400, 40, 5, 1, 1.5f, 0.7f, big, 0, 0, 200, 200), 1);
    EXPECT_EQ(kaDraw::MeshLayer(0, 0, 4, 3, 0, 1.0f, 0.0f, s, 0, 0, 8, 8), 0) << "Step 0 never ends";
    EXPECT_EQ(kaDraw::MeshLayer(0, 0, 4, 3, INT_MAX, 1.0f, 0.0f, s, 0, 0, 8, 8), 1);
}

TEST_F(GeometryTest, HardwareStretchClipsLikeTheWholeStretchAndKeysOnTheSpriteKey) {
    kaDraw::SetSpriteColor(0xFF0000);  // blue key
    const int s = RandomSprite(5, 5, 4, false);
    const uint16_t key = Sprite[s].Object->colorKey();
    Sprite[s].Object->row(0)[0] = key;
    Sprite[s].Object->row(0)[1] = 0;
    // The whole stretch, drawn unclipped onto a large scratch surface.
    plat::Surface16 whole(20, 20);
    FillSurface(&whole, 0x4444);
    ASSERT_EQ(plat::reference::Blt(whole, {0, 0, 20, 20}, *Sprite[s].Object, {0, 0, 5, 5}, true), plat::kOk);
    FillSurface(DDBack, 0x4444);
    kaDraw::UseStretch = 1;
    kaDraw::StretchLayer(-7, 470, s, 0, 0, 5, 5, 20, 20);
    for (int y = 470; y < 480; ++y)
        for (int x = 0; x < 13; ++x) ASSERT_EQ(BackPixel(x, y), whole.row(y - 470)[x + 7]) << x << "," << y;
    EXPECT_EQ(Back({{13, 470}, {0, 469}}), (Pixels{0x4444, 0x4444}));
    kaDraw::VirtualScreen(100, 100, 110, 110);
    kaDraw::DirectStretchLayer(95, 95, s, 0, 0, 5, 5, 20, 20);
    EXPECT_EQ(Back({{100, 100}, {109, 109}, {99, 100}, {110, 109}}),
              (Pixels{Sprite[s].Object->row(1)[1], Sprite[s].Object->row(3)[3], 0x4444, 0x4444}));
}

TEST_F(GeometryTest, FallbackStretchGoesThroughTheBufferAndNeverShowsAStaleOne) {
    kaDraw::UseStretch = 0;
    kaDraw::SetSpriteColor(0xFF0000);
    const int s = RandomSprite(5, 5, 4, false);
    Sprite[s].Object->row(0)[0] = 0;  // black: transparent on this path
    FillSurface(DDBack, 0x4444);
    kaDraw::StretchLayer(10, 10, s, 0, 0, 5, 5, 10, 10);
    EXPECT_EQ(Back({{10, 10}, {11, 11}, {12, 12}}), (Pixels{0x4444, 0x4444, Sprite[s].Object->row(1)[1]}));
    EXPECT_EQ(SpritePixel(0, 2, 2), Sprite[s].Object->row(1)[1]) << "the Buffer keeps the stretched copy";
    kaDraw::DirectStretchLayer(30, 10, s, 0, 0, 5, 5, 10, 10);
    EXPECT_EQ(BackPixel(30, 10), 0);
    // A copy into the Buffer that cannot happen draws nothing at all.
    FillSurface(Sprite[0].Object, 0x7777);
    FillSurface(DDBack, 0x4444);
    const auto before = Snapshot();
    kaDraw::StretchLayer(0, 0, s, 0, 0, 5, 5, 641, 10);
    kaDraw::DirectStretchLayer(0, 0, s, 0, 0, 6, 5, 10, 10);
    kaDraw::DirectStretchLayer(0, 0, s, 3, 0, 3, 5, 10, 10);
    kaDraw::DirectStretchLayer(0, 0, 999, 0, 0, 5, 5, 10, 10);
    EXPECT_EQ(ChangedOutside(before, 0, 0, 0, 0), 0);
}
