// Text strips: pictures whose rows are cut into bands, each band showing
// one line (or a small block of lines) when the game draws just those rows.
#pragma once

#include <string>
#include <vector>

#include "Image.h"
#include "Palette.h"
#include "Text.h"

namespace assetgen {

struct SheetLine {
    std::string text;
    int size = 20;
    uint8_t colour = 0;
};

struct SheetBand {
    int top = 0;     // first row
    int bottom = 0;  // one past the last row
    // Rows the text must keep to, when the scene shows only part of the band
    // at some moment (e.g. while it scrolls away); [top, bottom) otherwise.
    int textTop = 0, textBottom = 0;
    std::vector<SheetLine> lines;
};

struct SheetSpec {
    Face face = Face::Mincho;
    std::vector<SheetBand> bands;
};

// Reads a sheet description (see resources/pictures/*.txt); throws
// std::runtime_error naming the line on a fault.
SheetSpec ParseSheet(const std::string& text, const std::string& origin, const Palette& palette);

// Text rows of a band that no other band of the sheet also covers: the
// text of a band must stay inside them, or a neighbour would show a sliver.
std::vector<int> PrivateRows(const SheetSpec& spec, size_t band);

// Draws every band's lines centred in the band's longest run of private
// rows (within its text rows), on a transparent picture. Throws when a line
// does not fit.
Image ComposeSheet(const SheetSpec& spec, int width, int height, TextRenderer& text, uint8_t shadow);

}  // namespace assetgen
