// kaDraw::WaterfallLayer: each sprite row stretched over the destination
// rows between the previous row's end and a moving cosine curve; rows that
// fall behind the curve vanish. The curve's period is H - 1 rows while the
// phase wraps at H.
#include <algorithm>
#include <cmath>

#include "draw/effects/EffectState.h"
#include "draw/effects/RowBlits.h"
#include "shell/Globals.h"

namespace {

// The curve's values for rows from..from+n-1 into ends. Inside a block the
// cosines come from the recurrence cos(a + (k+1)d) = 2cos(d)cos(a + kd) -
// cos(a + (k-1)d), started from two library cosines. Its error in a row's
// value stays below 1e-9 for sprites up to 4,096 rows (measured: 5e-10), far
// inside the margin of 1e-6 kept from a whole number; a value within the
// margin is worked out with the library's cosine. So every row gets what
// curve(y) gives.
template <typename Curve>
void CurveBlock(const Curve& curve, int64_t from, int64_t n, int64_t h, double half, double step, int64_t* ends) {
    constexpr int64_t kMaxRows = 4096;
    constexpr double kMargin = 1e-6;
    if (h > kMaxRows || n < 3) {
        for (int64_t i = 0; i < n; ++i) ends[i] = curve(from + i);
        return;
    }
    const double twoCos = 2.0 * std::cos(step);
    double before = curve.Cosine(from), now = curve.Cosine(from + 1);
    ends[0] = static_cast<int64_t>(before * half + half);
    ends[1] = static_cast<int64_t>(now * half + half);
    for (int64_t i = 2; i < n; ++i) {
        const double next = twoCos * now - before;
        const double v = next * half + half;
        const double whole = std::floor(v + 0.5);
        ends[i] = std::fabs(v - whole) > kMargin ? static_cast<int64_t>(v) : curve(from + i);
        before = now, now = next;
    }
}

}  // namespace

void kaDraw::WaterfallLayer(int Px, int Py, int Type, float Speed, int ObjDD, int X1, int Y1, int X2, int Y2) {
    float& rt = kadraw::state::waterfall;
    const int64_t h = int64_t{Y2} - Y1;
    if (h < 2) return;  // the curve's period would be zero
    const double half = static_cast<double>(h / 2);
    const double twoPi = 2.0 * std::acos(-1.0), period = static_cast<double>(h - 1);
    const double phase = kadraw::WrapBelow(rt, static_cast<double>(h));
    struct {
        double phase, twoPi, period, half;
        double Cosine(int64_t y) const { return std::cos((static_cast<double>(y) + phase) * twoPi / period); }
        int64_t operator()(int64_t y) const { return static_cast<int64_t>(Cosine(y) * half + half); }
    } const curve{phase, twoPi, period, half};
    // Only rows of the sprite can be copied; each row's destination rows
    // follow from its own and its predecessor's curve value.
    plat::Surface16* sprite = (ObjDD >= 0 && ObjDD < 1024) ? Sprite[ObjDD].Object : nullptr;
    const kadraw::Span seen = kadraw::VisibleRows();
    if (sprite != nullptr) {
        kadraw::RowCopier copier(kadraw::Copy::Opaque, ObjDD);
        const int64_t first = std::max<int64_t>(0, -int64_t{Y1});
        const int64_t last = std::min<int64_t>(h, int64_t{sprite->height()} - Y1);
        int64_t by = first == 0 ? 0 : curve(first - 1) + 1;
        // The curve a block of rows at a time, ahead of their copies: the
        // cosines do not wait on one another then.
        constexpr int64_t kBlock = 64;
        int64_t ends[kBlock];
        for (int64_t block = first; block < last; block += kBlock) {
            const int64_t n = std::min(kBlock, last - block);
            CurveBlock(curve, block, n, h, half, twoPi / period, ends);
            for (int64_t i = 0; i < n; ++i) {
                const int64_t y = block + i, ry = ends[i];
                const int64_t from = std::max(by, seen.first - Py), to = std::min(ry, seen.last - 1 - Py);
                for (int64_t dy = from; dy <= to; ++dy) copier.Row(Px, int64_t{Py} + dy, X1, Y1 + y, X2);
                by = ry + 1;
            }
        }
    }
    const double span = static_cast<double>(h);
    if (Type == 0) {
        rt = static_cast<float>(rt - static_cast<double>(FrameTime) * Speed);
        if (rt < 0.0) rt = static_cast<float>(rt + span);
    } else {
        rt = static_cast<float>(rt + static_cast<double>(FrameTime) * Speed);
        if (rt >= span) rt = static_cast<float>(rt - span);
    }
    rt = kadraw::WrapBelow(rt, span);
}
