// The per-pixel rules of the blend and brightness layers: the formulas the
// layers run against the table-reading references, on every pixel value or
// on random pixel pairs, in 5-6-5 and in 5-5-5; and whole members drawn over
// random back surfaces against the references pixel by pixel.
#include <cmath>

#include "EffectTestSupport.h"
#include "draw/effects/BlendRules.h"
#include "draw/effects/EdgeLoans.h"

using namespace drawtest;
using namespace fxtest;

namespace {

class PixelRulesTest : public DrawTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        DrawTest::SetUp();
        if (GetParam()) OpenScreen(true);
    }
};

// Native channel c of pixel p.
int Native(uint16_t p, int c) {
    const kafx::Rgb v = kafx::SplitNative(p);
    return c == 0 ? v.r : c == 1 ? v.g : v.b;
}

// The double reference of the float members, written out per channel.
uint16_t MixReference(uint16_t s, uint16_t d, const float w[3]) {
    const uint32_t bits[3] = {kaDraw::BitR, kaDraw::BitG, kaDraw::BitB};
    const uint16_t shifts[3] = {kaDraw::ShiftR, kaDraw::ShiftG, kaDraw::ShiftB};
    uint16_t out = 0;
    for (int c = 0; c < 3; ++c) {
        const float bd = static_cast<float>(1.0 - w[c]);
        double v = std::trunc(static_cast<double>(Native(s, c)) * w[c] + static_cast<double>(Native(d, c)) * bd);
        v = std::fmin(std::fmax(v, 0.0), static_cast<double>(bits[c]));
        out = static_cast<uint16_t>(out | (static_cast<int>(v) << shifts[c]));
    }
    return out;
}

}  // namespace

TEST_P(PixelRulesTest, FormulaSplitEqualsTheTableForEveryPixel) {
    const kafx::Format f = kafx::CurrentFormat();
    for (int p = 0; p < 65536; ++p) {
        const kafx::Five v = kafx::Split5(f, static_cast<uint16_t>(p));
        const _getrgb& e = GetRGB[p];
        ASSERT_TRUE(v.r == e.r && v.g == e.g && v.b == e.b) << p;
        ASSERT_EQ(kafx::GrayByFormula(f, static_cast<uint16_t>(p)), kafx::GrayByTable(static_cast<uint16_t>(p))) << p;
    }
    for (unsigned n = 0; n <= 93; ++n) ASSERT_EQ(kafx::Third(n), n / 3);
}

TEST_P(PixelRulesTest, FormulasEqualTheTablesOnRandomPairsAtEveryLevel) {
    const kafx::Format f = kafx::CurrentFormat();
    std::mt19937 rng(11);
    for (int i = 0; i < 4000; ++i) {
        const uint16_t s = static_cast<uint16_t>(rng()), d = static_cast<uint16_t>(rng());
        ASSERT_EQ(kafx::DelByFormula(f, s, d), kafx::DelByTable(s, d));
        for (unsigned l = 0; l < 32; ++l) {
            const unsigned l2 = (l * 7 + 3) % 32, l3 = (l * 13 + 5) % 32;
            ASSERT_EQ(kafx::BlendByFormula(f, s, d, l, l2, l3), kafx::BlendByTable(s, d, l, l2, l3)) << s << " " << d;
            ASSERT_EQ(kafx::AddByFormula(f, s, d, l), kafx::AddByTable(s, d, l));
            ASSERT_EQ(kafx::DarkenByFormula(f, s, l, l2, l3), kafx::DarkenByTable(s, l, l2, l3));
        }
    }
}

