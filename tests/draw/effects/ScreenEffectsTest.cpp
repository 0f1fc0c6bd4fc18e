// The whole-screen effects: fire decisions and borders, the in-place order
// of the blur, the enlargement blocks, the disc of the round mosaic, the
// noise clamps and cursors, and rectangles that leave the surface.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

#include "draw/effects/PhaseTestSupport.h"

using namespace drawtest;
using namespace effecttest;

namespace {

// A busy picture over the whole back surface, no two neighbours alike.
void PaintBack() {
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) DDBack->row(y)[x] = static_cast<uint16_t>((x * 37 + y * 101) * 2654435761u >> 16);
}

uint16_t Mean(uint16_t a, uint16_t b, uint16_t c, uint16_t d) {
    const _getrgb p = GetRGB[a], q = GetRGB[b], s = GetRGB[c], t = GetRGB[d];
    return Rgb((p.r + q.r + s.r + t.r) >> 2, (p.g + q.g + s.g + t.g) >> 2, (p.b + q.b + s.b + t.b) >> 2);
}

}  // namespace

TEST_F(EffectTest, ShadeBlursInPlaceAndKeepsTheBorder) {
    PaintBack();
    // A 3x3 rectangle: only its centre changes, from the four neighbours.
    const uint16_t l = BackPixel(10, 11), r = BackPixel(12, 11), u = BackPixel(11, 10), d = BackPixel(11, 12);
    const Pixels border = Back({{10, 10}, {12, 10}, {10, 12}, {12, 12}, {10, 11}});
    EXPECT_EQ(kaEffect::Shade(10, 10, 3, 3), 1);
    EXPECT_EQ(BackPixel(11, 11), Mean(l, r, u, d));
    EXPECT_EQ(Back({{10, 10}, {12, 10}, {10, 12}, {12, 12}, {10, 11}}), border);

    // In place, left to right and top to bottom: the second pixel of a row
    // reads the first one's new value, and the second row the first's.
    PaintBack();
    const uint16_t p11 = Mean(BackPixel(100, 101), BackPixel(102, 101), BackPixel(101, 100), BackPixel(101, 102));
    const uint16_t p21 = Mean(p11, BackPixel(103, 101), BackPixel(102, 100), BackPixel(102, 102));
    const uint16_t p12 = Mean(BackPixel(100, 102), BackPixel(102, 102), p11, BackPixel(101, 103));
    kaEffect::Shade(100, 100, 5, 5);
    EXPECT_EQ(Back({{101, 101}, {102, 101}, {101, 102}}), (Pixels{p11, p21, p12}));

    // Two pixels wide or high, or none: nothing changes.
    PaintBack();
    const Pixels before = Back({{201, 201}, {301, 301}, {400, 400}});
    kaEffect::Shade(200, 200, 2, 40);
    kaEffect::Shade(300, 300, 40, 2);
    kaEffect::Shade(400, 400, 0, 0);
    EXPECT_EQ(Back({{201, 201}, {301, 301}, {400, 400}}), before);

    // Fading: white turns 30 in the first inner pixel, the border stays.
    FillSurface(DDBack, static_cast<uint16_t>(kaDraw::WhiteRGB));
    kaEffect::Shade(1, 1, 1, 0, 0, 4, 4);
    const uint16_t white = static_cast<uint16_t>(kaDraw::WhiteRGB);
    EXPECT_EQ(Back({{1, 1}, {0, 0}, {3, 1}}), (Pixels{Rgb(30, 30, 30), white, white}));
}

