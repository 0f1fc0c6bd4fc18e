// The mesh layer: every Step-th sprite pixel plotted as one point, lifted by
// a ripple that rises and falls with the distance from the centre, sheared by
// Angle per row and scaled by Zoom.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "draw/effects/EffectPixels.h"
#include "draw/effects/LayerFrame.h"

namespace {

// The ripple of a point depends on xx² and zz² only; columns mirrored about
// the centre mostly have the same xx², so within a row the ripple is worked
// out once per distinct xx² (the cosine and the exponential are most of the
// mesh's time). first[i] is the first column with the same xx² as column i.
void SameColumns(const std::vector<double>& xx2, std::vector<int>* first) {
    const int n = static_cast<int>(xx2.size());
    std::vector<int> order(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) order[static_cast<size_t>(i)] = i;
    // Ordered by the bits of the value, so that only identical doubles group.
    auto bits = [&xx2](int i) {
        uint64_t b;
        std::memcpy(&b, &xx2[static_cast<size_t>(i)], sizeof b);
        return b;
    };
    std::sort(order.begin(), order.end(), [&](int a, int b) { return std::make_pair(bits(a), a) < std::make_pair(bits(b), b); });
    first->resize(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) {
        const int i = order[static_cast<size_t>(k)];
        const bool same = k > 0 && bits(order[static_cast<size_t>(k - 1)]) == bits(i);
        (*first)[static_cast<size_t>(i)] = same ? (*first)[static_cast<size_t>(order[static_cast<size_t>(k - 1)])] : i;
    }
}

}  // namespace

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
        // The grid's columns x = i * Step (64 bits: a huge Step must not wrap).
        const int columns = static_cast<int>((int64_t{a.ex} - 1) / Step + 1);
        std::vector<double> xx2(static_cast<size_t>(columns)), ripple(static_cast<size_t>(columns));
        for (int i = 0; i < columns; ++i) {
            const float xx = static_cast<float>(2.0 / w * static_cast<double>(int64_t{i} * Step) - 1.0);
            xx2[static_cast<size_t>(i)] = static_cast<double>(xx) * xx;
        }
        std::vector<int> first;
        SameColumns(xx2, &first);
        for (int64_t y = 0; y < a.ey; y += Step) {
            const float zz = static_cast<float>(2.0 / h * static_cast<double>(y) - 1.0);
            const double zz2 = static_cast<double>(zz) * zz;
            const uint16_t* s = p.src + static_cast<ptrdiff_t>(y) * p.srcPitch;
            for (int i = 0; i < columns; ++i) {
                const size_t k = static_cast<size_t>(i);
                const double x2 = xx2[k];
                ripple[k] = first[k] == i ? (std::cos(std::sqrt(x2 + zz2) * waves) * std::exp(zz2 - x2) + 1.0) * size / 2.0
                                          : ripple[static_cast<size_t>(first[k])];
            }
            for (int i = 0; i < columns; ++i) {
                const int64_t x = int64_t{i} * Step;
                const float yy = static_cast<float>(ripple[static_cast<size_t>(i)] + static_cast<double>(y));
                const int64_t tx = int64_t{a.px} + kafx::SaturatingInt((static_cast<double>(x) + static_cast<double>(y) * angle) * zoom);
                const int64_t ty = int64_t{a.py} + kafx::SaturatingInt(static_cast<double>(yy) * zoom);
                if (tx < bounds.left || tx >= bounds.right || ty < bounds.top || ty >= bounds.bottom) continue;
                p.back->row(static_cast<int>(ty))[tx] = s[x];
            }
        }
    });
}