TEST_P(PixelRulesTest, IntegerWeightsEqualTheDoubleRuleWhereTheyClaimExactness) {
    std::mt19937 rng(12);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    int exact = 0;
    for (int i = 0; i < 3000; ++i) {
        const float w = i < 6 ? std::vector<float>{0.0f, 1.0f, 0.5f, 0.25f, 0.004f, 0.0009765625f}[i]
                          : i < 1000 ? std::round(unit(rng) * 1024) / 1024 : unit(rng);
        const float bd = kafx::Complement(w);
        const kafx::FixedWeight k = kafx::FixedWeightOf(w, bd);
        if (!k.exact) continue;
        ++exact;
        const bool narrow = kafx::Fits16(k);
        for (int s = 0; s < 64; ++s)
            for (int d = 0; d < 64; ++d) {
                ASSERT_EQ(static_cast<int>(kafx::MixByFixed(s, d, k)), kafx::WeightedMix(s, w, d, bd)) << w;
                if (narrow) {
                    ASSERT_EQ(kafx::MixByFixed16(s, d, kafx::Weight16(k.a), kafx::Weight16(k.b)), kafx::WeightedMix(s, w, d, bd));
                }
            }
    }
    EXPECT_GT(exact, 500);
    EXPECT_FALSE(kafx::FixedWeightOf(1.5f, -0.5f).exact);
    EXPECT_FALSE(kafx::FixedWeightOf(NAN, 0.0f).exact);
}

TEST_P(PixelRulesTest, MembersDrawTheirRuleOverRandomBackSurfaces) {
    const int s = RandomSprite(640, 480, 21);
    const plat::Surface16& src = *Sprite[s].Object;
    using Ref = std::function<uint16_t(uint16_t, uint16_t)>;
    const uint16_t mask = static_cast<uint16_t>(kaDraw::MaskRGB);
    const float w0[3] = {0.75f, 0.75f, 0.75f}, w1[3] = {0.3f, 0.3f, 0.3f}, w2[3] = {0.1f, 0.75f, 0.004f}, w3[3] = {1.25f, -0.5f, NAN};
    const float b1[3] = {0.7f, 0.7f, 0.7f}, b2[3] = {0.5f, 0.125f, 1.0f};
    struct Case {
        const char* name;
        std::function<int()> draw;
        Ref ref;
    } cases[] = {
        {"half", [&] { return kaDraw::BlendLayer(0, 0, s, 0, 0, 640, 480); },
         [&](uint16_t a, uint16_t b) { return static_cast<uint16_t>(((a >> 1) & mask) + ((b >> 1) & mask)); }},
        {"float narrow", [&] { return kaDraw::BlendLayer(0, 0, 0.75f, s, 0, 0, 640, 480); },
         [&](uint16_t a, uint16_t b) { return MixReference(a, b, w0); }},
        {"float", [&] { return kaDraw::BlendLayer(0, 0, 0.3f, s, 0, 0, 640, 480); },
         [&](uint16_t a, uint16_t b) { return MixReference(a, b, w1); }},
        {"float3", [&] { return kaDraw::BlendLayer(0, 0, 0.1f, 0.75f, 0.004f, s, 0, 0, 640, 480); },
         [&](uint16_t a, uint16_t b) { return MixReference(a, b, w2); }},
        {"float3 out of range", [&] { return kaDraw::BlendLayer(0, 0, 1.25f, -0.5f, NAN, s, 0, 0, 640, 480); },
         [&](uint16_t a, uint16_t b) { return MixReference(a, b, w3); }},
        {"int", [&] { return kaDraw::BlendLayer(0, 0, 9, s, 0, 0, 640, 480); },
         [&](uint16_t a, uint16_t b) { return kafx::BlendByTable(a, b, 22, 22, 22); }},
        {"int3 clamped", [&] { return kaDraw::BlendLayer(0, 0, -4, 40, 16, s, 0, 0, 640, 480); },
         [&](uint16_t a, uint16_t b) { return kafx::BlendByTable(a, b, 31, 0, 15); }},
        {"add", [&] { return kaDraw::AddBlendLayer(0, 0, s, 0, 0, 640, 480); },
         [&](uint16_t a, uint16_t b) { return kafx::AddByTable(a, b, 0); }},
        {"add float", [&] { return kaDraw::AddBlendLayer(0, 0, 0.5f, s, 0, 0, 640, 480); },
         [&](uint16_t a, uint16_t b) { return kafx::AddByTable(a, b, 15); }},
        {"del", [&] { return kaDraw::DelBlendLayer(0, 0, s, 0, 0, 640, 480); }, kafx::DelByTable},
        {"plain", [&] { return kaDraw::PlainLayer(0, 0, 0, 7, 1, s, 0, 0, 640, 480); },
         [&](uint16_t a, uint16_t) { return static_cast<uint16_t>(a & (kaDraw::MaskG | kaDraw::MaskB)); }},
        {"bright float", [&] { return kaDraw::BrightLayer(0, 0, 0.5f, 0.125f, 1.0f, s, 0, 0, 640, 480); },
         [&](uint16_t a, uint16_t) { return MixReference(a, 0, b2); }},
        {"bright float inexact", [&] { return kaDraw::BrightLayer(0, 0, 0.7f, s, 0, 0, 640, 480); },
         [&](uint16_t a, uint16_t) { return MixReference(a, 0, b1); }},
        {"bright int", [&] { return kaDraw::BrightLayer(0, 0, 0, 12, 31, s, 0, 0, 640, 480); },
         [&](uint16_t a, uint16_t) { return kafx::DarkenByTable(a, 31, 19, 0); }},
        {"gray", [&] { return kaDraw::GrayLayer(0, 0, s, 0, 0, 640, 480); },
         [&](uint16_t a, uint16_t) { return kafx::GrayByTable(a); }},
    };
    for (const Case& c : cases) {
        Randomise(DDBack, 22);
        const auto before = Snapshot();
        ASSERT_EQ(c.draw(), 1) << c.name;
        int wrong = 0;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) {
                const uint16_t sv = src.row(y)[x], dv = At(before, x, y);
                const uint16_t want = sv == 0 ? dv : c.ref(sv, dv);
                wrong += BackPixel(x, y) != want;
            }
        EXPECT_EQ(wrong, 0) << c.name;
    }
}

