// Reads the palette legend. The first entry must be the transparent key,
// pure blue, so that index 0 is transparent in every picture.
#include "Palette.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace assetgen {

namespace {

bool ParseHex(const std::string& text, Rgb* out) {
    std::string hex = text[0] == '#' ? text.substr(1) : text;
    if (hex.size() != 6) return false;
    unsigned value = 0;
    for (char c : hex) {
        int digit = (c >= '0' && c <= '9') ? c - '0'
                    : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                    : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                             : -1;
        if (digit < 0) return false;
        value = value * 16 + unsigned(digit);
    }
    out->r = uint8_t(value >> 16);
    out->g = uint8_t(value >> 8);
    out->b = uint8_t(value);
    return true;
}

}  // namespace

Palette Palette::Load(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot open palette " + path);
    Palette palette;
    palette.codes_.fill(-1);
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string code, colour, name;
        fields >> code >> colour >> name;
        Rgb rgb;
        if (code.size() != 1 || !ParseHex(colour, &rgb) || name.empty())
            throw std::runtime_error(path + ":" + std::to_string(lineNo) + ": expected: CODE RRGGBB NAME");
        unsigned char c = static_cast<unsigned char>(code[0]);
        if (palette.codes_[c] >= 0 || palette.names_.count(name))
            throw std::runtime_error(path + ":" + std::to_string(lineNo) + ": code or name used twice");
        if (palette.colours_.size() >= 256) throw std::runtime_error(path + ": more than 256 colours");
        uint8_t index = uint8_t(palette.colours_.size());
        palette.codes_[c] = index;
        palette.names_[name] = index;
        palette.colours_.push_back(rgb);
    }
    if (palette.colours_.empty() || !(palette.colours_[0] == Rgb{0, 0, 255}))
        throw std::runtime_error(path + ": the first colour must be the key 0000ff");
    return palette;
}

uint8_t Palette::IndexOfCode(char code) const {
    int index = codes_[static_cast<unsigned char>(code)];
    if (index < 0) throw std::runtime_error(std::string("colour code not in palette: '") + code + "'");
    return uint8_t(index);
}

uint8_t Palette::IndexOfName(const std::string& name) const {
    auto it = names_.find(name);
    if (it == names_.end()) throw std::runtime_error("colour name not in palette: " + name);
    return it->second;
}

}  // namespace assetgen
