// Batched row copies, visible ranges and phase wraps of the row-copying
// layers.
#include "draw/effects/RowBlits.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace kadraw {

RowCopier::RowCopier(Copy copy, int ObjDD) : copy_(copy), objDD_(ObjDD), src_(SpriteSurface(ObjDD)) {
    if (DDBack == nullptr) src_ = nullptr;
}

void RowCopier::Flush() {
    const size_t n = count_;
    count_ = 0;
    if (n == 0) return;
    const bool keyed = copy_ == Copy::Keyed;
    if (plat::BltFastRows(*DDBack, *src_, rows_, n, keyed) != plat::kErrSurfaceLost) return;
    // A lost surface: row by row through the layer copy, which rebuilds the
    // surfaces at the first row and draws the others, as separate calls would.
    for (size_t i = 0; i < n; ++i) {
        const plat::RowCopy& r = rows_[i];
        if (keyed)
            kaDraw::Layer(r.x, r.y, objDD_, r.sx, r.sy, r.sx + r.w, r.sy + 1);
        else
            kaDraw::DirectLayer(r.x, r.y, objDD_, r.sx, r.sy, r.sx + r.w, r.sy + 1);
    }
}

void RowCopier::Tiles(int64_t px, int64_t count, int64_t py, int X1, int64_t row, int X2) {
    if (src_ == nullptr || count <= 0) return;
    const int64_t w = int64_t{X2} - X1;
    // The layer copy would clip each copy only at the virtual screen's left
    // and right, and draw what is left of it, when the row is a visible row
    // of the surface, every position is in the int range, the source row lies
    // inside the sprite and the virtual screen's columns inside the surface.
    const Span rows = VisibleRows();
    const bool oneClip = w > 0 && src_ != DDBack && py >= rows.first && py < rows.last && px >= INT_MIN &&
                         px + (count - 1) * w <= INT_MAX && row >= 0 && row < src_->height() && X1 >= 0 &&
                         X2 <= src_->width() && kaDraw::Vx1 >= 0 && kaDraw::Vx2 <= DDBack->width();
    if (oneClip) {
        Flush();  // the rows handed on before go first
        if (plat::BltFastRowTiles(*DDBack, static_cast<int>(py), px, count, kaDraw::Vx1, std::max(kaDraw::Vx1, kaDraw::Vx2),
                                  *src_, X1, static_cast<int>(row), static_cast<int>(w),
                                  copy_ == Copy::Keyed) != plat::kErrSurfaceLost)
            return;
    }
    for (int64_t k = 0; k < count; ++k) Row(px + k * w, py, X1, row, X2);
}

Span VisibleRows() {
    if (DDBack == nullptr) return {};
    return {std::max(kaDraw::Vy1, 0), std::min(kaDraw::Vy2, DDBack->height())};
}

Span VisibleColumns() {
    if (DDBack == nullptr) return {};
    return {std::max(kaDraw::Vx1, 0), std::min(kaDraw::Vx2, DDBack->width())};
}

Span RowsShown(int64_t py, int64_t Y1, int64_t Y2) {
    const Span seen = VisibleRows();
    return {std::max(Y1, seen.first - py + Y1), std::min(Y2, seen.last - py + Y1)};
}

Span TilesTouching(int64_t offset, int64_t w, int64_t count, Span seen) {
    // Tile n covers [offset + n w, offset + (n + 1) w).
    const int64_t first = FloorDiv(seen.first - offset - w, w) + 1;
    const int64_t last = FloorDiv(seen.last - offset - 1, w) + 1;
    return {std::max<int64_t>(first, 0), std::min(last, count)};
}

namespace {

float Reduced(double phase, double low, double period) {
    double r = std::fmod(phase - low, period);
    if (r < 0) r += period;
    float f = static_cast<float>(low + r);
    if (!std::isfinite(f) || f < low || f >= low + period) f = static_cast<float>(low);
    return f;
}

}  // namespace

float WrapBelow(double phase, double period) {
    if (!std::isfinite(phase) || !(period > 0)) return 0.0f;
    const float f = static_cast<float>(phase);
    if (f >= 0.0 && f < period) return f;
    return Reduced(phase, 0.0, period);
}

float WrapNegative(double phase, double period) {
    if (!std::isfinite(phase) || !(period > 0)) return 0.0f;
    const float f = static_cast<float>(phase);
    if (f >= -period && f <= 0.0) return f;
    return Reduced(phase, -period, period);
}

}  // namespace kadraw
