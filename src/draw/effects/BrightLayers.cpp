// The layers that recolour the sprite without reading the back surface:
// float and int brightness (the int form darkens by subtraction), and grey.
#include "draw/effects/BlendRules.h"
#include "draw/effects/LayerFrame.h"

namespace {

using kafx::FixedWeight;
using kafx::Format;
using kafx::LayerArea;
using kafx::LayerPixels;

KA_FX_KERNEL void ScaledRows(const LayerArea& a, const LayerPixels& p, Format f, FixedWeight kr, FixedWeight kg,
                             FixedWeight kb) {
    kafx::ForFormat(f, [&](auto fmt) __attribute__((always_inline)) {
        kafx::EachPixel(a, p, [=](uint16_t s, uint16_t) { return kafx::MixByFixed(fmt, s, 0, kr, kg, kb); });
    });
}
KA_FX_KERNEL void Scaled16Rows(const LayerArea& a, const LayerPixels& p, Format f, FixedWeight kr, FixedWeight kg,
                               FixedWeight kb) {
    const uint16_t ar = kafx::Weight16(kr.a), ag = kafx::Weight16(kg.a), ab = kafx::Weight16(kb.a);
    kafx::ForFormat(f, [&](auto fmt) __attribute__((always_inline)) {
        kafx::EachPixel(a, p, [=](uint16_t s, uint16_t) {
            const uint16_t A[3] = {ar, ag, ab}, B[3] = {0, 0, 0};
            return kafx::MixByFixed16(fmt, s, 0, A, B);
        });
    });
}
KA_FX_KERNEL void DarkenRows(const LayerArea& a, const LayerPixels& p, Format f, uint16_t kR, uint16_t kG, uint16_t kB) {
    kafx::ForFormat(f, [&](auto fmt) __attribute__((always_inline)) {
        kafx::EachPixel(a, p, [=](uint16_t s, uint16_t) { return kafx::DarkenByFormula(fmt, s, kR, kG, kB); });
    });
}
KA_FX_KERNEL void GrayRows(const LayerArea& a, const LayerPixels& p, Format f) {
    kafx::ForFormat(f, [&](auto fmt) __attribute__((always_inline)) {
        kafx::EachPixel(a, p, [=](uint16_t s, uint16_t) { return kafx::GrayByFormula(fmt, s); });
    });
}

// Native components scaled by per-channel factors: the integer formula
// where it is exact (factors 0..1 of at most 25 fractional bits), else
// double with each component clamped to its field.
int ScaledLayer(const kafx::LayerCall& call, float fr, float fg, float fb) {
    return kafx::RunLayer(call, kafx::DrawnRect, [=](const LayerArea& a, const LayerPixels& p) {
        const kafx::FixedWeight kr = kafx::FixedWeightOf(fr, 0.0f), kg = kafx::FixedWeightOf(fg, 0.0f),
                                kb = kafx::FixedWeightOf(fb, 0.0f);
        if (kafx::Fits16(kr) && kafx::Fits16(kg) && kafx::Fits16(kb)) {
            Scaled16Rows(a, p, kafx::CurrentFormat(), kr, kg, kb);
        } else if (kr.exact && kg.exact && kb.exact) {
            ScaledRows(a, p, kafx::CurrentFormat(), kr, kg, kb);
        } else {
            kafx::EachOpaquePixel(a, p, [=](uint16_t s, uint16_t, int, int) {
                kafx::Rgb c = kafx::SplitNative(s);
                return kafx::PackNative(kafx::ClampField(kafx::Scaled(c.r, fr), kaDraw::BitR),
                                        kafx::ClampField(kafx::Scaled(c.g, fg), kaDraw::BitG),
                                        kafx::ClampField(kafx::Scaled(c.b, fb), kaDraw::BitB));
            });
        }
    });
}

int DarkenedLayer(const kafx::LayerCall& call, int brightR, int brightG, int brightB) {
    const uint16_t kR = static_cast<uint16_t>(31 - kafx::ClampLevel(brightR)),
                   kG = static_cast<uint16_t>(31 - kafx::ClampLevel(brightG)),
                   kB = static_cast<uint16_t>(31 - kafx::ClampLevel(brightB));
    return kafx::RunLayer(call, kafx::DrawnRect, [=](const LayerArea& a, const LayerPixels& p) {
        DarkenRows(a, p, kafx::CurrentFormat(), kR, kG, kB);
    });
}

}  // namespace

int kaDraw::BrightLayer(int Px, int Py, float Bright, int ObjDD, int X1, int Y1, int X2, int Y2) {
    return ScaledLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, Bright, Bright, Bright);
}

int kaDraw::BrightLayer(int Px, int Py, float BrightR, float BrightG, float BrightB, int ObjDD, int X1, int Y1, int X2,
                        int Y2) {
    return ScaledLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, BrightR, BrightG, BrightB);
}

int kaDraw::BrightLayer(int Px, int Py, int Bright, int ObjDD, int X1, int Y1, int X2, int Y2) {
    return DarkenedLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, Bright, Bright, Bright);
}

int kaDraw::BrightLayer(int Px, int Py, int BrightR, int BrightG, int BrightB, int ObjDD, int X1, int Y1, int X2,
                        int Y2) {
    return DarkenedLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, BrightR, BrightG, BrightB);
}

int kaDraw::GrayLayer(int Px, int Py, int ObjDD, int X1, int Y1, int X2, int Y2) {
    return kafx::RunLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, kafx::DrawnRect,
                          [](const LayerArea& a, const LayerPixels& p) { GrayRows(a, p, kafx::CurrentFormat()); });
}
