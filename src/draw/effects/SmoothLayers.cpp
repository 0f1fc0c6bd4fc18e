// The smoothing layers: the box blur of the sprite (a Shade x Shade window
// kept inside the drawn rectangle) and the edge smoothing that averages
// sprite pixels with the back surface under their transparent neighbours.
#include <algorithm>
#include <vector>

#include "draw/effects/EffectPixels.h"
#include "draw/effects/LayerFrame.h"

namespace {

using kafx::LayerArea;
using kafx::LayerPixels;

struct Sums {
    uint32_t r = 0, g = 0, b = 0;
    void Add(uint16_t p) {
        const _getrgb& e = GetRGB[p];
        r += e.r, g += e.g, b += e.b;
    }
    void Remove(uint16_t p) {
        const _getrgb& e = GetRGB[p];
        r -= e.r, g -= e.g, b -= e.b;
    }
    void Add(const Sums& o) { r += o.r, g += o.g, b += o.b; }
    void Remove(const Sums& o) { r -= o.r, g -= o.g, b -= o.b; }
};

// Box blur with the window's corner at min(x, ex - n), min(y, ey - n): the
// column sums over the window's rows slide down the rectangle, and each row's
// window sum slides along them, so every pixel costs the same whatever n is.
void BoxBlur(const LayerArea& a, const LayerPixels& p, int n) {
    static std::vector<Sums> columns;
    columns.assign(static_cast<size_t>(a.ex), Sums{});
    auto srcRow = [&](int y) { return p.src + static_cast<ptrdiff_t>(y) * p.srcPitch; };
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < a.ex; ++x) columns[x].Add(srcRow(y)[x]);
    // Sums stay below 2^24 and the quotient is an integer or at least 1/area
    // away from one, so a double division truncates exactly; it is much
    // cheaper than three integer ones.
    const double area = static_cast<double>(n) * static_cast<double>(n);
    int top = 0;
    uint16_t* d = p.dst;
    for (int y = 0; y < a.ey; ++y, d += p.dstPitch) {
        const int wantTop = std::min(y, a.ey - n);
        if (wantTop != top) {  // one row down
            for (int x = 0; x < a.ex; ++x) {
                columns[x].Remove(srcRow(top)[x]);
                columns[x].Add(srcRow(top + n)[x]);
            }
            top = wantTop;
        }
        const uint16_t* s = srcRow(y);
        Sums window;
        for (int x = 0; x < n; ++x) window.Add(columns[x]);
        int left = 0;
        for (int x = 0; x < a.ex; ++x) {
            const int wantLeft = std::min(x, a.ex - n);
            if (wantLeft != left) {
                window.Remove(columns[left]);
                window.Add(columns[left + n]);
                left = wantLeft;
            }
            if (s[x] == 0) continue;
            d[x] = kafx::Pack5(static_cast<int>(window.r / area), static_cast<int>(window.g / area),
                               static_cast<int>(window.b / area));  // window sums converted to double
        }
    }
}

}  // namespace

int kaDraw::ShadeLayer(int Px, int Py, int Shade, int ObjDD, int X1, int Y1, int X2, int Y2) {
    return kafx::RunLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, kafx::DrawnRect, [=](const LayerArea& a, const LayerPixels& p) {
        // A window below one pixel has no area, and one larger than the drawn
        // rectangle would read outside it.
        const int n = std::min({std::max(Shade, 1), a.ex, a.ey});
        BoxBlur(a, p, n);
    });
}

int kaDraw::EdgeBlendLayer(int Px, int Py, int ObjDD, int X1, int Y1, int X2, int Y2) {
    return kafx::RunLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, kafx::DrawnRect, [](const LayerArea& a, const LayerPixels& p) {
        const ptrdiff_t sp = p.srcPitch, dp = p.dstPitch;
        kafx::EachOpaquePixel(a, p, [&](uint16_t s, uint16_t, int x, int y) {
            const uint16_t* sv = p.src + y * sp + x;
            const uint16_t* dv = p.dst + y * dp + x;
            Sums sum;
            sum.Add(s);
            uint32_t count = 1;
            auto neighbour = [&](bool inside, ptrdiff_t so, ptrdiff_t doff) {
                if (inside && sv[so] == 0) {
                    sum.Add(dv[doff]);
                    ++count;
                }
            };
            neighbour(x > 0, -1, -1);
            neighbour(x < a.ex - 1, 1, 1);
            neighbour(y > 0, -sp, -dp);
            neighbour(y < a.ey - 1, sp, dp);
            if (count == 1) return s;
            return kafx::Pack5(static_cast<int>(sum.r / count), static_cast<int>(sum.g / count),
                               static_cast<int>(sum.b / count));
        });
    });
}