// The blur on a busy picture, in 5-6-5 and 5-5-5, against the plain
// definition: each inner pixel, in order, the mean of its four neighbours
// as they are at that moment, then the flagged channels faded.
TEST_F(EffectTest, ShadeMatchesThePlainDefinition) {
    for (bool rgb555 : {false, true}) {
        OpenScreen(rgb555);
        for (const int flags : {0, 1, 2, 4, 7}) {
            SCOPED_TRACE(testing::Message() << rgb555 << " flags " << flags);
            PaintBack();
            std::vector<uint16_t> want(DDBack->row(0), DDBack->row(0) + 640 * 480);
            const int x0 = 37, y0 = 11, w = 301, h = 123;
            for (int y = y0 + 1; y < y0 + h - 1; ++y)
                for (int x = x0 + 1; x < x0 + w - 1; ++x) {
                    const _getrgb l = GetRGB[want[y * 640 + x - 1]], r = GetRGB[want[y * 640 + x + 1]];
                    const _getrgb u = GetRGB[want[(y - 1) * 640 + x]], d = GetRGB[want[(y + 1) * 640 + x]];
                    int c[3] = {(l.r + r.r + u.r + d.r) >> 2, (l.g + r.g + u.g + d.g) >> 2, (l.b + r.b + u.b + d.b) >> 2};
                    for (int k = 0; k < 3; ++k)
                        if ((flags >> k & 1) && c[k] > 0) --c[k];
                    want[y * 640 + x] = Rgb(c[0], c[1], c[2]);
                }
            if (flags == 0)
                kaEffect::Shade(x0, y0, w, h);
            else
                kaEffect::Shade(flags & 1, flags & 2, flags & 4, x0, y0, w, h);
            EXPECT_TRUE(std::equal(want.begin(), want.end(), DDBack->row(0)));
        }
    }
    OpenScreen(false);
}

TEST_F(EffectTest, FireFollowsTheNoiseListAndNeverWritesTheBorder) {
    char saved[10000];
    std::copy(std::begin(kaEffect::FireRandomList), std::end(kaEffect::FireRandomList), saved);
    // Noise 2 everywhere: blur, copy, blur, copy ... along each row.
    std::fill(std::begin(kaEffect::FireRandomList), std::end(kaEffect::FireRandomList), 2);
    PaintBack();
    const Pixels top = Back({{10, 10}, {11, 10}, {20, 10}}), sides = Back({{10, 15}, {21, 15}});
    const uint16_t blurred = Mean(BackPixel(10, 12), BackPixel(12, 12), BackPixel(11, 11), BackPixel(11, 13));
    const uint16_t copied = BackPixel(12, 12);
    EXPECT_EQ(kaEffect::Fire(10, 10, 12, 8), 1);
    EXPECT_EQ(Back({{11, 11}, {12, 11}}), (Pixels{blurred, copied}));
    EXPECT_EQ(Back({{10, 10}, {11, 10}, {20, 10}}), top);
    EXPECT_EQ(Back({{10, 15}, {21, 15}}), sides);
    // 10 inner pixels per row, 6 rows: 30 runs of blur-then-copy.
    EXPECT_EQ(kadraw::state::fire[0].count2, 30);
    EXPECT_EQ(kadraw::state::fire[1].count2, 0);  // the other overload's own cursor

    // Noise 0 or 1: every pixel is a copy of the one below, the picture rises.
    std::fill(std::begin(kaEffect::FireRandomList), std::end(kaEffect::FireRandomList), 1);
    PaintBack();
    const uint16_t below = BackPixel(50, 52);
    kaEffect::Fire(1, 0, 1, 40, 40, 20, 20);
    EXPECT_EQ(BackPixel(50, 51), below);

    // The fading fire cools the flagged channel of blurred pixels.
    std::fill(std::begin(kaEffect::FireRandomList), std::end(kaEffect::FireRandomList), 2);
    FillSurface(DDBack, Rgb(20, 20, 20));
    kaEffect::Fire(1, 0, 0, 0, 0, 8, 8);
    EXPECT_EQ(Back({{1, 1}, {2, 1}}), (Pixels{Rgb(19, 20, 20), Rgb(20, 20, 20)}));

    // The full screen works: the rectangle is cut so that the row it reads
    // below still exists.
    PaintBack();
    const uint16_t last = BackPixel(5, 479);
    EXPECT_EQ(kaEffect::Fire(0, 0, 640, 480), 1);
    EXPECT_EQ(BackPixel(5, 479), last);
    std::copy(std::begin(saved), std::end(saved), kaEffect::FireRandomList);
}

