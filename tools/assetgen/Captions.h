// Caption strips for programs that show labelled pictures: one band of
// white text per line, and a last band holding the glyphs "0123456789.-"
// each in a cell of its own, so that a program can write numbers with them.
// A tab in a line moves on to the next column (kCaptionColumns), so that a
// program knows where each part of a caption starts.
#pragma once

#include <string>
#include <vector>

#include "Image.h"
#include "Text.h"

namespace assetgen {

struct CaptionLayout {
    int width = 640;     // of the strip
    int band = 20;       // rows per line
    int size = 16;       // text pixel size
    int cell = 10;       // width of one glyph cell in the last band
};

constexpr const char* kCaptionGlyphs = "0123456789.-";
constexpr int kCaptionColumns[] = {4, 300, 470};

// Palette: 0 black (the key), 1 white text, 2 a dark shadow under it.
std::vector<Rgb> CaptionPalette();

// Lines top to bottom, then the glyph band. Throws when a line does not fit.
Image ComposeCaptions(const std::vector<std::string>& lines, const CaptionLayout& layout, TextRenderer& text);

}  // namespace assetgen
