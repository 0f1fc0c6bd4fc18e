// Pixel art written as text: each sprite is a grid of one-character colour
// codes from the palette legend. Variants are derived from drawn sprites
// (mirrored, recoloured, shifted) so a change to the original carries over.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "Image.h"
#include "Palette.h"

namespace assetgen {

class SpriteBook {
public:
    // Reads one sprite file and adds its sprites; throws std::runtime_error
    // naming the file and line on a fault (unknown code, ragged row, ...).
    void LoadFile(const std::string& path, const Palette& palette);
    // The same from text already in memory; `origin` names it in errors.
    void LoadText(const std::string& text, const std::string& origin, const Palette& palette);

    bool Has(const std::string& name) const { return sprites_.count(name) != 0; }
    const Image& Get(const std::string& name) const;

private:
    std::map<std::string, Image> sprites_;
};

}  // namespace assetgen
