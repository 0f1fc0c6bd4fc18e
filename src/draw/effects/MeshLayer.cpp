// The mesh layer: every Step-th sprite pixel plotted as one point, lifted by
// a ripple that rises and falls with the distance from the centre, sheared by
// Angle per row and scaled by Zoom.
#include <cmath>

#include "draw/effects/EffectPixels.h"
#include "draw/effects/LayerFrame.h"

int kaDraw::MeshLayer(int Px, int Py, int WaveSize, int WaveCount, int Step, float Zoom, float Angle, int ObjDD, int X1,
                      int Y1, int X2, int Y2) {
    if (Step < 1) return kafx::kRefused;  // the walk would never end
    return kafx::RunLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, kafx::DrawnRect,
                          [&](const kafx::LayerArea& a, const kafx::LayerPixels& p) {
        // The ripple is measured on the rectangle left after clipping.
        const double w = static_cast<double>(int64_t{a.call.x2} - a.x1);
        const double h = static_cast<double>(int64_t{a.call.y2} - a.y1);
        const plat::Rect bounds = kafx::VisibleBounds(*p.back);
        const double zoom = Zoom, angle = Angle, waves = WaveCount, size = WaveSize;
        for (int64_t y = 0; y < a.ey; y += Step) {  // 64 bits: a huge Step must not wrap
            const float zz = static_cast<float>(2.0 / h * static_cast<double>(y) - 1.0);
            const double zz2 = static_cast<double>(zz) * zz;
            const uint16_t* s = p.src + static_cast<ptrdiff_t>(y) * p.srcPitch;
            for (int64_t x = 0; x < a.ex; x += Step) {
                const float xx = static_cast<float>(2.0 / w * static_cast<double>(x) - 1.0);
                const double xx2 = static_cast<double>(xx) * xx;
                const double ripple = (std::cos(std::sqrt(xx2 + zz2) * waves) * std::exp(zz2 - xx2) + 1.0) * size / 2.0;
                const float yy = static_cast<float>(ripple + static_cast<double>(y));
                const int64_t tx = int64_t{a.px} + kafx::SaturatingInt((static_cast<double>(x) + static_cast<double>(y) * angle) * zoom);
                const int64_t ty = int64_t{a.py} + kafx::SaturatingInt(static_cast<double>(yy) * zoom);
                if (tx < bounds.left || tx >= bounds.right || ty < bounds.top || ty >= bounds.bottom) continue;
                p.back->row(static_cast<int>(ty))[tx] = s[x];
            }
        }
    });
}
