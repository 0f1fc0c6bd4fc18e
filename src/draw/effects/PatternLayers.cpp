// kaDraw::TileLayer, kaDraw::MosaicLayer, kaDraw::LineLayer and
// kaDraw::RandomLayer: a sprite repeated over the screen and scrolled, or
// drawn row by row with rows repeated, thinned out or jittered. All copies
// are keyed with the sprite's colour key.
#include <climits>
#include <cstdlib>

#include "draw/effects/EffectState.h"
#include "draw/effects/RowBlits.h"
#include "shell/Globals.h"

namespace {

using kadraw::Copy;
using kadraw::Span;

// The scrolling tile's offset stays within -size..0, so that the tiles
// always cover the screen.
float AdvanceScroll(float roll, float speed, int64_t size) {
    const double s = static_cast<double>(size);
    float r = static_cast<float>(roll + static_cast<double>(FrameTime) * speed);
    if (r < -s) r = static_cast<float>(r + s);
    if (r > 0.0) r = static_cast<float>(r - s);
    return kadraw::WrapNegative(r, s);
}

}  // namespace

void kaDraw::TileLayer(float PxSpeed, float PySpeed, int ObjDD, int X1, int Y1, int X2, int Y2) {
    kadraw::state::Tile& phase = kadraw::state::tile;
    const int64_t w = int64_t{X2} - X1, h = int64_t{Y2} - Y1;
    if (w <= 0 || h <= 0) return;  // nothing could ever cover the screen
    const int64_t ox = static_cast<int64_t>(kadraw::WrapNegative(phase.rollX, static_cast<double>(w)));
    const int64_t oy = static_cast<int64_t>(kadraw::WrapNegative(phase.rollY, static_cast<double>(h)));
    const Span rows = kadraw::TilesTouching(oy, h, Height / h + 2, kadraw::VisibleRows());
    const Span cols = kadraw::TilesTouching(ox, w, Width / w + 2, kadraw::VisibleColumns());
    for (int64_t n = rows.first; n < rows.last; ++n)
        for (int64_t m = cols.first; m < cols.last; ++m) {
            const int64_t x = m * w + ox, y = n * h + oy;
            if (x >= INT_MIN && y >= INT_MIN) Layer(static_cast<int>(x), static_cast<int>(y), ObjDD, X1, Y1, X2, Y2);
        }
    phase.rollX = AdvanceScroll(phase.rollX, PxSpeed, w);
    phase.rollY = AdvanceScroll(phase.rollY, PySpeed, h);
}

void kaDraw::MosaicLayer(int Px, int Py, int Size, int ObjDD, int X1, int Y1, int X2, int Y2) {
    const int64_t size = Size < 1 ? 1 : Size;
    // Band k: source row Y1 + k * size on destination rows Py + k * size ..
    // + size - 1; the last band is drawn whole, past the rectangle.
    const Span seen = kadraw::VisibleRows();
    const int64_t bands = (int64_t{Y2} - Y1 + size - 1) / size;
    const Span shown = kadraw::TilesTouching(Py, size, bands, seen);
    kadraw::RowCopier copier(Copy::Keyed, ObjDD);
    for (int64_t k = shown.first; k < shown.last; ++k) {
        const int64_t top = int64_t{Py} + k * size;
        const int64_t from = std::max(top, seen.first), to = std::min(top + size, seen.last);
        for (int64_t row = from; row < to; ++row) copier.Row(Px, row, X1, Y1 + k * size, X2);
    }
}

void kaDraw::LineLayer(int Px, int Py, int Size, int ObjDD, int X1, int Y1, int X2, int Y2) {
    const Span rows = kadraw::RowsShown(Py, Y1, Y2);
    kadraw::RowCopier copier(Copy::Keyed, ObjDD);
    if (Size > 0) {
        // Rows Y1 + Size, Y1 + 2 Size, ...: row Y1 itself is never drawn.
        int64_t i = Y1 + Size;
        if (i < rows.first) i += (rows.first - i + Size - 1) / Size * Size;
        for (; i < rows.last; i += Size) copier.Row(Px, int64_t{Py} + i - Y1, X1, i, X2);
    } else if (Size < 0) {
        const int64_t m = -int64_t{Size};
        for (int64_t i = Y1 + std::rand() % m + 1; i < rows.last; i += std::rand() % m + 1)
            if (i >= rows.first) copier.Row(Px, int64_t{Py} + i - Y1, X1, i, X2);
    }
}

void kaDraw::RandomLayer(int Px, int Py, int Size, int ObjDD, int X1, int Y1, int X2, int Y2) {
    if (Size <= 0) {
        Layer(Px, Py, ObjDD, X1, Y1, X2, Y2);
        return;
    }
    const int64_t size = Size;
    const Span rows = kadraw::RowsShown(Py, Y1, Y2);
    kadraw::RowCopier copier(Copy::Keyed, ObjDD);
    for (int64_t y = rows.first; y < rows.last; ++y)
        copier.Row(Px + std::rand() % (2 * size) - size, int64_t{Py} + y - Y1, X1, y, X2);
}
