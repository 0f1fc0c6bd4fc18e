// The row-copying layers: what rows go where, the colour key, the phases
// under a controlled FrameTime (carry-over, wraps, steps longer than a
// period, NaN), sizes that would never end or reach far off screen, and the
// batched row copies against one layer copy per row.
#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "draw/effects/PhaseTestSupport.h"
#include "draw/effects/RowBlits.h"
#include "shell/Globals.h"

using namespace drawtest;
using namespace effecttest;
namespace st = kadraw::state;

namespace {

// The source row a destination row shows, from the numbered sprite's
// pixel at column x0 of the row (-1: nothing drawn there).
int RowAt(int x, int y, int x0 = 0) {
    const uint16_t p = BackPixel(x, y);
    return p == 0 ? -1 : (p - 1 - x0) / 100;
}

// The horizontal shift of destination row y: where source column 0 landed.
int ShiftAt(int y, int from = 0) {
    for (int x = from; x < 640; ++x)
        if (BackPixel(x, y) != 0 && (BackPixel(x, y) - 1) % 100 == 0) return x;
    return -1;
}

}  // namespace

TEST_F(EffectTest, WaveSwaysRowsByTheCosineAndAlternates) {
    const int s = NumberedSprite(20, 9);
    // Amplitude 0: the sprite unchanged, and the phase still moves.
    FrameTime = 0.5f;
    kaDraw::WaveLayer(100, 50, 0, 0, 90.0f, s, 0, 0, 20, 9, 0);
    for (int y = 0; y < 9; ++y) EXPECT_EQ(BackPixel(100, 50 + y), N(0, y));
    EXPECT_FLOAT_EQ(st::wave.angle, 45.0f);

    // d = y + trunc(Angle) for Size 0, y / Size + trunc(Angle) otherwise.
    FillSurface(DDBack, 0);
    kaDraw::WaveLayer(100, 50, 10, 3, 0.0f, s, 0, 0, 20, 9, 0);
    for (int y = 0; y < 9; ++y)
        EXPECT_EQ(ShiftAt(50 + y), 100 + static_cast<int>(std::cos((y / 3 + 45) * 2 * M_PI / 360) * 10)) << y;

    // Alternating rows swing to opposite sides; an odd row count hands the
    // next call the opposite sign.
    st::ResetEffectState();
    FillSurface(DDBack, 0);
    kaDraw::WaveLayer(100, 50, 10, 0, 0.0f, s, 0, 0, 20, 9, 1);
    EXPECT_EQ(ShiftAt(50), 110);  // cos 0 = 1
    EXPECT_EQ(ShiftAt(51), 100 - static_cast<int>(std::cos(M_PI / 180) * 10));
    EXPECT_EQ(st::wave.lineX, -1);
    FillSurface(DDBack, 0);
    kaDraw::WaveLayer(100, 50, 10, 0, 0.0f, s, 0, 0, 20, 1, 1);
    EXPECT_EQ(ShiftAt(50), 90);
    EXPECT_EQ(st::wave.lineX, 1);
}

