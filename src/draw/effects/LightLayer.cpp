// kaDraw::LightLayer: light rays cast from every opaque pixel of a sprite.
// Each pixel's five-bit colour, dimmed by right shifts and a noise value,
// lights up to 31 back-surface pixels per chosen direction, each step one
// level fainter, adding to what is there and saturating at 31.
#include "draw/effects/EffectPixels.h"
#include "draw/effects/EffectState.h"
#include "draw/effects/LayerFrame.h"
#include "draw/effects/kaEffect.h"

namespace {

// Directions in the order they are lit, with their Dir bits and the pixel
// lit at step i, relative to the source pixel: (dx * i, dy * (i + 1)).
struct Ray {
    uint16_t bit;
    int dx, dy;
};
constexpr Ray kRays[] = {{0x40, 0, -1}, {0x20, -1, -1}, {0x80, 1, -1}, {0x02, 0, 1},
                         {0x01, -1, 1}, {0x04, 1, 1},   {0x08, -1, 0}, {0x10, 1, 0}};

int Shift(int s) { return kafx::Clamp(s, 0, 31); }

}  // namespace

int kaDraw::LightLayer(int Px, int Py, int Red, int Green, int Blue, uint16_t Dir, int Show, int ObjDD, int X1,
                       int Y1, int X2, int Y2) {
    const int sr = Shift(Red), sg = Shift(Green), sb = Shift(Blue);
    return kafx::RunLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, kafx::DrawnRect,
                          [&](const kafx::LayerArea& a, const kafx::LayerPixels& p) {
        const plat::Rect seen = kafx::VisibleBounds(*p.back);
        int& count = kadraw::state::lightCount;
        for (int y = 0; y < a.ey; ++y) {
            const uint16_t* src = p.src + y * p.srcPitch;
            for (int x = 0; x < a.ex; ++x) {
                const uint16_t s = src[x];
                if (s == 0) continue;
                const int64_t ox = int64_t{a.px} + x, oy = int64_t{a.py} + y;
                if (Show != 0) p.dst[y * p.dstPitch + x] = s;
                const kafx::Rgb c = kafx::Split5(s);
                const int n = kaEffect::FireRandomList[count];
                if (++count >= 10000) count = 0;
                int r = kafx::SatSub(c.r >> sr, n), g = kafx::SatSub(c.g >> sg, n), b = kafx::SatSub(c.b >> sb, n);
                for (int i = 0; i < 31; ++i) {
                    if (r > 0) --r;
                    if (g > 0) --g;
                    if (b > 0) --b;
                    if (r == 0 && g == 0 && b == 0) break;
                    for (const Ray& ray : kRays) {
                        if ((Dir & ray.bit) == 0) continue;
                        const int64_t lx = ox + ray.dx * i, ly = oy + ray.dy * (i + 1);
                        if (lx < seen.left || lx >= seen.right || ly < seen.top || ly >= seen.bottom) continue;
                        uint16_t& q = p.back->row(static_cast<int>(ly))[lx];
                        const kafx::Rgb d = kafx::Split5(q);
                        q = kafx::Pack5(kafx::Min31(r + d.r), kafx::Min31(g + d.g), kafx::Min31(b + d.b));
                    }
                }
            }
        }
    });
}
