// What the row-copying layers share: sprite rows copied with the keyed or
// the opaque layer copy at 64-bit positions, the range of rows worth copying
// (the rows whose destination can be seen), and the wrap of an animation
// phase.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>

#include "draw/DrawInternal.h"
#include "draw/kaDraw.h"
#include "platform/Blit.h"

namespace kadraw {

enum class Copy { Keyed, Opaque };

// Rows of sprite ObjDD copied onto the back surface. Each row is drawn
// exactly as kaDraw::Layer (Keyed) or kaDraw::DirectLayer (Opaque) would
// draw it one row high: clipped to the virtual screen, nothing where it
// leaves a surface, a lost surface rebuilt. The rows are handed to the
// blitter in batches, in the order given; the last batch goes when the
// copier goes out of scope.
//   kadraw::RowCopier rows(kadraw::Copy::Keyed, ObjDD);
//   for (...) rows.Row(px, py, X1, row, X2);
class RowCopier {
public:
    RowCopier(Copy copy, int ObjDD);
    ~RowCopier() { Flush(); }
    RowCopier(const RowCopier&) = delete;
    RowCopier& operator=(const RowCopier&) = delete;

    // Source row `row`, columns X1..X2, drawn at (px, py). A position
    // outside the int range cannot be on screen and draws nothing.
    void Row(int64_t px, int64_t py, int X1, int64_t row, int X2) {
        if (src_ == nullptr) return;
        if (px < INT_MIN || px > INT_MAX || py < INT_MIN || py > INT_MAX || row < 0 || row >= INT_MAX) return;
        int x = static_cast<int>(px), y = static_cast<int>(py), x1 = X1, y1 = static_cast<int>(row), x2 = X2,
            y2 = y1 + 1;
        if (!ClipLayer(&x, &y, &x1, &y1, &x2, &y2)) return;
        // A row cut to nothing (or wider than any surface) is still handed
        // on, drawing nothing: a lost surface is rebuilt for it as for the
        // layer copy.
        const int64_t w = int64_t{x2} - x1;
        rows_[count_++] = {x, y, x1, y1, y2 > y1 && w <= INT_MAX ? static_cast<int>(w) : 0};
        if (count_ == kBatch) Flush();
    }

    // `count` copies of the row side by side, the first at px: the same as
    // Row(px + k (X2 - X1), ...) for k = 0 .. count - 1, with one clip for
    // all of them where that draws the same pixels.
    void Tiles(int64_t px, int64_t count, int64_t py, int X1, int64_t row, int X2);

    // Draws the rows handed on so far.
    void Flush();

private:
    static constexpr size_t kBatch = 256;
    Copy copy_;
    int objDD_;
    plat::Surface16* src_;  // nullptr: no sprite or no back surface, nothing is drawn
    plat::RowCopy rows_[kBatch];
    size_t count_ = 0;
};

// Rows [top, bottom) of the back surface a layer copy can reach: the
// virtual screen limited to the surface.
struct Span {
    int64_t first = 0, last = 0;  // last exclusive
    bool empty() const { return last <= first; }
};
Span VisibleRows();
Span VisibleColumns();

// Rows y of [Y1, Y2) whose destination row py + y - Y1 can be seen: the
// rows a row-by-row copy must walk (the others draw nothing).
Span RowsShown(int64_t py, int64_t Y1, int64_t Y2);

// Division rounding toward minus infinity (d > 0).
inline int64_t FloorDiv(int64_t n, int64_t d) { return n >= 0 ? n / d : -((-n + d - 1) / d); }

// Tiles n = 0..count-1 of width w starting at column offset + n * w: the
// ones that touch the span [first, last).
Span TilesTouching(int64_t offset, int64_t w, int64_t count, Span seen);

// Phase wraps. The step is taken literally, then the phase is reduced with
// fmod only when it is still outside its range (so a step longer than one
// period cannot leave it); NaN and infinity become 0.
// [0, period):
float WrapBelow(double phase, double period);
// [-period, 0] (the scrolling tile's offsets):
float WrapNegative(double phase, double period);

}  // namespace kadraw
