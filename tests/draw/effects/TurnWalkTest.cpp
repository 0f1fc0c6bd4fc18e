// The rotation family's fast walk against a straightforward one written out
// here from the rules (every box pixel, 64-bit positions, one division per
// axis and pixel): random angles, zooms, boxes, virtual screens and source
// rectangles, in both pixel formats, through the AVX-512 row kernel (where the
// processor has it) and the portable ones; and the exact division it rests on.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "EffectTestSupport.h"
#include "draw/effects/EffectPixels.h"
#include "draw/effects/TurnWalk.h"

using namespace drawtest;
using namespace fxtest;

namespace {

enum class Kind { Rotate, Tile, Zoom, TileZoom, Mystery };

struct TurnCase {
    Kind kind;
    int px1, py1, px2, py2, angle;
    float zoomX, addX, zoomY, addY;  // Zoom is zoomX
    float red, green, blue;
    int obj, x1, y1, x2, y2;
};

int Call(const TurnCase& c) {
    using D = kaDraw;
    switch (c.kind) {
        case Kind::Rotate: return D::RotateLayer(c.px1, c.py1, c.px2, c.py2, c.angle, c.obj, c.x1, c.y1, c.x2, c.y2);
        case Kind::Tile: return D::TileRotateLayer(c.px1, c.py1, c.px2, c.py2, c.angle, c.obj, c.x1, c.y1, c.x2, c.y2);
        case Kind::Zoom:
            return D::ZoomRotateLayer(c.px1, c.py1, c.px2, c.py2, c.angle, c.zoomX, c.obj, c.x1, c.y1, c.x2, c.y2);
        case Kind::TileZoom:
            return D::TileZoomRotateLayer(c.px1, c.py1, c.px2, c.py2, c.angle, c.zoomX, c.obj, c.x1, c.y1, c.x2, c.y2);
        case Kind::Mystery:
            return D::MysteryLayer(c.px1, c.py1, c.px2, c.py2, c.angle, c.zoomX, c.addX, c.zoomY, c.addY, c.red,
                                   c.green, c.blue, c.obj, c.x1, c.y1, c.x2, c.y2);
    }
    return -1;
}

// Source index along one axis for the quotient q = t / 360, or -1.
int64_t Axis(const TurnCase& c, int64_t q, int64_t centre, int64_t size, float zoom) {
    int64_t r = q - centre;
    if (c.kind != Kind::Rotate && c.kind != Kind::Tile) r = kafx::SaturatingInt(static_cast<double>(r) / zoom);
    if (c.kind == Kind::Rotate || c.kind == Kind::Zoom) return r >= 0 && r < size ? r : -1;
    return std::llabs(r) % size;
}

uint16_t Recolour(uint16_t v, const TurnCase& c) {
    const _getrgb& k = GetRGB[v];
    auto part = [](int s, float f) { return kafx::Clamp5(kafx::SaturatingInt(static_cast<double>(s) * f)); };
    return static_cast<uint16_t>((part(k.r, c.red) << kaDraw::ShiftR2) | (part(k.g, c.green) << kaDraw::ShiftG2) |
                                 (part(k.b, c.blue) << kaDraw::ShiftB2));
}

// The rules walked pixel by pixel over the whole box onto a copy of the back
// surface; only what lies in the virtual screen (and the surface) is kept.
std::vector<uint16_t> Reference(const TurnCase& c, std::vector<uint16_t> back) {
    const plat::Surface16& src = *Sprite[c.obj].Object;
    const int64_t bw = int64_t{c.px2} - c.px1, bh = int64_t{c.py2} - c.py1;
    const int64_t w = int64_t{c.x2} - c.x1, h = int64_t{c.y2} - c.y1;
    const int64_t left = std::max(kaDraw::Vx1, 0), top = std::max(kaDraw::Vy1, 0);
    const int64_t right = std::min(kaDraw::Vx2, 640), bottom = std::min(kaDraw::Vy2, 480);
    const int d = static_cast<int>(((c.angle % 360) + 360) % 360);
    const int64_t sinA = kaDraw::RotateData[d], cosA = kaDraw::RotateData[d + 90];
    int64_t w2 = w, h2 = h;
    if (c.kind == Kind::Zoom) {
        w2 = kafx::SaturatingInt(static_cast<double>(w) * c.zoomX);
        h2 = kafx::SaturatingInt(static_cast<double>(h) * c.zoomX);
    }
    const int64_t cx1 = bw >> 1, cy1 = bh >> 1, cx2 = (bw - w2) >> 1, cy2 = (bh - h2) >> 1;
    float zx = c.zoomX, zy = c.kind == Kind::Mystery ? c.zoomY : c.zoomX;
    for (int64_t y = 0; y < bh; ++y) {
        const int64_t by = c.py1 + y;
        if (by >= top && by < bottom) {
            // Box columns outside the screen are never drawn.
            for (int64_t x = std::max<int64_t>(0, left - c.px1); x < std::min(bw, right - c.px1); ++x) {
                const int64_t bx = c.px1 + x;
                const int64_t tx = 360 * cx1 - cx1 * cosA + cy1 * sinA + x * cosA - y * sinA;
                const int64_t ty = 360 * cy1 - cx1 * sinA - cy1 * cosA + x * sinA + y * cosA;
                const int64_t rx = Axis(c, tx / 360, cx2, w, zx), ry = Axis(c, ty / 360, cy2, h, zy);
                if (rx < 0 || ry < 0) continue;
                const uint16_t v = src.row(static_cast<int>(c.y1 + ry))[c.x1 + rx];
                if (v != 0) back[static_cast<size_t>(by * 640 + bx)] = c.kind == Kind::Mystery ? Recolour(v, c) : v;
            }
        }
        if (c.kind == Kind::Mystery) zx = zx + c.addX, zy = zy + c.addY;
    }
    return back;
}

float RandomZoom(std::mt19937& rng) {
    static const float odd[] = {1.0f, 2.0f, 0.5f, -1.0f, 0.0f, 1e-3f, 3.0f, -0.75f};
    if (rng() % 4 == 0) return odd[rng() % 8];
    return std::uniform_real_distribution<float>(0.2f, 3.0f)(rng);
}

TurnCase RandomCase(std::mt19937& rng, Kind kind, int obj, int sw, int sh) {
    auto in = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    TurnCase c{};
    c.kind = kind;
    c.obj = obj;
    c.x1 = in(0, sw - 1), c.x2 = in(c.x1 + 1, sw);
    c.y1 = in(0, sh - 1), c.y2 = in(c.y1 + 1, sh);
    const int bw = rng() % 8 == 0 ? in(0, 2000) : in(1, 260), bh = rng() % 8 == 0 ? in(0, 1500) : in(1, 200);
    c.px1 = in(-bw - 20, 660), c.py1 = in(-bh - 20, 500);
    c.px2 = c.px1 + bw, c.py2 = c.py1 + bh;
    c.angle = rng() % 6 == 0 ? in(-100000, 100000) : in(0, 359);
    if (rng() % 8 == 0) c.angle = in(0, 3) * 90;
    c.zoomX = RandomZoom(rng), c.zoomY = RandomZoom(rng);
    c.addX = std::uniform_real_distribution<float>(-0.01f, 0.02f)(rng);
    c.addY = std::uniform_real_distribution<float>(-0.01f, 0.02f)(rng);
    c.red = std::uniform_real_distribution<float>(0.0f, 1.0f)(rng), c.green = 1.0f, c.blue = 0.5f;
    if (rng() % 5 == 0) c.green = rng() % 2 ? 1.7f : (rng() % 2 ? -0.5f : NAN);  // clamped, or 0
    return c;
}

std::string Describe(const TurnCase& c) {
    char text[256];
    std::snprintf(text, sizeof text, "kind %d box (%d,%d)-(%d,%d) angle %d zoom %g+%g/%g+%g src (%d,%d)-(%d,%d)",
                  static_cast<int>(c.kind), c.px1, c.py1, c.px2, c.py2, c.angle, c.zoomX, c.addX, c.zoomY, c.addY,
                  c.x1, c.y1, c.x2, c.y2);
    return text;
}

void Restore(const std::vector<uint16_t>& snap) {
    for (int y = 0; y < 480; ++y) std::copy_n(&snap[static_cast<size_t>(y) * 640], 640, DDBack->row(y));
}

class TurnWalkTest : public DrawTest {};

}  // namespace

