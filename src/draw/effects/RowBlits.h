// What the row-copying layers share: one sprite row copied with the keyed or
// the opaque layer copy at a 64-bit position, the range of rows worth
// copying (the rows whose destination can be seen), and the wrap of an
// animation phase.
#pragma once

#include <cstdint>

#include "draw/kaDraw.h"

namespace kadraw {

enum class Copy { Keyed, Opaque };

// Source row `row` of ObjDD, columns X1..X2, drawn at (px, py). A position
// outside the int range cannot be on screen and draws nothing.
void CopyRow(Copy copy, int64_t px, int64_t py, int ObjDD, int X1, int64_t row, int X2);

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
