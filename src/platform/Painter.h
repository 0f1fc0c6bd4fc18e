// 2-D rasteriser on 16-bit surfaces: pixels, solid pens of any width, boxes,
// even-odd polygons with solid or diagonal cross-hatched brushes, and cubic
// Bézier curves. Everything clips to the surface; coordinates may be anywhere
// in the int range (the arithmetic is 64-bit or wider and the work is bounded
// by the surface, not by the figure).
//
// Conventions (those of the desktop drawing contexts the framework was made
// for):
// - A pixel (x, y) is the unit square whose centre is (x + 0.5, y + 0.5).
// - A 1-pixel pen steps from the start point towards the end point and leaves
//   the end point itself out, so joined segments draw each pixel once.
// - A wider pen of width w covers every pixel whose centre lies within w / 2 of
//   the segment between the two pixel centres: round caps, centred on the
//   line (half-open: the top and left edges of the pen are in, the bottom and
//   right ones out, so a horizontal pen of width w covers exactly w rows).
// - A box (x1, y1)-(x2, y2) covers x1..x2-1 by y1..y2-1; a 1-pixel outline runs
//   along those outer pixels, a wider one is centred on them.
// - Polygons fill by the even-odd rule, sampled at pixel centres: a pixel is
//   in when its centre is; centres on a left or top edge are in, on a right or
//   bottom edge out.
// - The cross-hatch is an 8 x 8 pattern of two diagonals aligned to the
//   surface's origin: pixel (x, y) is hatch when (x + y) % 8 == 0 or
//   (x - y) % 8 == 0, whatever the figure's position.
#pragma once

#include <cstdint>

#include "platform/Surface16.h"

namespace plat {

struct Point {
    int x = 0;
    int y = 0;
};

// Colours here are raw pixels of the surface's format (PixelFromColorRef and
// ColorRefFromPixel convert RGB colour values 0x00BBGGRR to and from them).
struct Pen {
    uint16_t color = 0;
    int width = 1;  // 1 or less: the 1-pixel pen
};

struct Brush {
    enum class Style { Hollow, Solid, Hatch };
    Style style = Style::Hollow;
    uint16_t color = 0;       // the solid colour, or the hatch lines
    uint16_t background = 0;  // the hatch gaps, when opaque
    bool opaqueGaps = true;   // false: hatch gaps keep what was there

    static Brush Hollow() { return {}; }
    static Brush Solid(uint16_t color) { return {Style::Solid, color, 0, true}; }
    static Brush Hatch(uint16_t lines, uint16_t gaps, bool opaqueGaps) {
        return {Style::Hatch, lines, gaps, opaqueGaps};
    }
};

// True and the pixel when (x, y) lies on the surface; false otherwise.
bool GetPixel(const Surface16& surface, int x, int y, uint16_t* pixel);
void SetPixel(Surface16& surface, int x, int y, uint16_t pixel);

// One segment from `from` to `to` (see the pen conventions above).
void DrawLine(Surface16& surface, Point from, Point to, const Pen& pen);
// Joined segments through `count` points; `closed` adds the segment back to
// the first point. Nothing for fewer than two points.
void DrawPolyline(Surface16& surface, const Point* points, int count, const Pen& pen, bool closed);

// Box (x1, y1)-(x2, y2), corners in any order: the brush fills it, then the
// pen outlines it. An empty box draws nothing.
void DrawBox(Surface16& surface, int x1, int y1, int x2, int y2, const Brush& brush, const Pen& pen);

// Even-odd fill of the polygon through `count` points with the brush
// (nothing for a hollow brush or fewer than three points).
void FillPolygon(Surface16& surface, const Point* points, int count, const Brush& brush);
// The fill, then the closed outline with the pen (two points or more).
void DrawPolygon(Surface16& surface, const Point* points, int count, const Brush& brush, const Pen& pen);

// Poly-Bézier: the first point, then three points (two controls and the end)
// per cubic segment. A count that is not 1 + 3n (n >= 1) draws nothing.
void DrawBezier(Surface16& surface, const Point* points, int count, const Pen& pen);

}  // namespace plat