TEST_F(EffectTest, PhasesWrapAfterStepsOfAnyLength) {
    const int s = NumberedSprite(16, 10);
    struct Case {
        float frame, speed, expected;
    };
    // The angle: the single literal step where it suffices, a reduction
    // where the step passed more than a period or went backwards.
    for (const Case& c : {Case{1.0f, 300.0f, 300.0f}, Case{1.0f, 400.0f, 40.0f}, Case{2.0f, 1000.0f, 200.0f},
                          Case{1.0f, -30.0f, 330.0f}, Case{1.0f, std::numeric_limits<float>::quiet_NaN(), 0.0f},
                          Case{1.0f, std::numeric_limits<float>::infinity(), 0.0f}}) {
        SCOPED_TRACE(c.speed);
        st::ResetEffectState();
        FrameTime = c.frame;
        kaDraw::WaveLayer(0, 0, 5, 0, c.speed, s, 0, 0, 16, 10, 0);
        EXPECT_FLOAT_EQ(st::wave.angle, c.expected);
    }
    // The roll (10 rows): counts down, stays within 0 .. H.
    for (const Case& c : {Case{1.0f, 3.0f, 7.0f}, Case{1.0f, -4.0f, 4.0f}, Case{1.0f, 25.0f, 5.0f},
                          Case{1.0f, -123.0f, 3.0f}}) {
        SCOPED_TRACE(c.speed);
        st::ResetEffectState();
        FrameTime = c.frame;
        kaDraw::RollWaveLayer(0, 0, 0, 0, 0.0f, c.speed, s, 0, 0, 16, 10);
        EXPECT_FLOAT_EQ(st::rollWave.roll, c.expected);
        EXPECT_FLOAT_EQ(st::tileRollWave.roll, 0.0f);  // each member its own phases
    }
    // The tile's offsets stay within -W .. 0 (W 16, H 10).
    for (const Case& c : {Case{1.0f, 5.0f, -11.0f}, Case{1.0f, -5.0f, -5.0f}, Case{1.0f, -16.0f, -16.0f},
                          Case{1.0f, 100.0f, -12.0f}, Case{1.0f, -100.0f, -4.0f}}) {
        SCOPED_TRACE(c.speed);
        st::ResetEffectState();
        FrameTime = c.frame;
        kaDraw::TileLayer(c.speed, 0.0f, s, 0, 0, 16, 10);
        EXPECT_FLOAT_EQ(st::tile.rollX, c.expected);
        EXPECT_FLOAT_EQ(st::tile.rollY, 0.0f);
    }
    // The waterfall: type 0 counts down, others up, both within 0 .. H.
    st::ResetEffectState();
    FrameTime = 1.0f;
    kaDraw::WaterfallLayer(0, 0, 0, 2.5f, s, 0, 0, 16, 10);
    EXPECT_FLOAT_EQ(st::waterfall, 7.5f);
    kaDraw::WaterfallLayer(0, 0, 1, 33.0f, s, 0, 0, 16, 10);
    EXPECT_FLOAT_EQ(st::waterfall, 0.5f);
}

TEST_F(EffectTest, RollingWavesRollRowsAndTileTheBand) {
    const int s = NumberedSprite(16, 10);
    // Roll at H - 1: the last row first, then the first row.
    st::rollWave.roll = 9.0f;
    kaDraw::RollWaveLayer(200, 100, 0, 0, 0.0f, 0.0f, s, 0, 0, 16, 10);
    EXPECT_EQ(RowAt(200, 100), 9);
    EXPECT_EQ(RowAt(200, 101), 0);
    EXPECT_EQ(RowAt(200, 109), 8);

    // The band repeats the sprite across the screen, rows taken from the
    // band row modulo H plus the roll; tiles start one amplitude left.
    FillSurface(DDBack, 0);
    st::tileRollWave.roll = 3.0f;
    kaDraw::TileRollWaveLayer(20, 45, 0, 0, 0.0f, 0.0f, s, 0, 0, 16, 10);
    EXPECT_EQ(RowAt(0, 20), 3);
    EXPECT_EQ(RowAt(0, 26), 9);
    EXPECT_EQ(RowAt(0, 27), 0);
    EXPECT_EQ(RowAt(0, 30), 3);  // band row 10 is row 0 again
    EXPECT_EQ(RowAt(639, 44, 15), 7);
    EXPECT_EQ(RowAt(0, 45), -1);
    FillSurface(DDBack, 0);
    kaDraw::TileRollWaveLayer(0, 1, 4, 0, 0.0f, 0.0f, s, 0, 0, 16, 10);  // cos 0 * 4 - 4: no shift
    EXPECT_EQ(BackPixel(0, 0), N(0, 3));

    // An empty tile: nothing drawn, the phases stay.
    FillSurface(DDBack, 0);
    FrameTime = 1.0f;
    kaDraw::TileRollWaveLayer(0, 480, 4, 0, 10.0f, 10.0f, s, 5, 0, 5, 10);
    kaDraw::TileLayer(10.0f, 10.0f, s, 0, 4, 16, 4);
    EXPECT_FLOAT_EQ(st::tileRollWave.angle, 0.0f);
    EXPECT_FLOAT_EQ(st::tile.rollX, 0.0f);
    EXPECT_EQ(BackPixel(0, 0), 0);
}

TEST_F(EffectTest, TileCoversTheScreenFromItsOffset) {
    const int s = NumberedSprite(30, 20);
    kaDraw::TileLayer(0.0f, 0.0f, s, 0, 0, 30, 20);
    EXPECT_EQ(Back({{0, 0}, {29, 19}, {30, 20}, {639, 479}}), (Pixels{N(0, 0), N(29, 19), N(0, 0), N(639 % 30, 479 % 20)}));
    st::tile.rollX = -7.0f;
    st::tile.rollY = -3.5f;
    kaDraw::TileLayer(0.0f, 0.0f, s, 0, 0, 30, 20);
    EXPECT_EQ(Back({{0, 0}, {639, 479}}), (Pixels{N(7, 3), N((639 + 7) % 30, (479 + 3) % 20)}));
}

