// Sprite file syntax, one statement per line ('#' starts a comment line):
//   sprite NAME WxH [scale N]    followed by H rows of W codes
//   copy NAME from BASE [mirror] [flip] [shift DX DY] [swap AB ...]
// `swap AB` paints code B wherever the base has code A; `shift` moves the
// picture, filling uncovered pixels with the transparent key.
#include "PixelArt.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace assetgen {

namespace {

std::string Trim(const std::string& s) {
    size_t end = s.find_last_not_of(" \t\r");
    return end == std::string::npos ? std::string() : s.substr(0, end + 1);
}

Image Mirror(const Image& in) {
    Image out(in.width, in.height);
    for (int y = 0; y < in.height; ++y)
        for (int x = 0; x < in.width; ++x) out.Set(in.width - 1 - x, y, in.At(x, y));
    return out;
}

Image Flip(const Image& in) {
    Image out(in.width, in.height);
    for (int y = 0; y < in.height; ++y)
        for (int x = 0; x < in.width; ++x) out.Set(x, in.height - 1 - y, in.At(x, y));
    return out;
}

Image Shift(const Image& in, int dx, int dy) {
    Image out(in.width, in.height);
    for (int y = 0; y < in.height; ++y)
        for (int x = 0; x < in.width; ++x) out.Set(x + dx, y + dy, in.At(x, y));
    return out;
}

}  // namespace

void SpriteBook::LoadFile(const std::string& path, const Palette& palette) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot open " + path);
    std::stringstream text;
    text << in.rdbuf();
    LoadText(text.str(), path, palette);
}

void SpriteBook::LoadText(const std::string& text, const std::string& origin, const Palette& palette) {
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    auto fail = [&](const std::string& what) {
        throw std::runtime_error(origin + ":" + std::to_string(lineNo) + ": " + what);
    };
    while (std::getline(in, line)) {
        ++lineNo;
        line = Trim(line);
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string verb, name;
        words >> verb >> name;
        if (name.empty()) fail("missing sprite name");
        if (sprites_.count(name)) fail("sprite defined twice: " + name);
        if (verb == "sprite") {
            std::string size, word;
            int scale = 1;
            words >> size;
            while (words >> word) {
                if (word == "scale" && (words >> scale) && scale >= 1 && scale <= 8) continue;
                fail("unexpected '" + word + "'");
            }
            int w = 0, h = 0;
            char x = 0;
            std::istringstream sizeIn(size);
            if (!(sizeIn >> w >> x >> h) || x != 'x' || w <= 0 || h <= 0 || w > 1024 || h > 1024)
                fail("size must be WxH");
            Image grid(w, h);
            for (int row = 0; row < h; ++row) {
                if (!std::getline(in, line)) fail("sprite " + name + " ends early");
                ++lineNo;
                line = Trim(line);
                if (int(line.size()) != w)
                    fail("row of " + std::to_string(line.size()) + " codes, expected " + std::to_string(w));
                for (int col = 0; col < w; ++col) {
                    if (!palette.HasCode(line[col])) fail(std::string("unknown colour code '") + line[col] + "'");
                    grid.Set(col, row, palette.IndexOfCode(line[col]));
                }
            }
            Image out(w * scale, h * scale);
            for (int y = 0; y < out.height; ++y)
                for (int x2 = 0; x2 < out.width; ++x2) out.Set(x2, y, grid.At(x2 / scale, y / scale));
            sprites_[name] = out;
        } else if (verb == "copy") {
            std::string from, base, word;
            words >> from >> base;
            if (from != "from" || !sprites_.count(base)) fail("expected: copy NAME from KNOWN_SPRITE");
            Image out = sprites_[base];
            while (words >> word) {
                if (word == "mirror") {
                    out = Mirror(out);
                } else if (word == "flip") {
                    out = Flip(out);
                } else if (word == "shift") {
                    int dx = 0, dy = 0;
                    if (!(words >> dx >> dy)) fail("shift needs DX DY");
                    out = Shift(out, dx, dy);
                } else if (word == "swap") {
                    // All pairs map from the picture as it was, so pairs never chain.
                    std::vector<uint8_t> map(256);
                    for (int i = 0; i < 256; ++i) map[i] = uint8_t(i);
                    std::string pair;
                    bool any = false;
                    while (words >> pair) {
                        if (pair.size() != 2 || !palette.HasCode(pair[0]) || !palette.HasCode(pair[1]))
                            fail("swap pairs are two colour codes: " + pair);
                        map[palette.IndexOfCode(pair[0])] = palette.IndexOfCode(pair[1]);
                        any = true;
                    }
                    if (!any) fail("swap needs at least one pair");
                    for (auto& p : out.pixels) p = map[p];
                } else {
                    fail("unexpected '" + word + "'");
                }
            }
            sprites_[name] = out;
        } else {
            fail("expected 'sprite' or 'copy', got '" + verb + "'");
        }
    }
}

const Image& SpriteBook::Get(const std::string& name) const {
    auto it = sprites_.find(name);
    if (it == sprites_.end()) throw std::runtime_error("no sprite named " + name);
    return it->second;
}

}  // namespace assetgen
