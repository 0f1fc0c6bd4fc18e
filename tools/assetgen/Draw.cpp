// Drawing primitives for the composed pictures.
#include "Draw.h"

#include <algorithm>

namespace assetgen {

void FillRect(Image& img, int x, int y, int w, int h, uint8_t colour) {
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + w, img.width), y1 = std::min(y + h, img.height);
    for (int yy = y0; yy < y1; ++yy)
        for (int xx = x0; xx < x1; ++xx) img.pixels[size_t(yy) * img.width + xx] = colour;
}

void FrameRect(Image& img, int x, int y, int w, int h, int t, uint8_t colour) {
    FillRect(img, x, y, w, t, colour);
    FillRect(img, x, y + h - t, w, t, colour);
    FillRect(img, x, y, t, h, colour);
    FillRect(img, x + w - t, y, t, h, colour);
}

void GradientRect(Image& img, int x, int y, int w, int h, const std::vector<uint8_t>& ramp) {
    static const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    if (ramp.empty() || h <= 0) return;
    const int steps = int(ramp.size()) - 1;
    for (int yy = 0; yy < h; ++yy) {
        // Position along the ramp in sixteenths of a step.
        const int pos = steps == 0 ? 0 : (yy * steps * 16) / std::max(h - 1, 1);
        const int band = std::min(pos / 16, std::max(steps - 1, 0));
        const int frac = pos - band * 16;
        for (int xx = 0; xx < w; ++xx) {
            const bool upper = steps > 0 && frac > kBayer[(y + yy) & 3][(x + xx) & 3];
            img.Set(x + xx, y + yy, ramp[size_t(band + (upper ? 1 : 0))]);
        }
    }
}

void Disc(Image& img, int cx2, int cy2, int r2, uint8_t colour) {
    for (int y = (cy2 - r2) / 2 - 1; y <= (cy2 + r2) / 2 + 1; ++y) {
        for (int x = (cx2 - r2) / 2 - 1; x <= (cx2 + r2) / 2 + 1; ++x) {
            const int dx = 2 * x + 1 - cx2, dy = 2 * y + 1 - cy2;
            if (dx * dx + dy * dy <= r2 * r2) img.Set(x, y, colour);
        }
    }
}

void Ring(Image& img, int cx2, int cy2, int r2, int t, uint8_t colour) {
    const int inner = r2 - 2 * t;
    for (int y = (cy2 - r2) / 2 - 1; y <= (cy2 + r2) / 2 + 1; ++y) {
        for (int x = (cx2 - r2) / 2 - 1; x <= (cx2 + r2) / 2 + 1; ++x) {
            const int dx = 2 * x + 1 - cx2, dy = 2 * y + 1 - cy2;
            const int d = dx * dx + dy * dy;
            if (d <= r2 * r2 && d > inner * inner) img.Set(x, y, colour);
        }
    }
}

void Blit(Image& img, const Image& sprite, int x, int y, int scale) {
    for (int sy = 0; sy < sprite.height * scale; ++sy) {
        for (int sx = 0; sx < sprite.width * scale; ++sx) {
            const uint8_t c = sprite.At(sx / scale, sy / scale);
            if (c != kKeyIndex) img.Set(x + sx, y + sy, c);
        }
    }
}

void Panel(Image& img, int x, int y, int w, int h, uint8_t rim, uint8_t border, uint8_t inside) {
    // Corners are cut diagonally so the box reads as rounded.
    auto rounded = [&](int inset, int cut, uint8_t colour) {
        const int x0 = x + inset, y0 = y + inset, x1 = x + w - inset, y1 = y + h - inset;
        for (int yy = y0; yy < y1; ++yy) {
            for (int xx = x0; xx < x1; ++xx) {
                const int dx = std::min(xx - x0, x1 - 1 - xx), dy = std::min(yy - y0, y1 - 1 - yy);
                if (dx + dy >= cut) img.Set(xx, yy, colour);
            }
        }
    };
    rounded(0, 4, rim);
    rounded(2, 4, border);
    rounded(5, 3, rim);
    rounded(6, 3, inside);
}

void PaintMask(Image& img, const Mask& mask, int x, int y, uint8_t colour) {
    for (int my = 0; my < mask.height; ++my)
        for (int mx = 0; mx < mask.width; ++mx)
            if (mask.ink[size_t(my) * mask.width + mx]) img.Set(x + mx, y + my, colour);
}

void PaintOutlined(Image& img, const Mask& mask, int x, int y, uint8_t fill, uint8_t edge, int outline) {
    for (int dy = -outline; dy <= outline; ++dy)
        for (int dx = -outline; dx <= outline; ++dx)
            if (dx != 0 || dy != 0) PaintMask(img, mask, x + dx, y + dy, edge);
    PaintMask(img, mask, x, y, fill);
}

void PaintShadowed(Image& img, const Mask& mask, int x, int y, uint8_t fill, uint8_t shadow, int dx, int dy) {
    PaintMask(img, mask, x + dx, y + dy, shadow);
    PaintMask(img, mask, x, y, fill);
}

Mask Embolden(const Mask& mask, int pixels) {
    Mask out = mask;
    out.width += pixels;
    out.ink.assign(size_t(out.width) * out.height, 0);
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x)
            if (mask.At(x, y))
                for (int k = 0; k <= pixels; ++k) out.ink[size_t(y) * out.width + x + k] = 1;
    return out;
}

}  // namespace assetgen
