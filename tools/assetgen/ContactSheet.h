// The contact sheet: every picture at its own size (or enlarged) with its
// name, transparent pixels shown as a grey checkerboard.
#pragma once

#include <string>
#include <vector>

#include "Image.h"
#include "Text.h"

namespace assetgen {

struct SheetItem {
    std::string name;
    Image image;
    std::vector<Rgb> palette;
};

// Lays the items out in rows `width` pixels wide. Every item must use the
// same palette (the game's); the result's palette is that one plus the
// colours the sheet itself needs, returned in `palette`.
Image ComposeContactSheet(const std::vector<SheetItem>& items, int width, int scale, TextRenderer& text,
                          std::vector<Rgb>* palette);

}  // namespace assetgen