TEST_F(EffectTest, MosaicLineAndJitterPickTheirRows) {
    const int s = NumberedSprite(16, 10);
    kaDraw::MosaicLayer(0, 0, 4, s, 0, 0, 16, 10);
    for (int y = 0; y < 14; ++y) EXPECT_EQ(RowAt(0, y), y < 12 ? y / 4 * 4 : -1) << y;
    FillSurface(DDBack, 0);
    kaDraw::MosaicLayer(0, 0, 0, s, 0, 2, 16, 10);  // size below 1: 1, a plain copy
    for (int y = 0; y < 9; ++y) EXPECT_EQ(RowAt(0, y), y < 8 ? y + 2 : -1) << y;

    FillSurface(DDBack, 0);
    kaDraw::LineLayer(0, 0, 2, s, 0, 0, 16, 10);
    for (int y = 0; y < 10; ++y) EXPECT_EQ(RowAt(0, y), y % 2 == 0 && y > 0 ? y : -1) << y;
    // Random gaps: rows after Y1, at least one apart, each at its own place.
    FillSurface(DDBack, 0);
    kaDraw::LineLayer(0, 0, -3, s, 0, 0, 16, 10);
    int drawn = 0;
    for (int y = 0, last = 0; y < 10; ++y)
        if (RowAt(0, y) >= 0) {
            EXPECT_EQ(RowAt(0, y), y);
            EXPECT_LE(y - last, 3);
            EXPECT_GT(y, 0);
            last = y;
            ++drawn;
        }
    EXPECT_GE(drawn, 3);

    // Jitter within -Size .. Size - 1; Size 0 is a plain copy.
    FillSurface(DDBack, 0);
    kaDraw::RandomLayer(100, 0, 5, s, 0, 0, 16, 10);
    for (int y = 0; y < 10; ++y) {
        const int shift = ShiftAt(y, 90);
        EXPECT_GE(shift, 95);
        EXPECT_LE(shift, 104);
    }
    FillSurface(DDBack, 0);
    kaDraw::RandomLayer(100, 0, 0, s, 0, 0, 16, 10);
    EXPECT_EQ(Back({{100, 0}, {115, 9}}), (Pixels{N(0, 0), N(15, 9)}));
}

TEST_F(EffectTest, WaterfallStretchesRowsAlongTheCurve) {
    const int s = NumberedSprite(8, 9);
    kaDraw::WaterfallLayer(10, 10, 0, 0.0f, s, 0, 0, 8, 9);
    // half = 4, period 8: row y ends at trunc(cos(y * 2pi / 8) * 4 + 4).
    // The start goes back with the curve, so later rows draw over earlier ones.
    int expected[9] = {}, by = 0;
    for (int y = 0; y < 9; ++y) {
        const int ry = static_cast<int>(std::cos(y * 2 * M_PI / 8) * 4 + 4);
        for (int dy = by; dy <= ry; ++dy) expected[dy] = y;
        by = ry + 1;
    }
    for (int dy = 0; dy < 9; ++dy) EXPECT_EQ(RowAt(10, 10 + dy), expected[dy]) << dy;
    EXPECT_EQ(RowAt(10, 19), -1);
    // Fewer than two rows: nothing (the period would be zero).
    FillSurface(DDBack, 0);
    kaDraw::WaterfallLayer(10, 10, 0, 5.0f, s, 0, 0, 8, 1);
    EXPECT_EQ(BackPixel(10, 10), 0);
}

