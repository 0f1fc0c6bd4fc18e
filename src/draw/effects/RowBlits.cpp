// Row copies, visible ranges and phase wraps of the
// row-copying layers.
#include "draw/effects/RowBlits.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace kadraw {

void CopyRow(Copy copy, int64_t px, int64_t py, int ObjDD, int X1, int64_t row, int X2) {
    if (px < INT_MIN || px > INT_MAX || py < INT_MIN || py > INT_MAX || row < 0 || row >= INT_MAX) return;
    const int r = static_cast<int>(row);
    if (copy == Copy::Keyed)
        kaDraw::Layer(static_cast<int>(px), static_cast<int>(py), ObjDD, X1, r, X2, r + 1);
    else
        kaDraw::DirectLayer(static_cast<int>(px), static_cast<int>(py), ObjDD, X1, r, X2, r + 1);
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
