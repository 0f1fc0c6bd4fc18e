// What the text drawing of a context needs to know of a font: its cell
// metrics, its slant and angle, and its rendered glyphs.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Fonts.h"

namespace plat {

// A rendered glyph: one byte (0 or 1) per pixel, `width` x `height`, placed
// with its top-left at (left, -top) from the pen on the baseline (y down).
struct Glyph {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int advance = 0;  // pixels along the writing direction
    std::vector<uint8_t> bits;
};

struct FontFace;

class Font {
public:
    FontFace* face = nullptr;
    int ppem = 0;
    int cellHeight = 0;
    int ascent = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int escapement = 0;  // tenths of a degree, 0..3599
    int underlineTop = 0;   // from the cell's top
    int underlineThickness = 1;

    // The rendered glyph of a character (cached for the whole run).
    const Glyph& glyph(char32_t code) const;
};

}  // namespace plat
