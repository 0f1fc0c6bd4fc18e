// Shelf layout: items go left to right with their name above them and a new
// row starts when the next one would not fit.
#include "ContactSheet.h"

#include <algorithm>
#include <stdexcept>

#include "Draw.h"

namespace assetgen {

Image ComposeContactSheet(const std::vector<SheetItem>& items, int width, int scale, TextRenderer& text,
                          std::vector<Rgb>* palette) {
    if (items.empty()) throw std::runtime_error("nothing to put on the contact sheet");
    *palette = items.front().palette;
    for (const SheetItem& item : items)
        if (!(item.palette == *palette)) throw std::runtime_error(item.name + " does not use the shared palette");
    if (palette->size() > 252) throw std::runtime_error("palette too large for the sheet's own colours");
    const uint8_t background = uint8_t(palette->size());
    const uint8_t checkerA = uint8_t(background + 1), checkerB = uint8_t(background + 2);
    const uint8_t label = uint8_t(background + 3);
    palette->push_back({40, 40, 44});
    palette->push_back({88, 88, 96});
    palette->push_back({112, 112, 120});
    palette->push_back({255, 255, 255});

    constexpr int kGap = 16, kLabel = 18;
    struct Placed {
        int x, y;
        Mask name;
    };
    std::vector<Placed> placed;
    int x = kGap, y = kGap, rowHeight = 0;
    for (const SheetItem& item : items) {
        Mask name = text.Render(item.name + "  " + std::to_string(item.image.width) + "x" +
                                    std::to_string(item.image.height),
                                Face::Gothic, 12);
        const int w = std::max(item.image.width * scale, name.width);
        const int h = item.image.height * scale + kLabel;
        if (x + w + kGap > width && x > kGap) {
            x = kGap;
            y += rowHeight + kGap;
            rowHeight = 0;
        }
        placed.push_back({x, y, name});
        x += w + kGap;
        rowHeight = std::max(rowHeight, h);
    }
    Image sheet(width, y + rowHeight + kGap, background);
    for (size_t i = 0; i < items.size(); ++i) {
        const Image& img = items[i].image;
        const Placed& p = placed[i];
        PaintMask(sheet, p.name, p.x, p.y, label);
        const int top = p.y + kLabel;
        for (int yy = 0; yy < img.height * scale; ++yy) {
            for (int xx = 0; xx < img.width * scale; ++xx) {
                uint8_t c = img.At(xx / scale, yy / scale);
                if (c == kKeyIndex) c = (((xx / 8) + (yy / 8)) & 1) ? checkerA : checkerB;
                sheet.Set(p.x + xx, top + yy, c);
            }
        }
    }
    return sheet;
}

}  // namespace assetgen