TEST(TurnWalk, Div360IsExactOverItsWholeRange) {
    for (int32_t t = -kafx::kExactTurn; t <= kafx::kExactTurn; ++t)
        if (kafx::Div360(t) != t / 360) FAIL() << t;
}

namespace {

// Both row kernels on the same cases; the AVX-512 one is allowed again after.
class BothKernels : public TurnWalkTest, public testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        TurnWalkTest::SetUp();
        kafx::AllowAvx512Rows(GetParam());
    }
    void TearDown() override {
        kafx::AllowAvx512Rows(true);
        TurnWalkTest::TearDown();
    }
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Kernels, BothKernels, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& i) { return i.param ? "Avx512" : "Portable"; });

TEST_P(BothKernels, EveryMemberMatchesThePixelByPixelWalk) {
    std::mt19937 rng(77);
    for (bool rgb555 : {false, true}) {
        OpenScreen(rgb555);
        kaDraw::SetSpriteColor(0);
        const int obj = RandomSprite(90, 70, 5);
        if (rgb555)  // the bit no field covers, on some pixels: recoloured as black
            for (int y = 0; y < 70; ++y)
                for (int x = y % 7; x < 90; x += 7) Sprite[obj].Object->row(y)[x] |= 0x8000;
        Randomise(DDBack, 11, false);
        const auto noise = Snapshot();
        for (Kind kind : {Kind::Rotate, Kind::Tile, Kind::Zoom, Kind::TileZoom, Kind::Mystery}) {
            for (int i = 0; i < 40; ++i) {
                const TurnCase c = RandomCase(rng, kind, obj, 90, 70);
                if (rng() % 3 == 0)
                    kaDraw::VirtualScreen(rng() % 300, rng() % 200, 300 + rng() % 400, 200 + rng() % 300);
                else
                    kaDraw::VirtualScreen(0, 0, 640, 480);
                Restore(noise);
                const auto expected = Reference(c, noise);
                ASSERT_EQ(Call(c), 1) << Describe(c);
                ASSERT_TRUE(Snapshot() == expected) << Describe(c);
            }
        }
    }
    OpenScreen(false);
}