// Tall sprites (the curve is worked out a block of rows ahead), any phase,
// rows cut at the top and bottom of the surface: every destination row
// shows the sprite row the curve gives it, taken row by row.
TEST_F(EffectTest, WaterfallFollowsTheCurveForAnyHeightAndPhase) {
    std::mt19937 rng(31);
    for (int trial = 0; trial < 60; ++trial) {
        // Every third sprite is taller than the screen; every fourth phase is
        // whole, so that curve values land exactly on whole numbers.
        const int h = 2 + static_cast<int>(rng() % (trial % 3 == 0 ? 4200 : 300)), y1 = static_cast<int>(rng() % 4);
        const int s = NumberedSprite(8, y1 + h - static_cast<int>(rng() % 3));
        const int py = static_cast<int>(rng() % 600) - 100;
        const float phase = trial % 4 == 0 ? static_cast<float>(rng() % static_cast<unsigned>(h))
                                           : static_cast<float>(rng() % 1000) / 1000.0f * static_cast<float>(h);
        SCOPED_TRACE(testing::Message() << "h " << h << " phase " << phase << " py " << py);
        FillSurface(DDBack, 0);
        st::waterfall = phase;
        kaDraw::WaterfallLayer(10, py, 0, 0.0f, s, 0, y1, 8, y1 + h);
        std::vector<uint16_t> want(480, 0);  // column 0 of the row shown, by its pixel (rows never alias)
        const int64_t last = std::min<int64_t>(h, Sprite[s].SizeY - y1);
        for (int64_t y = 0, by = 0; y < last; ++y) {
            const int64_t ry = static_cast<int64_t>(std::cos((y + double{phase}) * 2 * M_PI / (h - 1)) * (h / 2) + h / 2);
            for (int64_t dy = by; dy <= ry; ++dy)
                if (py + dy >= 0 && py + dy < 480) want[py + dy] = N(0, static_cast<int>(y1 + y));
            by = ry + 1;
        }
        int wrong = 0;
        for (int row = 0; row < 480; ++row) wrong += BackPixel(10, row) != want[row];
        EXPECT_EQ(wrong, 0);
        kaDraw::FreeObject(s);
    }
}

TEST_F(EffectTest, RowLayersHonourTheSpritesKeyNotZero) {
    const int s = NumberedSprite(4, 4);
    kaDraw::ChangeSpriteColor(s, 0x00FF00FF);
    const uint16_t key = plat::PixelFromColorRef(plat::GetPixelFormat(), 0x00FF00FF);
    Sprite[s].Object->row(0)[0] = key;
    Sprite[s].Object->row(0)[1] = 0;
    FillSurface(DDBack, 0x5555);
    kaDraw::LineLayer(0, -1, 1, s, 0, 0, 4, 4);  // row 1 onto screen row 0
    kaDraw::MosaicLayer(0, 5, 1, s, 0, 0, 4, 4);
    kaDraw::WaterfallLayer(10, 10, 0, 0.0f, s, 0, 0, 4, 4);  // opaque
    EXPECT_EQ(Back({{0, 5}, {1, 5}, {0, 0}}), (Pixels{0x5555, 0, N(0, 1)}));
    EXPECT_EQ(BackPixel(10, 10), key);
}

