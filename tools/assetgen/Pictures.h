// The large pictures, composed from tiles, sprites, shapes and text: the
// title, the stage select, the ending window, the intro banners and the
// text strips of the endings and the staff roll.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "Image.h"
#include "Palette.h"
#include "PixelArt.h"
#include "Text.h"

namespace assetgen {

struct PictureSources {
    const Palette& palette;
    const SpriteBook& sprites;
    TextRenderer& text;
    std::string picturesDir;  // resources/pictures
};

// Where the stage select shows stage `index` (0..11): the top-left corner of
// the 64x64 cell the cursor frames, and the left edge of its number.
struct StageCell {
    int x, y;
};
StageCell StageCellOf(int index);

// Reads "key = text" lines.
std::map<std::string, std::string> LoadLabels(const std::string& path);

// Builds the picture of the given name (one of the large ones).
Image ComposePicture(const std::string& name, const PictureSources& sources);

}  // namespace assetgen