TEST(TurnWalk, PowersOfTwoAreTheZoomsWhoseQuotientsNeedNoMargin) {
    // Against frexp on random bit patterns and on every edge of the float
    // range: 0, subnormals, the largest values, infinities and NaN.
    std::mt19937 rng(3);
    std::vector<float> values = {0.0f, -0.0f, 1.0f, -0.5f, 0x1p-149f, 0x1p-127f, 0x3p-140f, 0x1p127f, 0x1.8p127f,
                                 INFINITY, -INFINITY, NAN, 3.0f, 0.75f, 1.0f + 0x1p-23f};
    for (int i = 0; i < 100000; ++i) {
        const uint32_t bits = i % 2 ? rng() : (rng() & 0xFF800000u) | (1u << (rng() % 23)) * (rng() % 2);
        float f;
        std::memcpy(&f, &bits, sizeof f);
        values.push_back(f);
    }
    for (float f : values) {
        int e = 0;
        ASSERT_EQ(kafx::PowerOfTwo(f), std::frexp(std::fabs(static_cast<double>(f)), &e) == 0.5) << f;
    }
}

TEST_F(TurnWalkTest, FarBoxesTakeTheWideWalkWithTheSameResult) {
    // Positions past the fast walk's exact range: a box reaching far beyond
    // the screen on every side, and a far-off centre.
    const int obj = RandomSprite(64, 48, 8);
    std::mt19937 rng(5);
    for (Kind kind : {Kind::Rotate, Kind::Tile, Kind::Zoom, Kind::TileZoom, Kind::Mystery}) {
        for (int far : {12000, 100000, 3000000}) {
            TurnCase c = RandomCase(rng, kind, obj, 64, 48);
            c.px1 = -far, c.px2 = far + 300, c.py1 = -far / 2 - 7, c.py2 = 200 + far / 3;
            if (kind == Kind::Mystery) c.py1 = -3000, c.addX = c.addY = 0.0f;  // the reference steps every row
            if (kind == Kind::Zoom || kind == Kind::TileZoom) c.zoomX = 1.0f + far / 1000;
            Randomise(DDBack, 3, false);
            const auto expected = Reference(c, Snapshot());
            ASSERT_EQ(Call(c), 1) << Describe(c);
            ASSERT_TRUE(Snapshot() == expected) << Describe(c);
        }
    }
}

TEST_P(BothKernels, TiledZoomsMatchTheDivisionOverWholeRows) {
    // A one-row source of a prime width, each column its own value, over the
    // whole screen: every box pixel shows which column its zoomed, mirrored
    // and wrapped quotient picked. The zooms step by quarters (whole and
    // power-of-two quotients everywhere) or by odd amounts through 1.
    const int obj = kaDraw::CreateObject(251, 1, 2);
    for (int x = 0; x < 251; ++x) Sprite[obj].Object->row(0)[x] = static_cast<uint16_t>(1 + 257 * x);
    const float steps[][2] = {{0.25f, 0.25f}, {0.9f, 0.0007f}, {-3.0f, 0.013f}, {1.0f / 3.0f, 1.0f / 3.0f}, {40.0f, -0.1f}};
    for (const auto& st : steps) {
        TurnCase c{Kind::Mystery, -7, 0, 633, 480, 0, st[0], st[1], st[0], st[1], 1.0f, 1.0f, 1.0f, obj, 0, 0, 251, 1};
        FillSurface(DDBack, 0x4444);
        const auto expected = Reference(c, Snapshot());
        ASSERT_EQ(Call(c), 1) << Describe(c);
        ASSERT_TRUE(Snapshot() == expected) << Describe(c);
        c.kind = Kind::TileZoom;
        c.angle = 7;
        const auto expected2 = Reference(c, Snapshot());
        ASSERT_EQ(Call(c), 1) << Describe(c);
        ASSERT_TRUE(Snapshot() == expected2) << Describe(c);
    }
}