TEST_F(EffectTest, ZoomEnlargesIntoTheBufferAndCopiesBack) {
    PaintBack();
    std::vector<uint16_t> source(320 * 240);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) source[y * 320 + x] = BackPixel(x, y);
    EXPECT_EQ(kaEffect::Zoom2(0, 0, 320, 240, 0), 1);
    int wrong = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) wrong += BackPixel(x, y) != source[(y / 2) * 320 + x / 2];
    EXPECT_EQ(wrong, 0);

    // The mesh of the fourfold zoom: 2x2 dots, gaps from the Buffer.
    PaintBack();
    FillSurface(Sprite[0].Object, 0x1234);
    const uint16_t a = BackPixel(100, 100), b = BackPixel(101, 100);
    kaEffect::Zoom4(100, 100, 2, 1, 1);
    EXPECT_EQ(Back({{100, 100}, {101, 101}, {102, 100}, {100, 102}, {104, 100}, {105, 101}, {107, 103}}),
              (Pixels{a, a, 0x1234, 0x1234, b, b, 0x1234}));

    // A rectangle off the surface is cut to it; the enlargement is cut to
    // the Buffer, and anchored at the rectangle's visible corner.
    PaintBack();
    const uint16_t corner = BackPixel(0, 0), far = BackPixel(319, 239);
    EXPECT_EQ(kaEffect::Zoom2(-50, -50, 5000, 5000, 0), 1);
    EXPECT_EQ(Back({{0, 0}, {1, 1}, {638, 478}, {639, 479}}), (Pixels{corner, corner, far, far}));
    EXPECT_EQ(kaEffect::Zoom4(630, 470, UINT_MAX, UINT_MAX, 0), 1);

    // No Buffer sprite, or a back surface that cannot be locked: 0.
    plat::Surface16* buffer = Sprite[0].Object;
    Sprite[0].Object = nullptr;
    EXPECT_EQ(kaEffect::Zoom2(0, 0, 10, 10, 0), 0);
    Sprite[0].Object = buffer;
    DDBack->markLost();
    EXPECT_EQ(kaEffect::Zoom4(0, 0, 10, 10, 0), 0);
    EXPECT_FALSE(buffer->isLocked());
    DDBack->restore();
}

TEST_F(EffectTest, MosaicChangesExactlyTheDiscInBlocks) {
    struct Case {
        int px, py, radius, size;
    };
    const Case cases[] = {{320, 240, 50, 4}, {5, 7, 40, 6}, {630, 475, 100, 8}, {-20, 240, 60, 5}, {300, 200, 30, 1},
                          {200, 200, 0, 4},  {100, 100, 20, 0}, {320, 240, 2000000000, 64}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.px << "," << c.py << " r" << c.radius << " s" << c.size);
        PaintBack();
        std::vector<uint16_t> before(DDBack->row(0), DDBack->row(0) + 640 * 480);
        EXPECT_EQ(kaEffect::Mosaic(c.px, c.py, c.radius, c.size), 1);
        // Every pixel from the definition: the block grid starts at the
        // clipped corner of the disc's square; a pixel in the disc takes its
        // block's top-left colour.
        const int64_t size = std::max(c.size, 1), r = c.radius;
        const int64_t sx = std::max<int64_t>(-r, -c.px), sy = std::max<int64_t>(-r, -c.py);
        int wrong = 0;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) {
                const int64_t dx = x - c.px, dy = y - c.py;
                uint16_t want = before[y * 640 + x];
                const bool inDisc = static_cast<int64_t>(std::sqrt(double(dx * dx + dy * dy))) < r;
                if (inDisc && dx >= sx && dy >= sy) {
                    const int64_t bx = sx + (dx - sx) / size * size, by = sy + (dy - sy) / size * size;
                    want = before[(c.py + by) * 640 + c.px + bx];
                }
                wrong += BackPixel(x, y) != want;
            }
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(EffectTest, NoiseAddsShiftedValuesAndClamps) {
    char saved[10000];
    std::copy(std::begin(kaEffect::FireRandomList), std::end(kaEffect::FireRandomList), saved);
    for (int i = 0; i < 10000; ++i) kaEffect::FireRandomList[i] = static_cast<char>(i % 3);
    struct Case {
        int force;
        int expect[3];  // a black pixel after noise values 0, 1, 2
    };
    for (const Case& c : {Case{0, {0, 1, 2}}, Case{4, {0, 16, 31}}, Case{-5, {0, 1, 2}}, Case{15, {0, 31, 31}},
                          Case{99, {0, 31, 31}}}) {
        SCOPED_TRACE(c.force);
        FillSurface(DDBack, 0);
        kadraw::state::noiseCount[0] = 0;
        EXPECT_EQ(kaEffect::Noise(c.force, 0, 0, 3, 1), 1);
        EXPECT_EQ(Back({{0, 0}, {1, 0}, {2, 0}}),
                  (Pixels{Rgb(c.expect[0], c.expect[0], c.expect[0]), Rgb(c.expect[1], c.expect[1], c.expect[1]),
                          Rgb(c.expect[2], c.expect[2], c.expect[2])}));
    }
    // Only the flagged channels, with the overload's own cursor.
    FillSurface(DDBack, 0);
    kadraw::state::noiseCount[1] = 2;
    kaEffect::Noise(0, 1, 0, 0, 0, 0, 1, 1);
    EXPECT_EQ(BackPixel(0, 0), Rgb(0, 2, 0));
    EXPECT_EQ(kadraw::state::noiseCount[1], 3);
    std::copy(std::begin(saved), std::end(saved), kaEffect::FireRandomList);
}

