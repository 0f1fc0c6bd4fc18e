// The layers that recolour the sprite without reading the back surface:
// float and int brightness (the int form darkens by subtraction), and grey.
#include "draw/effects/BlendRules.h"
#include "draw/effects/LayerFrame.h"

namespace {

using kafx::LayerArea;
using kafx::LayerPixels;

// Native components scaled by per-channel factors: the integer formula
// where it is exact (factors 0..1 of at most 25 fractional bits), else
// double with each component clamped to its field.
int ScaledLayer(const kafx::LayerCall& call, float fr, float fg, float fb) {
    return kafx::RunLayer(call, kafx::DrawnRect, [=](const LayerArea& a, const LayerPixels& p) {
        const kafx::FixedWeight kr = kafx::FixedWeightOf(fr, 0.0f), kg = kafx::FixedWeightOf(fg, 0.0f),
                                kb = kafx::FixedWeightOf(fb, 0.0f);
        if (kr.exact && kg.exact && kb.exact) {
            const kafx::Format f = kafx::CurrentFormat();
            kafx::EachPixel(a, p, [=](uint16_t s, uint16_t) { return kafx::MixByFixed(f, s, 0, kr, kg, kb); });
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
    const unsigned kR = 31 - kafx::ClampLevel(brightR), kG = 31 - kafx::ClampLevel(brightG),
                   kB = 31 - kafx::ClampLevel(brightB);
    return kafx::RunLayer(call, kafx::DrawnRect, [=](const LayerArea& a, const LayerPixels& p) {
        const kafx::Format f = kafx::CurrentFormat();
        kafx::EachPixel(a, p, [=](uint16_t s, uint16_t) { return kafx::DarkenByFormula(f, s, kR, kG, kB); });
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
    return kafx::RunLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, kafx::DrawnRect, [](const LayerArea& a, const LayerPixels& p) {
        const kafx::Format f = kafx::CurrentFormat();
        kafx::EachPixel(a, p, [=](uint16_t s, uint16_t) { return kafx::GrayByFormula(f, s); });
    });
}
