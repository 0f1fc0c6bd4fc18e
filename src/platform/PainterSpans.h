// The row fills the painter is built on: solid spans and brush spans (solid or
// the origin-aligned cross-hatch), already clipped to the surface.
#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/Painter.h"

namespace plat::painter {

// Pixels x0..x1-1 of row y; the caller has clipped to the surface.
inline void SolidSpan(Surface16& s, int y, int x0, int x1, uint16_t color) {
    uint16_t* row = s.row(y);
    std::fill(row + x0, row + x1, color);
}

// Pixel (x, y) belongs to the lines of the diagonal cross-hatch.
inline bool IsHatch(int64_t x, int64_t y) { return ((x + y) & 7) == 0 || ((x - y) & 7) == 0; }

inline void BrushSpan(Surface16& s, int y, int x0, int x1, const Brush& brush) {
    if (x0 >= x1) return;
    switch (brush.style) {
    case Brush::Style::Hollow:
        return;
    case Brush::Style::Solid:
        SolidSpan(s, y, x0, x1, brush.color);
        return;
    case Brush::Style::Hatch:
        break;
    }
    // One period of the pattern for this row, indexed by x mod 8.
    bool line[8];
    for (int k = 0; k < 8; ++k) line[k] = IsHatch(k, y);
    uint16_t* row = s.row(y);
    if (brush.opaqueGaps) {
        for (int x = x0; x < x1; ++x) row[x] = line[x & 7] ? brush.color : brush.background;
    } else {
        for (int x = x0; x < x1; ++x)
            if (line[x & 7]) row[x] = brush.color;
    }
}

}  // namespace plat::painter