TEST_F(EffectTest, NoiseSplitsEveryPixelValueAsTheTableDoes) {
    char saved[10000];
    std::copy(std::begin(kaEffect::FireRandomList), std::end(kaEffect::FireRandomList), saved);
    for (bool rgb555 : {false, true}) {
        SCOPED_TRACE(rgb555 ? "5-5-5" : "5-6-5");
        OpenScreen(rgb555);  // (makes a new noise list)
        std::fill(std::begin(kaEffect::FireRandomList), std::end(kaEffect::FireRandomList), 1);
        kadraw::state::ResetEffectState();
        for (int i = 0; i < 65536; ++i) DDBack->row(i / 640)[i % 640] = static_cast<uint16_t>(i);
        // 637 columns: sixteen, eight and single pixels at a time.
        kaEffect::Noise(1, 0, 1, 2, 0, 0, 637, 103);
        int wrong = 0;
        for (int i = 0; i < 65536; ++i) {
            const _getrgb e = GetRGB[i];
            const int add = 1 << 2;
            uint16_t want = Rgb(std::min(e.r + add, 31), e.g, std::min(e.b + add, 31));
            if (i % 640 >= 637) want = static_cast<uint16_t>(i);
            wrong += DDBack->row(i / 640)[i % 640] != want;
        }
        EXPECT_EQ(wrong, 0);
    }
    std::copy(std::begin(saved), std::end(saved), kaEffect::FireRandomList);
    OpenScreen(false);
}

// Random rectangles (cut at every edge), pixels of any bit pattern, list
// entries of any byte, every Force and flag set, cursors anywhere (restarts
// mid-row, and a rectangle that ends exactly at the end of the list), in
// both formats: the same pixels and cursor as the rule taken one pixel at a
// time in reading order.
TEST_F(EffectTest, NoiseMatchesThePixelByPixelRuleOnRandomInput) {
    char saved[10000];
    std::copy(std::begin(kaEffect::FireRandomList), std::end(kaEffect::FireRandomList), saved);
    std::mt19937 rng(2024);
    for (bool rgb555 : {false, true}) {
        OpenScreen(rgb555);
        for (int trial = 0; trial < 40; ++trial) {
            for (char& n : kaEffect::FireRandomList) n = static_cast<char>(rng());
            for (int i = 0; i < 640 * 480; ++i) DDBack->row(i / 640)[i % 640] = static_cast<uint16_t>(rng());
            const int px = static_cast<int>(rng() % 700) - 30, py = static_cast<int>(rng() % 520) - 20;
            const int w = static_cast<int>(trial % 5 == 0 ? rng() % 700 : rng() % 90), h = static_cast<int>(rng() % 70);
            const int force = static_cast<int>(rng() % 19) - 2, flags = static_cast<int>(rng() % 8);
            const bool all = trial % 3 == 0;
            int& cursor = kadraw::state::noiseCount[all ? 0 : 1];
            const int x1 = std::max(px, 0), x2 = std::min(px + w, 640), y1 = std::max(py, 0), y2 = std::min(py + h, 480);
            const int area = std::max(x2 - x1, 0) * std::max(y2 - y1, 0);
            cursor = trial % 4 == 3 && area <= 10000 ? 10000 - area : static_cast<int>(rng() % 10000);
            SCOPED_TRACE(testing::Message() << rgb555 << " trial " << trial << " force " << force << " flags " << flags);

            std::vector<uint16_t> want(DDBack->row(0), DDBack->row(0) + 640 * 480);
            const unsigned seed = rng();
            std::srand(seed);
            const int shift = std::clamp(force, 0, 14);
            int c = cursor;
            for (int y = y1; y < y2; ++y)
                for (int x = x1; x < x2; ++x) {
                    const uint16_t add = static_cast<uint16_t>(static_cast<unsigned char>(kaEffect::FireRandomList[c]) << shift);
                    const auto channel = [add](int v, bool on) { return on ? std::min<int>(static_cast<uint16_t>(v + add), 31) : v; };
                    const _getrgb e = GetRGB[want[y * 640 + x]];
                    want[y * 640 + x] = Rgb(channel(e.r, all || (flags & 1)), channel(e.g, all || (flags & 2)),
                                            channel(e.b, all || (flags & 4)));
                    if (++c >= 10000) c = std::rand() % 1000;
                }
            std::srand(seed);
            if (all)
                kaEffect::Noise(force, px, py, w, h);
            else
                kaEffect::Noise(flags & 1, flags & 2, flags & 4, force, px, py, w, h);
            EXPECT_TRUE(std::equal(want.begin(), want.end(), DDBack->row(0)));
            EXPECT_EQ(cursor, c);
        }
    }
    std::copy(std::begin(saved), std::end(saved), kaEffect::FireRandomList);
    OpenScreen(false);
}

