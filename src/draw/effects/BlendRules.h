// Per-pixel rules of the blend and brightness layers, each twice: the
// table-reading reference (GetRGB and the blend tables, one pixel at a
// time) and the formula the layers run, which gives the same result for
// every pixel pair and vectorises. Tests hold the formulas to the tables.
#pragma once

#include <cstdint>

#include "draw/effects/EffectPixels.h"

namespace kafx {

// ---- Table-reading references ------------------------------------------------

// Cross-fade at per-channel levels (0..31: 0 keeps the source).
inline uint16_t BlendByTable(uint16_t s, uint16_t d, int aR, int aG, int aB) {
    Rgb S = Split5(s), D = Split5(d);
    return static_cast<uint16_t>(kaDraw::BlendList[0][aR][S.r][D.r] | kaDraw::BlendList[1][aG][S.g][D.g] |
                                 kaDraw::BlendList[2][aB][S.b][D.b]);
}
// Saturating add of the source attenuated by level a.
inline uint16_t AddByTable(uint16_t s, uint16_t d, int a) {
    Rgb S = Split5(s), D = Split5(d);
    return static_cast<uint16_t>(kaDraw::AddBlendList[0][a][S.r][D.r] | kaDraw::AddBlendList[1][a][S.g][D.g] |
                                 kaDraw::AddBlendList[2][a][S.b][D.b]);
}
// Every channel of d less the source's red.
inline uint16_t DelByTable(uint16_t s, uint16_t d) {
    Rgb S = Split5(s), D = Split5(d);
    return static_cast<uint16_t>(kaDraw::DelBlendList[0][D.r][S.r] | kaDraw::DelBlendList[1][D.g][S.r] |
                                 kaDraw::DelBlendList[2][D.b][S.r]);
}
// Darkening by subtraction of per-channel amounts (31 - level).
inline uint16_t DarkenByTable(uint16_t s, int kR, int kG, int kB) {
    Rgb S = Split5(s);
    return static_cast<uint16_t>(kaDraw::DelBlendList[0][S.r][kR] | kaDraw::DelBlendList[1][S.g][kG] |
                                 kaDraw::DelBlendList[2][S.b][kB]);
}
inline uint16_t GrayByTable(uint16_t s) {
    Rgb S = Split5(s);
    int g = kaDraw::GrayList[S.r + S.g + S.b];
    return Pack5(g, g, g);
}

// ---- Formulas ------------------------------------------------------------------
// Each five-bit field is worked on where it lies in the pixel (its top five
// bits, the rest of the pixel masked off), with levels shifted to the same
// place: a saturating subtraction there is the table's max(x - y, 0), and
// results that stay within the field can be added together, so no field is
// ever shifted down and packed back.

// The five-bit field of channel c in place, and a five-bit value moved there.
template <typename F>
inline uint16_t Field5(const F& f, int c) {
    return static_cast<uint16_t>(31u << (c == 0 ? f.shiftR2 : c == 1 ? f.shiftG2 : f.shiftB2));
}
template <typename F>
inline uint16_t At5(const F& f, int c, uint16_t v) {
    return static_cast<uint16_t>(v << (c == 0 ? f.shiftR2 : c == 1 ? f.shiftG2 : f.shiftB2));
}
// A pixel with a bit no field covers splits to black, as in GetRGB.
template <typename F>
inline uint16_t Covered(const F& f, uint16_t p) {
    return (p & f.unused) ? 0 : p;
}

// The cross-fade with the levels already moved to their fields (A[c] is
// At5(f, c, level)); the back surface's level is what remains of the field.
template <typename F>
inline uint16_t BlendAtFields(const F& f, uint16_t s, uint16_t d, const uint16_t A[3]) {
    const uint16_t S = Covered(f, s), D = Covered(f, d);
    uint16_t out = 0;
    for (int c = 0; c < 3; ++c) {
        const uint16_t m = Field5(f, c);
        out = static_cast<uint16_t>(out + SatSub(S & m, A[c]) + SatSub(D & m, static_cast<uint16_t>(m - A[c])));
    }
    return out;
}
template <typename F>
inline uint16_t BlendByFormula(const F& f, uint16_t s, uint16_t d, uint16_t aR, uint16_t aG, uint16_t aB) {
    const uint16_t A[3] = {At5(f, 0, aR), At5(f, 1, aG), At5(f, 2, aB)};
    return BlendAtFields(f, s, d, A);
}
template <typename F>
inline uint16_t AddByFormula(const F& f, uint16_t s, uint16_t d, uint16_t a) {
    const uint16_t S = Covered(f, s), D = Covered(f, d);
    uint16_t out = 0;
    for (int c = 0; c < 3; ++c) {
        // min(x + y, m) as m - max(m - x - y, 0): no sum can leave 16 bits.
        const uint16_t m = Field5(f, c);
        const uint16_t x = SatSub(S & m, At5(f, c, a));
        out = static_cast<uint16_t>(out | (m - SatSub(static_cast<uint16_t>(m - x), D & m)));
    }
    return out;
}
template <typename F>
inline uint16_t DelByFormula(const F& f, uint16_t s, uint16_t d) {
    const uint16_t D = Covered(f, d);
    const uint16_t red = static_cast<uint16_t>((Covered(f, s) >> f.shiftR2) & 31);
    uint16_t out = 0;
    for (int c = 0; c < 3; ++c) out = static_cast<uint16_t>(out | SatSub(D & Field5(f, c), At5(f, c, red)));
    return out;
}
template <typename F>
inline uint16_t DarkenByFormula(const F& f, uint16_t s, uint16_t kR, uint16_t kG, uint16_t kB) {
    const uint16_t S = Covered(f, s);
    const uint16_t k[3] = {kR, kG, kB};
    uint16_t out = 0;
    for (int c = 0; c < 3; ++c) out = static_cast<uint16_t>(out | SatSub(S & Field5(f, c), At5(f, c, k[c])));
    return out;
}
// n / 3 for n = 0..93 (the only sums of three five-bit components), in 16
// bits: 93 * 171 stays below 2^16.
inline uint16_t Third(uint16_t n) { return static_cast<uint16_t>(static_cast<uint16_t>(n * 171) >> 9); }
template <typename F>
inline uint16_t GrayByFormula(const F& f, uint16_t s) {
    const Five S = Split5(f, s);
    const uint16_t g = Third(static_cast<uint16_t>(S.r + S.g + S.b));
    return Pack5(f, g, g, g);
}

// ---- Float weights -----------------------------------------------------------------

// One channel's weight pair (source w, destination bd) of a float member.
// When both lie in 0..1 and are multiples of 2^-e for some e <= 25, the
// double evaluation s * w + d * bd is exact and equals (s * a + d * b) >> 25
// in 32-bit integers, with a = w * 2^25 and b = bd * 2^25: the formula path
// (a constant shift keeps it vectorisable). Otherwise exact is false and the
// member evaluates in double, clamping each component.
struct FixedWeight {
    bool exact = false;
    uint32_t a = 0, b = 0;  // weights times 2^25
    unsigned e = 0;         // the fewest fractional bits that hold both
};
FixedWeight FixedWeightOf(float w, float bd);
constexpr unsigned kFixedShift = 25;

// Weights that are multiples of 1/1024 (e <= 10) whose pair sums to at most
// 1040/1024 also fit 16-bit lanes at a shift of 10: 63 * (a + b) stays below
// 65536.
constexpr unsigned kFixedShift16 = 10;
inline bool Fits16(const FixedWeight& k) {
    return k.exact && k.e <= kFixedShift16 && ((k.a + k.b) >> (kFixedShift - kFixedShift16)) <= 1040;
}
inline uint16_t Weight16(uint32_t a) { return static_cast<uint16_t>(a >> (kFixedShift - kFixedShift16)); }

// The double reference of one native channel, clamped to the field.
inline int MixByDouble(int s, float w, int d, float bd, uint32_t bit) { return ClampField(WeightedMix(s, w, d, bd), bit); }
inline unsigned MixByFixed(unsigned s, unsigned d, const FixedWeight& k) { return (s * k.a + d * k.b) >> kFixedShift; }

// Native weighted mix of a pixel pair, per-channel weights.
inline uint16_t MixByDouble(uint16_t s, uint16_t d, const float w[3], const float bd[3]) {
    Rgb S = SplitNative(s), D = SplitNative(d);
    return PackNative(MixByDouble(S.r, w[0], D.r, bd[0], kaDraw::BitR), MixByDouble(S.g, w[1], D.g, bd[1], kaDraw::BitG),
                      MixByDouble(S.b, w[2], D.b, bd[2], kaDraw::BitB));
}
template <typename F>
inline uint16_t MixByFixed(const F& f, uint16_t s, uint16_t d, const FixedWeight& r, const FixedWeight& g,
                           const FixedWeight& b) {
    unsigned sr = (s >> f.shiftR) & f.bitR, sg = (s >> f.shiftG) & f.bitG, sb = (s >> f.shiftB) & f.bitB;
    unsigned dr = (d >> f.shiftR) & f.bitR, dg = (d >> f.shiftG) & f.bitG, db = (d >> f.shiftB) & f.bitB;
    return static_cast<uint16_t>((MixByFixed(sr, dr, r) << f.shiftR) | (MixByFixed(sg, dg, g) << f.shiftG) |
                                 (MixByFixed(sb, db, b) << f.shiftB));
}

// The same in 16-bit lanes, for weights where Fits16 holds (a and b from
// Weight16).
inline uint16_t MixByFixed16(uint16_t s, uint16_t d, uint16_t a, uint16_t b) {
    return static_cast<uint16_t>(static_cast<uint16_t>(s * a + d * b) >> kFixedShift16);
}
template <typename F>
inline uint16_t MixByFixed16(const F& f, uint16_t s, uint16_t d, const uint16_t a[3], const uint16_t b[3]) {
    const uint16_t sr = (s >> f.shiftR) & f.bitR, sg = (s >> f.shiftG) & f.bitG, sb = (s >> f.shiftB) & f.bitB;
    const uint16_t dr = (d >> f.shiftR) & f.bitR, dg = (d >> f.shiftG) & f.bitG, db = (d >> f.shiftB) & f.bitB;
    return static_cast<uint16_t>((MixByFixed16(sr, dr, a[0], b[0]) << f.shiftR) |
                                 (MixByFixed16(sg, dg, a[1], b[1]) << f.shiftG) |
                                 (MixByFixed16(sb, db, a[2], b[2]) << f.shiftB));
}

}  // namespace kafx
