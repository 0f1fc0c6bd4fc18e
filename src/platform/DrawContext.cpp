// Text on a drawing context: turned glyph runs with their background and
// underline, measurement, and the word-wrapped, aligned text of DrawText.
#include "platform/DrawContext.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/FontInternal.h"
#include "platform/TextDecode.h"

namespace plat {

namespace {

bool IsControl(char32_t c) { return c < 0x20 || c == 0x7F; }
bool IsSpace(char32_t c) { return c == ' ' || c == '\t' || c == 0x3000; }
// Characters of scripts written without spaces: a line may break on either
// side of each.
bool IsWide(char32_t c) { return (c >= 0x2E80 && c <= 0xD7FF) || (c >= 0xF900 && c <= 0xFFEF); }

}  // namespace

DrawContext::Span DrawContext::Intersect(const Span& a, const Span& b) {
    return {std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
}

uint32_t DrawContext::SetTextColor(uint32_t color) {
    std::swap(textColor_, color);
    return color;
}

uint32_t DrawContext::SetBkColor(uint32_t color) {
    std::swap(bkColor_, color);
    return color;
}

BackgroundMode DrawContext::SetBkMode(BackgroundMode mode) {
    std::swap(bkMode_, mode);
    return mode;
}

Font* DrawContext::SelectFont(Font* font) {
    std::swap(font_, font);
    return font;
}

TextSize DrawContext::TextExtent(const char32_t* codes, size_t count) const {
    if (font_ == nullptr) return {};
    int64_t width = 0;
    for (size_t i = 0; i < count; ++i)
        if (!IsControl(codes[i])) width += font_->glyph(codes[i]).advance;
    return {static_cast<int>(std::min<int64_t>(width, INT32_MAX)), font_->cellHeight};
}

TextSize DrawContext::TextExtent(const char* text) const {
    const std::u32string codes = DecodeCodes(text);
    return TextExtent(codes.data(), codes.size());
}

// Fills the part [u0, u1) x [v0, v1) of the text's own (unturned) space whose
// origin lies at (x, y) on the surface.
void DrawContext::FillTurned(int64_t x, int64_t y, int64_t u0, int64_t v0, int64_t u1, int64_t v1, uint16_t pixel) {
    const Span clip = Intersect({0, 0, surface_->width(), surface_->height()}, clip_);
    if (font_->escapement == 0) {
        const Span s = Intersect({x + u0, y + v0, x + u1, y + v1}, clip);
        if (s.x0 >= s.x1) return;  // a cell wholly left or right of the surface
        for (int64_t py = s.y0; py < s.y1; ++py) std::fill(surface_->row(static_cast<int>(py)) + s.x0,
                                                           surface_->row(static_cast<int>(py)) + s.x1, pixel);
        return;
    }
    const double a = font_->escapement * M_PI / 1800.0, c = std::cos(a), s = std::sin(a);
    double minX = 1e18, minY = 1e18, maxX = -1e18, maxY = -1e18;
    for (int64_t u : {u0, u1})
        for (int64_t v : {v0, v1}) {
            const double px = x + u * c + v * s, py = y - u * s + v * c;
            minX = std::min(minX, px), maxX = std::max(maxX, px);
            minY = std::min(minY, py), maxY = std::max(maxY, py);
        }
    const Span box = Intersect({static_cast<int64_t>(std::floor(std::max(minX, -1e9))),
                                static_cast<int64_t>(std::floor(std::max(minY, -1e9))),
                                static_cast<int64_t>(std::ceil(std::min(maxX, 1e9))) + 1,
                                static_cast<int64_t>(std::ceil(std::min(maxY, 1e9))) + 1},
                               clip);
    for (int64_t py = box.y0; py < box.y1; ++py) {
        uint16_t* row = surface_->row(static_cast<int>(py));
        const double dy = py + 0.5 - y;
        for (int64_t px = box.x0; px < box.x1; ++px) {
            const double dx = px + 0.5 - x;
            const double u = dx * c - dy * s, v = dx * s + dy * c;
            if (u >= u0 && u < u1 && v >= v0 && v < v1) row[px] = pixel;
        }
    }
}

void DrawContext::TextOut(int x, int y, const char32_t* codes, size_t count) {
    if (surface_ == nullptr || font_ == nullptr || surface_->width() <= 0 || surface_->height() <= 0) return;
    const Font& f = *font_;
    const TextSize extent = TextExtent(codes, count);
    if (bkMode_ == BackgroundMode::Opaque)
        FillTurned(x, y, 0, 0, extent.cx, f.cellHeight, PixelFromColorRef(format_, bkColor_));
    const uint16_t ink = PixelFromColorRef(format_, textColor_);
    const double a = f.escapement * M_PI / 1800.0, c = std::cos(a), s = std::sin(a);
    const Span clip = Intersect({0, 0, surface_->width(), surface_->height()}, clip_);
    int64_t pen = 0;
    for (size_t i = 0; i < count; ++i) {
        if (IsControl(codes[i])) continue;
        const Glyph& g = f.glyph(codes[i]);
        // The pen on the baseline, moved along the writing direction.
        const int64_t ox = x + static_cast<int64_t>(std::lround(pen * c + f.ascent * s));
        const int64_t oy = y + static_cast<int64_t>(std::lround(-pen * s + f.ascent * c));
        pen += g.advance;
        if (g.width <= 0) continue;
        const int64_t gx = ox + g.left, gy = oy - g.top;
        const Span area = Intersect({gx, gy, gx + g.width, gy + g.height}, clip);
        for (int64_t py = area.y0; py < area.y1; ++py) {
            uint16_t* row = surface_->row(static_cast<int>(py));
            const uint8_t* bits = g.bits.data() + (py - gy) * g.width - gx;
            for (int64_t px = area.x0; px < area.x1; ++px)
                if (bits[px]) row[px] = ink;
        }
    }
    if (f.underline)
        FillTurned(x, y, 0, f.underlineTop, extent.cx, f.underlineTop + f.underlineThickness, ink);
}

void DrawContext::TextOut(int x, int y, const char* text) {
    const std::u32string codes = DecodeCodes(text);
    TextOut(x, y, codes.data(), codes.size());
}

int DrawContext::DrawText(const char* text, Rect* rect, unsigned format) {
    if (rect == nullptr || font_ == nullptr) return 0;
    const std::u32string codes = DecodeCodes(text);
    const int64_t limit = int64_t{rect->right} - rect->left;
    struct Line {
        size_t begin, end;  // characters drawn
        int64_t width;
    };
    std::vector<Line> lines;
    auto advance = [this](char32_t ch) -> int64_t { return IsControl(ch) ? 0 : font_->glyph(ch).advance; };
    auto widthOf = [&](size_t b, size_t e) {
        int64_t w = 0;
        for (size_t i = b; i < e; ++i) w += advance(codes[i]);
        return w;
    };
    // The line without its trailing spaces.
    auto push = [&](size_t b, size_t e) {
        size_t t = e;
        while (t > b && IsSpace(codes[t - 1])) --t;
        lines.push_back({b, t, widthOf(b, t)});
    };
    const bool wrap = (format & kDtWordBreak) != 0;
    size_t start = 0, i = 0;
    size_t lastBreak = 0;  // a position a line may end at, 0: none yet
    int64_t width = 0;
    while (i <= codes.size()) {
        if (i == codes.size()) {
            if (i > start || lines.empty()) push(start, i);
            break;
        }
        const char32_t ch = codes[i];
        if (ch == '\n' || ch == '\r') {
            push(start, i);
            i += (ch == '\r' && i + 1 < codes.size() && codes[i + 1] == '\n') ? 2 : 1;
            start = i, lastBreak = 0, width = 0;
            continue;
        }
        if (wrap && i > start) {
            if (IsSpace(codes[i - 1]) && !IsSpace(ch)) lastBreak = i;
            if (IsWide(ch) || IsWide(codes[i - 1])) lastBreak = IsSpace(ch) ? lastBreak : i;
        }
        const int64_t w = advance(ch);
        if (wrap && i > start && !IsSpace(ch) && width + w > limit) {
            const size_t end = lastBreak > start ? lastBreak : i;
            push(start, end);
            start = end;
            while (start < codes.size() && IsSpace(codes[start])) ++start;
            i = start, lastBreak = 0, width = 0;
            continue;
        }
        width += w;
        ++i;
    }
    const int cell = font_->cellHeight;
    const int64_t height = static_cast<int64_t>(lines.size()) * cell;
    if (format & kDtCalcRect) {
        int64_t widest = 0;
        for (const Line& l : lines) widest = std::max(widest, l.width);
        rect->right = static_cast<int>(std::min<int64_t>(rect->left + widest, INT32_MAX));
        rect->bottom = static_cast<int>(std::min<int64_t>(rect->top + height, INT32_MAX));
        return static_cast<int>(std::min<int64_t>(height, INT32_MAX));
    }
    const Span saved = clip_;
    clip_ = Intersect(clip_, {rect->left, rect->top, rect->right, rect->bottom});
    int64_t y = rect->top;
    for (const Line& l : lines) {
        int64_t x = rect->left;
        if (format & kDtRight) {
            x = rect->right - l.width;
        } else if (format & kDtCenter) {
            x = rect->left + (limit - l.width) / 2;
        }
        if (y >= clip_.y1) break;
        if (x >= INT32_MIN && x <= INT32_MAX && y <= INT32_MAX) TextOut(static_cast<int>(x), static_cast<int>(y),
                                                                       codes.data() + l.begin, l.end - l.begin);
        y += cell;
    }
    clip_ = saved;
    return static_cast<int>(std::min<int64_t>(height, INT32_MAX));
}

}  // namespace plat
