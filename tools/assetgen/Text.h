// Japanese text for the pictures: lines of UTF-8 rendered by FreeType as
// crisp one-bit masks (no anti-aliasing, so text stays within the palette).
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace assetgen {

// One bit per pixel, stored as bytes (1 = ink). `baseline` is the row of
// the text's baseline inside the mask.
struct Mask {
    int width = 0;
    int height = 0;
    int baseline = 0;
    std::vector<uint8_t> ink;

    bool At(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < height && ink[size_t(y) * width + x] != 0;
    }
    // First and last row holding ink; -1, -1 for an empty mask.
    void InkRows(int* top, int* bottom) const;
};

enum class Face { Gothic, Mincho };

class TextRenderer {
public:
    TextRenderer(const std::string& gothicPath, const std::string& minchoPath);
    ~TextRenderer();
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    // Renders one line at the given pixel size; `spacing` adds pixels
    // between characters. Throws when a character has no glyph.
    Mask Render(const std::string& utf8, Face face, int pixelSize, int spacing = 0);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Decodes UTF-8 into code points; throws on malformed input.
std::vector<char32_t> DecodeUtf8(const std::string& text);

}  // namespace assetgen
