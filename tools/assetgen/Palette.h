// The one palette shared by every picture of the game, read from a text
// legend: each line gives a one-character code, a colour and a name.
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "Image.h"

namespace assetgen {

class Palette {
public:
    // Reads the legend; throws std::runtime_error with the line on a fault.
    static Palette Load(const std::string& path);

    const std::vector<Rgb>& Colours() const { return colours_; }
    // Index of a grid code; throws when the code is not in the legend.
    uint8_t IndexOfCode(char code) const;
    // Index of a colour by its name in the legend (e.g. "white").
    uint8_t IndexOfName(const std::string& name) const;
    bool HasCode(char code) const { return codes_[static_cast<unsigned char>(code)] >= 0; }

private:
    std::vector<Rgb> colours_;
    std::array<int, 256> codes_{};
    std::map<std::string, uint8_t> names_;
};

}  // namespace assetgen