namespace {

// Every 16-bit value, including the bit no 5-5-5 field covers.
void RandomBits(plat::Surface16* s, uint32_t seed) {
    std::mt19937 rng(seed);
    for (int y = 0; y < s->height(); ++y)
        for (int x = 0; x < s->width(); ++x) s->row(y)[x] = rng() % 5 == 0 ? 0 : static_cast<uint16_t>(rng());
}

// The box blur as defined: an n x n window at (x, y), moved back inside the
// ex x ey rectangle at its right and bottom edges, summed through GetRGB.
uint16_t BoxReference(const plat::Surface16& src, int x1, int y1, int ex, int ey, int n, int x, int y) {
    const int left = std::min(x, ex - n), top = std::min(y, ey - n);
    uint64_t r = 0, g = 0, b = 0;
    for (int j = top; j < top + n; ++j)
        for (int i = left; i < left + n; ++i) {
            const _getrgb& c = GetRGB[src.row(y1 + j)[x1 + i]];
            r += c.r, g += c.g, b += c.b;
        }
    const uint64_t area = static_cast<uint64_t>(n) * n;
    return kafx::Pack5(static_cast<int>(r / area), static_cast<int>(g / area), static_cast<int>(b / area));
}

// The edge smoothing as defined, one pixel; back is the surface before the call.
uint16_t EdgeReference(const plat::Surface16& src, int x1, int y1, int ex, int ey, const std::vector<uint16_t>& back,
                       int px, int py, int x, int y) {
    const uint16_t s = src.row(y1 + y)[x1 + x];
    _getrgb c = GetRGB[s];
    int r = c.r, g = c.g, b = c.b, count = 1;
    const int dx[4] = {-1, 1, 0, 0}, dy[4] = {0, 0, -1, 1};
    for (int k = 0; k < 4; ++k) {
        const int nx = x + dx[k], ny = y + dy[k];
        if (nx < 0 || nx >= ex || ny < 0 || ny >= ey || src.row(y1 + ny)[x1 + nx] != 0) continue;
        const _getrgb& e = GetRGB[At(back, px + nx, py + ny)];
        r += e.r, g += e.g, b += e.b, ++count;
    }
    return count == 1 ? s : kafx::Pack5(r / count, g / count, b / count);
}

}  // namespace