TEST_F(EffectTest, CursorsRestartInTheFirstThousandAfterTheEnd) {
    FillSurface(DDBack, 0);
    kadraw::state::noiseCount[0] = 9999;
    std::srand(12345);
    const int restart = std::rand() % 1000;
    std::srand(12345);
    kaEffect::Noise(0, 0, 0, 2, 1);
    const int v = kaEffect::FireRandomList[restart];
    EXPECT_EQ(BackPixel(1, 0), Rgb(v, v, v));
    EXPECT_EQ(kadraw::state::noiseCount[0], restart + 1);

    // The fire's position cursor moves on each copied pixel.
    kadraw::state::fire[0].count2 = 9999;
    kaEffect::FireRandomList[9999] = 0;
    std::srand(99);
    const int fireRestart = std::rand() % 1000;
    std::srand(99);
    kaEffect::Fire(0, 0, 3, 3);  // one inner pixel, a copy
    EXPECT_EQ(kadraw::state::fire[0].count2, fireRestart);
}

TEST_F(EffectTest, RectanglesOffTheSurfaceAndLockFailures) {
    // Every member with sizes and positions far outside: cut to the surface,
    // no write outside it (the sanitizer build checks), and 1.
    const int far[][2] = {{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {-5, -5}, {630, 470}, {639, 479}};
    for (const auto& p : far) {
        SCOPED_TRACE(testing::Message() << p[0] << "," << p[1]);
        for (unsigned w : {0u, 1u, 2u, 3u, 4000u, UINT_MAX}) {
            EXPECT_EQ(kaEffect::Fire(p[0], p[1], w, w), 1);
            EXPECT_EQ(kaEffect::Fire(1, 1, 1, p[0], p[1], w, w), 1);
            EXPECT_EQ(kaEffect::Shade(p[0], p[1], w, w), 1);
            EXPECT_EQ(kaEffect::Shade(1, 1, 1, p[0], p[1], w, w), 1);
            EXPECT_EQ(kaEffect::Noise(3, p[0], p[1], w, w), 1);
            EXPECT_EQ(kaEffect::Noise(1, 1, 1, 3, p[0], p[1], w, w), 1);
            EXPECT_EQ(kaEffect::Zoom2(p[0], p[1], w, w, 1), 1);
        }
        EXPECT_EQ(kaEffect::Mosaic(p[0], p[1], INT_MAX, 7), 1);
        EXPECT_EQ(kaEffect::Mosaic(p[0], p[1], INT_MIN, INT_MIN), 1);
    }
    // A back surface that cannot be locked: 0 and nothing changes.
    FillSurface(DDBack, 0x4321);
    DDBack->markLost();
    EXPECT_EQ(kaEffect::Fire(0, 0, 10, 10), 0);
    EXPECT_EQ(kaEffect::Shade(0, 0, 10, 10), 0);
    EXPECT_EQ(kaEffect::Mosaic(5, 5, 5, 2), 0);
    EXPECT_EQ(kaEffect::Noise(2, 0, 0, 10, 10), 0);
    DDBack->restore();
    EXPECT_EQ(BackPixel(3, 3), 0x4321);
}
