// The blend layers that mix a sprite with the back surface under it: the even
// half mix, the float and int weighted mixes, the saturating add, the
// subtraction and the channel filter.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "draw/effects/BlendRules.h"
#include "draw/effects/LayerFrame.h"

namespace kafx {

namespace {

// The fewest fractional bits of a finite float v >= 0: the smallest e with
// v * 2^e an integer (v = m * 2^(exponent - 150) with a 24-bit m).
unsigned FractionBits(float v) {
    uint32_t u;
    std::memcpy(&u, &v, sizeof u);
    if (u == 0) return 0;
    const int exponent = static_cast<int>(u >> 23);
    if (exponent == 0) return 255;  // below 2^-126: more than any shift here
    const uint32_t m = (u & 0x7FFFFFu) | 0x800000u;
    const int e = 150 - exponent - __builtin_ctz(m);
    return e < 0 ? 0u : static_cast<unsigned>(e);
}

}  // namespace

FixedWeight FixedWeightOf(float w, float bd) {
    FixedWeight k;
    if (!(w >= 0.0f && w <= 1.0f && bd >= 0.0f && bd <= 1.0f)) return k;
    const unsigned e = std::max(FractionBits(w), FractionBits(bd));
    if (e > kFixedShift) return k;
    k.exact = true;
    k.a = static_cast<uint32_t>(static_cast<double>(w) * (1u << kFixedShift));
    k.b = static_cast<uint32_t>(static_cast<double>(bd) * (1u << kFixedShift));
    k.e = e;
    return k;
}

}  // namespace kafx

namespace {

using kafx::FixedWeight;
using kafx::Format;
using kafx::LayerArea;
using kafx::LayerPixels;

// ---- Row kernels (built for AVX2 and the baseline) ------------------------------

KA_FX_KERNEL void HalfRows(const LayerArea& a, const LayerPixels& p, uint16_t mask) {
    kafx::EachPixel(a, p, [=](uint16_t s, uint16_t d) { return static_cast<uint16_t>(((s >> 1) & mask) + ((d >> 1) & mask)); });
}
KA_FX_KERNEL void FixedMixRows(const LayerArea& a, const LayerPixels& p, Format f, FixedWeight kr, FixedWeight kg,
                               FixedWeight kb) {
    kafx::ForFormat(f, [&](auto fmt) __attribute__((always_inline)) {
        kafx::EachPixel(a, p, [=](uint16_t s, uint16_t d) { return kafx::MixByFixed(fmt, s, d, kr, kg, kb); });
    });
}
KA_FX_KERNEL void FixedMix16Rows(const LayerArea& a, const LayerPixels& p, Format f, FixedWeight kr, FixedWeight kg,
                                 FixedWeight kb) {
    const uint16_t ar = kafx::Weight16(kr.a), ag = kafx::Weight16(kg.a), ab = kafx::Weight16(kb.a);
    const uint16_t br = kafx::Weight16(kr.b), bg = kafx::Weight16(kg.b), bb = kafx::Weight16(kb.b);
    kafx::ForFormat(f, [&](auto fmt) __attribute__((always_inline)) {
        kafx::EachPixel(a, p, [=](uint16_t s, uint16_t d) {
            const uint16_t A[3] = {ar, ag, ab}, B[3] = {br, bg, bb};
            return kafx::MixByFixed16(fmt, s, d, A, B);
        });
    });
}
KA_FX_KERNEL void LevelRows(const LayerArea& a, const LayerPixels& p, Format f, uint16_t aR, uint16_t aG, uint16_t aB) {
    kafx::ForFormat(f, [&](auto fmt) __attribute__((always_inline)) {
        kafx::EachPixel(a, p, [=](uint16_t s, uint16_t d) { return kafx::BlendByFormula(fmt, s, d, aR, aG, aB); });
    });
}
KA_FX_KERNEL void AddRows(const LayerArea& a, const LayerPixels& p, Format f, uint16_t l) {
    kafx::ForFormat(f, [&](auto fmt) __attribute__((always_inline)) {
        kafx::EachPixel(a, p, [=](uint16_t s, uint16_t d) { return kafx::AddByFormula(fmt, s, d, l); });
    });
}
KA_FX_KERNEL void DelRows(const LayerArea& a, const LayerPixels& p, Format f) {
    kafx::ForFormat(f, [&](auto fmt) __attribute__((always_inline)) {
        kafx::EachPixel(a, p, [=](uint16_t s, uint16_t d) { return kafx::DelByFormula(fmt, s, d); });
    });
}
KA_FX_KERNEL void MaskRows(const LayerArea& a, const LayerPixels& p, uint16_t color) {
    kafx::EachPixel(a, p, [=](uint16_t s, uint16_t) { return static_cast<uint16_t>(s & color); });
}

// The weighted mix of native components with per-channel weights: the
// integer formula where it is exact, the double evaluation otherwise.
int WeightedLayer(const kafx::LayerCall& call, const float w[3], const float bd[3]) {
    return kafx::RunLayer(call, kafx::DrawnRect, [&](const LayerArea& a, const LayerPixels& p) {
        const kafx::FixedWeight kr = kafx::FixedWeightOf(w[0], bd[0]), kg = kafx::FixedWeightOf(w[1], bd[1]),
                                kb = kafx::FixedWeightOf(w[2], bd[2]);
        if (kafx::Fits16(kr) && kafx::Fits16(kg) && kafx::Fits16(kb)) {
            FixedMix16Rows(a, p, kafx::CurrentFormat(), kr, kg, kb);
        } else if (kr.exact && kg.exact && kb.exact) {
            FixedMixRows(a, p, kafx::CurrentFormat(), kr, kg, kb);
        } else {
            kafx::EachOpaquePixel(a, p, [=](uint16_t s, uint16_t d, int, int) { return kafx::MixByDouble(s, d, w, bd); });
        }
    });
}

int LevelLayer(const kafx::LayerCall& call, int blendR, int blendG, int blendB) {
    const uint16_t aR = static_cast<uint16_t>(31 - kafx::ClampLevel(blendR)),
                   aG = static_cast<uint16_t>(31 - kafx::ClampLevel(blendG)),
                   aB = static_cast<uint16_t>(31 - kafx::ClampLevel(blendB));
    return kafx::RunLayer(call, kafx::DrawnRect, [=](const LayerArea& a, const LayerPixels& p) {
        LevelRows(a, p, kafx::CurrentFormat(), aR, aG, aB);
    });
}

int AddLayer(const kafx::LayerCall& call, int level) {
    const uint16_t l = static_cast<uint16_t>(kafx::ClampLevel(level));
    return kafx::RunLayer(call, kafx::DrawnRect,
                          [=](const LayerArea& a, const LayerPixels& p) { AddRows(a, p, kafx::CurrentFormat(), l); });
}

}  // namespace

