// A drawing context on a 16-bit surface: the text state (colours,
// background mode, selected font) and text output, measurement and
// word-wrapped text. Shapes are drawn by the free functions of Painter.h on
// surface(). Everything is clipped to the surface.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/Fonts.h"
#include "platform/Surface16.h"
#include "platform/Types.h"

namespace plat {

enum class BackgroundMode { Transparent = 1, Opaque = 2 };

// Formats of DrawText.
constexpr unsigned kDtLeft = 0x0;
constexpr unsigned kDtCenter = 0x1;
constexpr unsigned kDtRight = 0x2;
constexpr unsigned kDtWordBreak = 0x10;
constexpr unsigned kDtCalcRect = 0x400;
constexpr unsigned kDtNoPrefix = 0x800;

struct TextSize {
    int cx = 0;
    int cy = 0;
};

class DrawContext {
public:
    DrawContext(Surface16* surface, const PixelFormat& format) : surface_(surface), format_(format) {}

    Surface16* surface() const { return surface_; }
    const PixelFormat& format() const { return format_; }

    // Colours are 0x00BBGGRR; each setter returns the previous value.
    uint32_t SetTextColor(uint32_t color);
    uint32_t SetBkColor(uint32_t color);
    BackgroundMode SetBkMode(BackgroundMode mode);
    uint32_t textColor() const { return textColor_; }
    uint32_t bkColor() const { return bkColor_; }
    BackgroundMode bkMode() const { return bkMode_; }
    // Selects a font (not owned) and returns the one selected before.
    Font* SelectFont(Font* font);
    Font* font() const { return font_; }

    // One line of text with the top-left of its cell at (x, y), turned by
    // the font's escapement about that point. Control characters take no
    // room and draw nothing.
    void TextOut(int x, int y, const char* text);
    void TextOut(int x, int y, const char32_t* codes, size_t count);
    // Width of the characters and the cell height (unturned).
    TextSize TextExtent(const char* text) const;
    TextSize TextExtent(const char32_t* codes, size_t count) const;

    // Text in a rectangle: with kDtWordBreak lines break between words
    // (after spaces, and between any two CJK characters) and inside a word
    // too wide for the rectangle; newlines always break. Alignment by
    // kDtLeft/kDtCenter/kDtRight. With kDtCalcRect nothing is drawn and
    // `rect` gets the size needed (right = left + widest line). Returns the
    // height of the text.
    int DrawText(const char* text, Rect* rect, unsigned format);

private:
    struct Span {
        int64_t x0, y0, x1, y1;  // right and bottom exclusive
    };
    static Span Intersect(const Span& a, const Span& b);
    void FillTurned(int64_t x, int64_t y, int64_t u0, int64_t v0, int64_t u1, int64_t v1, uint16_t pixel);

    Surface16* surface_;
    PixelFormat format_;
    uint32_t textColor_ = 0x000000;
    uint32_t bkColor_ = 0xFFFFFF;
    BackgroundMode bkMode_ = BackgroundMode::Opaque;
    Font* font_ = nullptr;
    Span clip_ = {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};  // DrawText's rectangle
};

}  // namespace plat
