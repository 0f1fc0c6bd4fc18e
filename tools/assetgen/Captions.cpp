// Caption strips: text bands and a band of number glyphs.
#include "Captions.h"

#include <cstring>
#include <stdexcept>

namespace assetgen {

std::vector<Rgb> CaptionPalette() { return {{0, 0, 0}, {255, 255, 255}, {16, 16, 40}}; }

namespace {

// The mask at (x, y) of the strip, with a one-pixel shadow right and below.
void Stamp(Image* image, const Mask& m, int x, int y) {
    for (int j = 0; j < m.height; ++j)
        for (int i = 0; i < m.width; ++i)
            if (m.At(i, j)) {
                if (!m.At(i - 1, j - 1) && image->Contains(x + i + 1, y + j + 1) && image->At(x + i + 1, y + j + 1) == 0)
                    image->Set(x + i + 1, y + j + 1, 2);
                image->Set(x + i, y + j, 1);
            }
}

// The row of a band at which a mask sits so that its ink is centred.
int Top(const Mask& m, int bandTop, int band) {
    int first = 0, last = 0;
    m.InkRows(&first, &last);
    if (first < 0) return bandTop;
    return bandTop + (band - (last - first + 1)) / 2 - first;
}

}  // namespace

Image ComposeCaptions(const std::vector<std::string>& lines, const CaptionLayout& layout, TextRenderer& text) {
    const int glyphs = static_cast<int>(std::strlen(kCaptionGlyphs));
    Image image(layout.width, layout.band * static_cast<int>(lines.size() + 1));
    const int columns = static_cast<int>(sizeof kCaptionColumns / sizeof kCaptionColumns[0]);
    for (size_t n = 0; n < lines.size(); ++n) {
        size_t from = 0;
        for (int c = 0; from <= lines[n].size(); ++c) {
            size_t tab = lines[n].find('\t', from);
            if (tab == std::string::npos) tab = lines[n].size();
            const std::string part = lines[n].substr(from, tab - from);
            from = tab + 1;
            if (part.empty()) continue;
            if (c >= columns) throw std::runtime_error("too many columns: " + lines[n]);
            const Mask m = text.Render(part, Face::Gothic, layout.size);
            const int right = c + 1 < columns ? kCaptionColumns[c + 1] : layout.width;
            if (kCaptionColumns[c] + m.width > right) throw std::runtime_error("caption too long: " + part);
            Stamp(&image, m, kCaptionColumns[c], Top(m, static_cast<int>(n) * layout.band, layout.band));
        }
    }
    const int top = layout.band * static_cast<int>(lines.size());
    for (int g = 0; g < glyphs; ++g) {
        const Mask m = text.Render(std::string(1, kCaptionGlyphs[g]), Face::Gothic, layout.size);
        if (m.width > layout.cell + 2) throw std::runtime_error("glyph wider than its cell");
        Stamp(&image, m, g * layout.cell, Top(m, top, layout.band));
    }
    return image;
}

}  // namespace assetgen