int kaDraw::BlendLayer(int Px, int Py, int ObjDD, int X1, int Y1, int X2, int Y2) {
    return kafx::RunLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, kafx::DrawnRect, [](const LayerArea& a, const LayerPixels& p) {
        HalfRows(a, p, static_cast<uint16_t>(MaskRGB));
    });
}

int kaDraw::BlendLayer(int Px, int Py, float Blend, int ObjDD, int X1, int Y1, int X2, int Y2) {
    const float bd = kafx::Complement(Blend);
    const float w[3] = {Blend, Blend, Blend}, d[3] = {bd, bd, bd};
    return WeightedLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, w, d);
}

int kaDraw::BlendLayer(int Px, int Py, float BlendR, float BlendG, float BlendB, int ObjDD, int X1, int Y1, int X2,
                       int Y2) {
    const float w[3] = {BlendR, BlendG, BlendB};
    const float d[3] = {kafx::Complement(BlendR), kafx::Complement(BlendG), kafx::Complement(BlendB)};
    return WeightedLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, w, d);
}

int kaDraw::BlendLayer(int Px, int Py, int Blend, int ObjDD, int X1, int Y1, int X2, int Y2) {
    return LevelLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, Blend, Blend, Blend);
}

int kaDraw::BlendLayer(int Px, int Py, int BlendR, int BlendG, int BlendB, int ObjDD, int X1, int Y1, int X2, int Y2) {
    return LevelLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, BlendR, BlendG, BlendB);
}

int kaDraw::AddBlendLayer(int Px, int Py, int ObjDD, int X1, int Y1, int X2, int Y2) {
    return AddLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, 0);
}

int kaDraw::AddBlendLayer(int Px, int Py, float Blend, int ObjDD, int X1, int Y1, int X2, int Y2) {
    const int level = kafx::SaturatingInt(31.0 - static_cast<double>(Blend) * 31.0);
    return AddLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, level);
}

int kaDraw::DelBlendLayer(int Px, int Py, int ObjDD, int X1, int Y1, int X2, int Y2) {
    return kafx::RunLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, kafx::DrawnRect,
                          [](const LayerArea& a, const LayerPixels& p) { DelRows(a, p, kafx::CurrentFormat()); });
}

int kaDraw::PlainLayer(int Px, int Py, int PlainR, int PlainG, int PlainB, int ObjDD, int X1, int Y1, int X2, int Y2) {
    const uint16_t color =
        static_cast<uint16_t>((PlainR ? MaskR : 0) | (PlainG ? MaskG : 0) | (PlainB ? MaskB : 0));
    return kafx::RunLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, kafx::DrawnRect,
                          [=](const LayerArea& a, const LayerPixels& p) { MaskRows(a, p, color); });
}
