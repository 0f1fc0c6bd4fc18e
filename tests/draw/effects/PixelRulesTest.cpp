// The per-pixel rules of the blend and brightness layers: the formulas the
// layers run against the table-reading references, on every pixel value or
// on random pixel pairs, in 5-6-5 and in 5-5-5; and whole members drawn over
// random back surfaces against the references pixel by pixel.
#include <cmath>

#include "EffectTestSupport.h"
#include "draw/effects/BlendRules.h"

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

INSTANTIATE_TEST_SUITE_P(Formats, PixelRulesTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Rgb555" : "Rgb565"; });