// The neighbourhood members over random sprites (every bit pattern), random
// rectangles and window sizes, against their definitions pixel by pixel; the
// edge smoothing with each of its row kernels (widths around the 32-pixel
// vectors of the wide one).
TEST_P(PixelRulesTest, NeighbourhoodMembersEqualTheirDefinitions) {
    const int s = kaDraw::CreateObject(300, 200, 2);
    const plat::Surface16& src = *Sprite[s].Object;
    RandomBits(Sprite[s].Object, 31);
    std::mt19937 rng(32);
    struct Area {
        int px, py, x1, y1, x2, y2, n;
    };
    std::vector<Area> areas = {{0, 0, 0, 0, 300, 200, 2}, {5, 7, 3, 1, 300, 200, 3}, {630, 470, 0, 0, 300, 200, 4},
                               {-7, -9, 0, 0, 120, 90, 5}, {1, 2, 10, 10, 209, 160, 46}, {3, 4, 0, 0, 300, 64, 64},
                               {0, 0, 0, 0, 1, 200, 1}, {0, 0, 0, 0, 300, 1, 7}, {9, 9, 0, 0, 2, 2, 2},
                               {20, 30, 0, 100, 300, 150, 9999}, {4, 6, 7, 3, 10, 8, 2}, {0, 0, 1, 0, 300, 3, 2},
                               {2, 3, 0, 5, 2, 200, 2}, {600, 400, 11, 13, 71, 90, 2}, {0, 0, 0, 0, 32, 3, 2},
                               {1, 1, 3, 0, 36, 5, 2}, {0, 0, 5, 5, 69, 40, 2}, {608, 0, 0, 0, 64, 9, 2}};
    for (int i = 0; i < 12; ++i) {
        const int x1 = static_cast<int>(rng() % 280), y1 = static_cast<int>(rng() % 180);
        areas.push_back({static_cast<int>(rng() % 400) - 60, static_cast<int>(rng() % 300) - 40, x1, y1,
                         x1 + 1 + static_cast<int>(rng() % (300 - x1)), y1 + 1 + static_cast<int>(rng() % (200 - y1)),
                         1 + static_cast<int>(rng() % 12)});
    }
    for (const Area& c : areas) {
        for (int member : {0, 1, 2}) {  // the box blur; the edge smoothing, wide kernel allowed or not
            const bool edge = member > 0;
            kafx::AllowAvx512EdgeRows(member == 1);
            RandomBits(DDBack, 33);
            const auto before = Snapshot();
            ASSERT_EQ(edge ? kaDraw::EdgeBlendLayer(c.px, c.py, s, c.x1, c.y1, c.x2, c.y2)
                           : kaDraw::ShadeLayer(c.px, c.py, c.n, s, c.x1, c.y1, c.x2, c.y2),
                      1);
            // The drawn area, clipped as the frame clips it.
            const int px = std::max(c.px, 0), py = std::max(c.py, 0);
            const int x1 = c.x1 + (px - c.px), y1 = c.y1 + (py - c.py);
            const int ex = std::min(c.x2 - c.x1, 640 - c.px) - (px - c.px), ey = std::min(c.y2 - c.y1, 480 - c.py) - (py - c.py);
            const int n = std::min({c.n, ex, ey});
            int wrong = 0;
            for (int y = 0; y < 480; ++y)
                for (int x = 0; x < 640; ++x) {
                    const int sx = x - px, sy = y - py;
                    uint16_t want = At(before, x, y);
                    if (sx >= 0 && sx < ex && sy >= 0 && sy < ey && src.row(y1 + sy)[x1 + sx] != 0)
                        want = edge ? EdgeReference(src, x1, y1, ex, ey, before, px, py, sx, sy)
                                    : BoxReference(src, x1, y1, ex, ey, n, sx, sy);
                    wrong += BackPixel(x, y) != want;
                }
            EXPECT_EQ(wrong, 0) << (member == 0 ? "shade" : member == 1 ? "edge" : "edge, portable") << " at " << c.px
                                << "," << c.py << " n " << c.n;
        }
    }
    kafx::AllowAvx512EdgeRows(true);
}

