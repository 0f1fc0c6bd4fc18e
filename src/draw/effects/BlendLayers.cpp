// The blend layers that mix a sprite with the back surface under it: the even
// half mix, the float and int weighted mixes, the saturating add, the
// subtraction and the channel filter.
#include <cmath>

#include "draw/effects/BlendRules.h"
#include "draw/effects/LayerFrame.h"

namespace kafx {

FixedWeight FixedWeightOf(float w, float bd) {
    FixedWeight k;
    if (!(w >= 0.0f && w <= 1.0f && bd >= 0.0f && bd <= 1.0f)) return k;
    for (unsigned e = 0; e <= 25; ++e) {
        double a = std::ldexp(static_cast<double>(w), static_cast<int>(e));
        double b = std::ldexp(static_cast<double>(bd), static_cast<int>(e));
        if (a == std::floor(a) && b == std::floor(b)) {
            k.exact = true;
            k.a = static_cast<uint32_t>(a);
            k.b = static_cast<uint32_t>(b);
            k.e = e;
            return k;
        }
    }
    return k;
}

}  // namespace kafx

namespace {

using kafx::LayerArea;
using kafx::LayerPixels;

// The weighted mix of native components with per-channel weights: the
// integer formula where it is exact, the double evaluation otherwise.
int WeightedLayer(const kafx::LayerCall& call, const float w[3], const float bd[3]) {
    return kafx::RunLayer(call, kafx::DrawnRect, [&](const LayerArea& a, const LayerPixels& p) {
        const kafx::FixedWeight kr = kafx::FixedWeightOf(w[0], bd[0]), kg = kafx::FixedWeightOf(w[1], bd[1]),
                                kb = kafx::FixedWeightOf(w[2], bd[2]);
        if (kr.exact && kg.exact && kb.exact) {
            const kafx::Format f = kafx::CurrentFormat();
            kafx::EachPixel(a, p, [=](uint16_t s, uint16_t d) { return kafx::MixByFixed(f, s, d, kr, kg, kb); });
        } else {
            kafx::EachOpaquePixel(a, p, [=](uint16_t s, uint16_t d, int, int) { return kafx::MixByDouble(s, d, w, bd); });
        }
    });
}

int LevelLayer(const kafx::LayerCall& call, int blendR, int blendG, int blendB) {
    const unsigned aR = 31 - kafx::ClampLevel(blendR), aG = 31 - kafx::ClampLevel(blendG),
                   aB = 31 - kafx::ClampLevel(blendB);
    return kafx::RunLayer(call, kafx::DrawnRect, [=](const LayerArea& a, const LayerPixels& p) {
        const kafx::Format f = kafx::CurrentFormat();
        kafx::EachPixel(a, p, [=](uint16_t s, uint16_t d) { return kafx::BlendByFormula(f, s, d, aR, aG, aB); });
    });
}

int AddLayer(const kafx::LayerCall& call, int level) {
    const unsigned l = static_cast<unsigned>(kafx::ClampLevel(level));
    return kafx::RunLayer(call, kafx::DrawnRect, [=](const LayerArea& a, const LayerPixels& p) {
        const kafx::Format f = kafx::CurrentFormat();
        kafx::EachPixel(a, p, [=](uint16_t s, uint16_t d) { return kafx::AddByFormula(f, s, d, l); });
    });
}

}  // namespace

int kaDraw::BlendLayer(int Px, int Py, int ObjDD, int X1, int Y1, int X2, int Y2) {
    return kafx::RunLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, kafx::DrawnRect, [](const LayerArea& a, const LayerPixels& p) {
        const uint16_t mask = static_cast<uint16_t>(MaskRGB);
        kafx::EachPixel(a, p, [=](uint16_t s, uint16_t d) {
            return static_cast<uint16_t>(((s >> 1) & mask) + ((d >> 1) & mask));
        });
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
    return kafx::RunLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, kafx::DrawnRect, [](const LayerArea& a, const LayerPixels& p) {
        const kafx::Format f = kafx::CurrentFormat();
        kafx::EachPixel(a, p, [=](uint16_t s, uint16_t d) { return kafx::DelByFormula(f, s, d); });
    });
}

int kaDraw::PlainLayer(int Px, int Py, int PlainR, int PlainG, int PlainB, int ObjDD, int X1, int Y1, int X2, int Y2) {
    const uint16_t color =
        static_cast<uint16_t>((PlainR ? MaskR : 0) | (PlainG ? MaskG : 0) | (PlainB ? MaskB : 0));
    return kafx::RunLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, kafx::DrawnRect, [=](const LayerArea& a, const LayerPixels& p) {
        kafx::EachPixel(a, p, [=](uint16_t s, uint16_t) { return static_cast<uint16_t>(s & color); });
    });
}
