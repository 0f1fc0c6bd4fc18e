// FreeType rendering in monochrome mode. Glyphs are placed on a common
// baseline at the face's ascender; advances are whole pixels.
#include "Text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <stdexcept>

namespace assetgen {

void Mask::InkRows(int* top, int* bottom) const {
    *top = -1;
    *bottom = -1;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (ink[size_t(y) * width + x]) {
                if (*top < 0) *top = y;
                *bottom = y;
                break;
            }
        }
    }
}

std::vector<char32_t> DecodeUtf8(const std::string& text) {
    std::vector<char32_t> out;
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || (extra > 0 && i + size_t(extra) >= text.size()))
            throw std::runtime_error("malformed UTF-8 in: " + text);
        char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + size_t(k)]);
            if ((next >> 6) != 2) throw std::runtime_error("malformed UTF-8 in: " + text);
            cp = (cp << 6) | (next & 0x3F);
        }
        out.push_back(cp);
        i += size_t(extra) + 1;
    }
    return out;
}

struct TextRenderer::Impl {
    FT_Library library = nullptr;
    FT_Face faces[2] = {nullptr, nullptr};
};

TextRenderer::TextRenderer(const std::string& gothicPath, const std::string& minchoPath)
    : impl_(std::make_unique<Impl>()) {
    if (FT_Init_FreeType(&impl_->library)) throw std::runtime_error("FreeType did not start");
    const std::string paths[2] = {gothicPath, minchoPath};
    for (int i = 0; i < 2; ++i) {
        if (FT_New_Face(impl_->library, paths[i].c_str(), 0, &impl_->faces[i]))
            throw std::runtime_error("cannot open font " + paths[i]);
    }
}

TextRenderer::~TextRenderer() {
    for (FT_Face face : impl_->faces)
        if (face) FT_Done_Face(face);
    if (impl_->library) FT_Done_FreeType(impl_->library);
}

Mask TextRenderer::Render(const std::string& utf8, Face which, int pixelSize, int spacing) {
    FT_Face face = impl_->faces[which == Face::Gothic ? 0 : 1];
    if (FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize))) throw std::runtime_error("bad text size");
    const int ascender = int(face->size->metrics.ascender >> 6);
    const int descender = int(-(face->size->metrics.descender >> 6));
    const std::vector<char32_t> text = DecodeUtf8(utf8);

    // First pass measures, second pass draws.
    Mask mask;
    for (int pass = 0; pass < 2; ++pass) {
        int penX = 1;  // room for glyphs that reach left of their origin
        for (size_t i = 0; i < text.size(); ++i) {
            FT_UInt glyph = FT_Get_Char_Index(face, FT_ULong(text[i]));
            if (glyph == 0 && text[i] != U' ')
                throw std::runtime_error("the font has no glyph for a character of: " + utf8);
            if (FT_Load_Glyph(face, glyph, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO))
                throw std::runtime_error("cannot render a glyph of: " + utf8);
            const FT_GlyphSlot slot = face->glyph;
            if (pass == 1) {
                const FT_Bitmap& bm = slot->bitmap;
                for (unsigned row = 0; row < bm.rows; ++row) {
                    const unsigned char* bits = bm.buffer + int(row) * bm.pitch;
                    for (unsigned col = 0; col < bm.width; ++col) {
                        if (!(bits[col >> 3] & (0x80 >> (col & 7)))) continue;
                        int x = penX + slot->bitmap_left + int(col);
                        int y = mask.baseline - slot->bitmap_top + int(row);
                        if (x >= 0 && y >= 0 && x < mask.width && y < mask.height)
                            mask.ink[size_t(y) * mask.width + x] = 1;
                    }
                }
            }
            penX += int(slot->advance.x >> 6) + (i + 1 < text.size() ? spacing : 0);
        }
        if (pass == 0) {
            // A little headroom above and below for glyphs that overshoot the metrics.
            mask.width = penX + 2;
            mask.height = ascender + descender + 4;
            mask.baseline = ascender + 2;
            mask.ink.assign(size_t(mask.width) * mask.height, 0);
        }
    }
    return mask;
}

}  // namespace assetgen