namespace {

// The gradient walk as defined, for one pixel at (x, y) of the drawn area:
// the step counter runs along the row (Mode 0, restarting every row) or down
// the rows (otherwise) and counts only past Start's low 16 bits.
struct GradientCase {
    float w[3];
    int level[3];
    int mode, start, size;
};
int Steps(const GradientCase& g, int upTo) {
    // Steps taken by each position, for the last Start and Size asked.
    static std::vector<int> steps;
    static int start = 0, size = -1;
    if (g.start != start || g.size != size) {
        start = g.start, size = g.size;
        steps.clear();
        int n = 0, count = 0;
        for (int i = 0; i < 640; ++i) {
            if (static_cast<unsigned>(i) > (static_cast<unsigned>(g.start) & 0xFFFF) && ++count >= g.size) count = 0, ++n;
            steps.push_back(n);
        }
    }
    return steps[static_cast<size_t>(upTo)];
}
uint16_t GradientIntReference(const GradientCase& g, uint16_t s, uint16_t d, int x, int y) {
    const int steps = Steps(g, g.mode == 0 ? x : y);
    int a[3];
    for (int c = 0; c < 3; ++c) a[c] = std::max(31 - std::clamp(g.level[c], 0, 31) - steps, 0);
    return kafx::BlendByTable(s, d, a[0], a[1], a[2]);
}
uint16_t GradientFloatReference(const GradientCase& g, uint16_t s, uint16_t d, int x, int y) {
    const int steps = Steps(g, g.mode == 0 ? x : y);
    const uint32_t bits[3] = {kaDraw::BitR, kaDraw::BitG, kaDraw::BitB};
    const uint16_t shifts[3] = {kaDraw::ShiftR, kaDraw::ShiftG, kaDraw::ShiftB};
    uint16_t out = 0;
    for (int c = 0; c < 3; ++c) {
        float bd = static_cast<float>(1.0 - g.w[c]);
        for (int i = 0; i < steps; ++i) {
            bd = static_cast<float>(bd - 0.03125);
            if (bd < 0.0f) bd = 0.0f;
        }
        const float w = static_cast<float>(1.0 - bd);
        double v = std::trunc(static_cast<double>(Native(s, c)) * w + static_cast<double>(Native(d, c)) * bd);
        v = std::fmin(std::fmax(v, 0.0), static_cast<double>(bits[c]));
        out = static_cast<uint16_t>(out | (static_cast<int>(v) << shifts[c]));
    }
    return out;
}

}  // namespace

// Both gradient forms, horizontal and vertical, with weights the layer can
// take in integers and weights it must take in double, against the walk.
TEST_P(PixelRulesTest, GradientsEqualTheirWalkOverRandomBackSurfaces) {
    const int s = RandomSprite(640, 480, 41);
    const plat::Surface16& src = *Sprite[s].Object;
    const GradientCase cases[] = {
        {{0.25f, 0.5f, 0.75f}, {8, 16, 24}, 0, 320, 8},  {{0.1f, 0.4f, 0.7f}, {2, 9, 20}, 0, 3, 2},
        {{0.5f, 0.0f, 1.0f}, {31, 0, -5}, 1, 100, 3},    {{0.3f, 0.6f, 0.9f}, {1, 30, 40}, 1, 0, 1},
        {{0.0f, 0.0625f, 0.99f}, {0, 1, 2}, 0, -1, 1},   {{0.75f, 0.75f, 0.75f}, {5, 5, 5}, 0, 65536 + 10, 4},
    };
    for (const GradientCase& g : cases) {
        for (bool useFloat : {false, true}) {
            Randomise(DDBack, 42, false);
            const auto before = Snapshot();
            const int px = -13, py = 7;  // the walk counts from the first drawn column
            ASSERT_EQ(useFloat ? kaDraw::BlendLayer(px, py, g.w[0], g.w[1], g.w[2], g.mode, g.start, g.size, s, 0, 0, 640, 480)
                               : kaDraw::BlendLayer(px, py, g.level[0], g.level[1], g.level[2], g.mode, g.start, g.size, s, 0,
                                                    0, 640, 480),
                      1);
            int wrong = 0;
            for (int y = py; y < 480; ++y)
                for (int x = 0; x < 640 + px; ++x) {
                    const uint16_t sv = src.row(y - py)[x - px], dv = At(before, x, y);
                    const int ax = x, ay = y - py;  // position in the drawn area
                    const uint16_t want = sv == 0 ? dv
                                          : useFloat ? GradientFloatReference(g, sv, dv, ax, ay)
                                                     : GradientIntReference(g, sv, dv, ax, ay);
                    wrong += BackPixel(x, y) != want;
                }
            EXPECT_EQ(wrong, 0) << (useFloat ? "float" : "int") << " mode " << g.mode << " start " << g.start;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, PixelRulesTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Rgb555" : "Rgb565"; });