TEST_F(EffectTest, RowLayersStayBoundedForAnySize) {
    const int s = NumberedSprite(16, 10);
    FrameTime = 1e30f;
    // Huge or inverted rectangles, sizes and positions: every call ends at
    // once and writes nowhere outside the surface.
    for (int v : {INT_MIN, -1000000, -1, 0, 1, 1000000, INT_MAX}) {
        SCOPED_TRACE(v);
        kaDraw::WaveLayer(v, v, v, v, 1e30f, s, 0, INT_MIN, 16, INT_MAX, 1);
        kaDraw::RollWaveLayer(v, v == INT_MIN ? INT_MAX : -v, v, v, -1e30f, 1e30f, s, 0, INT_MIN, 16, INT_MAX);
        kaDraw::TileRollWaveLayer(v, INT_MAX, v, v, 1e30f, 1e30f, s, 0, 0, 16, 10);
        kaDraw::TileRollWaveLayer(INT_MIN, INT_MAX, v, 1, 0.0f, 0.0f, s, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
        kaDraw::TileLayer(1e30f, -1e30f, s, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
        kaDraw::MosaicLayer(v, v, v, s, 0, INT_MIN, 16, INT_MAX);
        kaDraw::LineLayer(v, v, v, s, 0, INT_MIN, 16, INT_MAX);
        kaDraw::LineLayer(0, 0, INT_MIN, s, 0, 0, 16, 10);
        kaDraw::RandomLayer(v, v, v, s, 0, INT_MIN, 16, INT_MAX);
        kaDraw::RandomLayer(0, 0, INT_MAX, s, 0, 0, 16, 10);
        kaDraw::WaterfallLayer(v, v, v, 1e30f, s, 0, INT_MIN, 16, INT_MAX);
        kaDraw::WaveLayer(0, 0, 3, 0, 1.0f, 999, 0, 0, 16, 10, 0);  // unknown sprite: nothing
    }
    EXPECT_TRUE(std::isfinite(st::wave.angle) && st::wave.angle >= 0 && st::wave.angle < 360);
    EXPECT_TRUE(st::waterfall >= 0);
}

// The batched row copies against one kaDraw::Layer or DirectLayer call per
// row: random rows far off every side, rows outside the sprite, inverted and
// over-wide column ranges, runs of tiles, under random virtual screens (some
// reaching past the surface), keyed and opaque, now and then with a lost
// sprite (rebuilt at the first row either way).
TEST_F(EffectTest, RowCopierDrawsWhatOneLayerCallPerRowDraws) {
    std::mt19937 rng(77);
    const auto pick = [&rng](int64_t lo, int64_t hi) {
        return lo + static_cast<int64_t>(rng() % static_cast<uint64_t>(hi - lo + 1));
    };
    const int64_t far[] = {int64_t{INT_MIN} - 5, INT_MIN, -1000000, 1000000, INT_MAX, int64_t{INT_MAX} + 7};
    const auto place = [&](int64_t lo, int64_t hi) { return rng() % 8 == 0 ? far[rng() % 6] : pick(lo, hi); };
    const int s = NumberedSprite(37, 23);
    kaDraw::ChangeSpriteColor(s, 0x00FF00FF);
    const uint16_t key = plat::PixelFromColorRef(plat::GetPixelFormat(), 0x00FF00FF);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x)
            if (rng() % 4 == 0) Sprite[s].Object->row(y)[x] = key;
    struct Call {
        int64_t px, py, count;
        int x1;
        int64_t row;
        int x2;
    };
    for (int trial = 0; trial < 300; ++trial) {
        SCOPED_TRACE(trial);
        const int vx1 = static_cast<int>(pick(-40, 120)), vy1 = static_cast<int>(pick(-40, 120));
        kaDraw::VirtualScreen(vx1, vy1, static_cast<int>(pick(vx1 - 10, 700)), static_cast<int>(pick(vy1 - 10, 520)));
        const kadraw::Copy copy = trial % 2 == 0 ? kadraw::Copy::Keyed : kadraw::Copy::Opaque;
        const bool lost = trial % 25 == 24;
        std::vector<Call> calls(static_cast<size_t>(pick(1, 40)));
        for (Call& c : calls) {
            c = {place(-200, 840), place(-30, 510), rng() % 3 == 0 ? pick(0, 9) : -1, static_cast<int>(pick(-6, 40)),
                 place(-3, 25), static_cast<int>(pick(-6, 44))};
            if (rng() % 16 == 0) c.x2 = INT_MAX;
        }
        const auto draw = [&](bool batched) {
            for (int y = 0; y < 480; ++y)
                for (int x = 0; x < 640; ++x) DDBack->row(y)[x] = static_cast<uint16_t>(x * 7 + y * 640 + trial);
            if (lost) Sprite[s].Object->markLost();
            kadraw::RowCopier copier(copy, s);
            for (const Call& c : calls) {
                const int64_t times = c.count < 0 ? 1 : c.count, w = int64_t{c.x2} - c.x1;
                if (batched && c.count >= 0) {
                    copier.Tiles(c.px, c.count, c.py, c.x1, c.row, c.x2);
                    continue;
                }
                for (int64_t k = 0; k < times; ++k) {
                    const int64_t px = c.px + k * w;
                    if (batched) {
                        copier.Row(px, c.py, c.x1, c.row, c.x2);
                    } else if (px >= INT_MIN && px <= INT_MAX && c.py >= INT_MIN && c.py <= INT_MAX && c.row >= 0 &&
                               c.row < INT_MAX) {
                        const int x = static_cast<int>(px), y = static_cast<int>(c.py), r = static_cast<int>(c.row);
                        if (copy == kadraw::Copy::Keyed)
                            kaDraw::Layer(x, y, s, c.x1, r, c.x2, r + 1);
                        else
                            kaDraw::DirectLayer(x, y, s, c.x1, r, c.x2, r + 1);
                    }
                }
            }
        };
        draw(false);
        const std::vector<uint16_t> want(DDBack->row(0), DDBack->row(0) + 640 * 480);
        const bool stillLost = Sprite[s].Object->isLost();
        draw(true);
        EXPECT_TRUE(std::equal(want.begin(), want.end(), DDBack->row(0)));
        EXPECT_EQ(Sprite[s].Object->isLost(), stillLost);
        Sprite[s].Object->restore();
    }
}
