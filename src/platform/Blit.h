// Rectangle copies and fills between 16-bit surfaces. These refuse (and draw
// nothing for) any rectangle that leaves its surface, as the display did; the
// callers clip first. A copy or fill whose destination is the visible surface
// is shown at once.
//
// Results: kErrSurfaceLost when either surface is lost (checked first), then
// kErrInvalidRect for a rectangle outside its surface or inverted (left >
// right or top > bottom); an empty rectangle succeeds and draws nothing.
// Source and destination may be the same surface, overlapping or not: the
// result is as if the source had been read out completely before writing.
#pragma once

#include "platform/Surface16.h"

namespace plat {

// Copy srcRect of src to (x, y) of dst, unscaled. With useKey, source pixels
// equal to src's colour key are not written (no key on src: every pixel is).
Result BltFast(Surface16& dst, int x, int y, const Surface16& src, const Rect& srcRect, bool useKey);

// One row of a batch of row copies: columns sx .. sx + w - 1 of source row
// sy, drawn at (x, y).
struct RowCopy {
    int x, y, sx, sy, w;
};

// BltFast of each row in order, one row high, with the checks done once for
// the whole batch where they can be: every row is drawn exactly as BltFast
// would draw it (a row that leaves either surface draws nothing, the others
// are still drawn). kErrSurfaceLost, and nothing drawn, when either surface
// is lost; otherwise kOk.
Result BltFastRows(Surface16& dst, const Surface16& src, const RowCopy* rows, size_t count, bool useKey);

// `count` copies of one source row side by side on row y of dst, copy k at
// column x + k w, each cut to the columns [left, right) of dst: the tiles
// of a band, clipped once. x must be in the int range, columns sx .. sx + w - 1 of source row sy must
// lie inside src, row y and [left, right) inside dst, and src must not be
// dst; otherwise kErrInvalidRect and nothing is drawn. kErrSurfaceLost (and
// nothing drawn) when either surface is lost. Keyed as BltFast.
Result BltFastRowTiles(Surface16& dst, int y, int64_t x, int64_t count, int left, int right, const Surface16& src,
                       int sx, int sy, int w, bool useKey);

// Copy srcRect of src onto dstRect of dst, scaling when the sizes differ:
// nearest neighbour, each destination pixel taking the source pixel under
// its centre. Optionally keyed as BltFast. An empty source draws nothing.
Result Blt(Surface16& dst, const Rect& dstRect, const Surface16& src, const Rect& srcRect, bool useKey);

// Blt limited to clip (which must lie inside dst): every pixel drawn is the
// one the unclipped Blt would draw there, but dstRect itself may reach past
// dst. Scaled even when the sizes match.
Result BltClipped(Surface16& dst, const Rect& dstRect, const Rect& clip, const Surface16& src, const Rect& srcRect,
                  bool useKey);

// Fill rect of dst with a raw pixel value.
Result Fill(Surface16& dst, const Rect& rect, uint16_t value);

// Keyed copies use AVX-512 where the processor has it; tests turn that off
// to check the other kernel on the same machine. On by default.
void AllowAvx512Blits(bool allow);

// Obviously-correct versions of the above, for tests of the fast paths.
namespace reference {
Result BltFast(Surface16& dst, int x, int y, const Surface16& src, const Rect& srcRect, bool useKey);
Result Blt(Surface16& dst, const Rect& dstRect, const Surface16& src, const Rect& srcRect, bool useKey);
Result Fill(Surface16& dst, const Rect& rect, uint16_t value);
}  // namespace reference

}  // namespace plat
