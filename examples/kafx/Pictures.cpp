// Generated pictures of the gallery.
#include "Pictures.h"

#include <cmath>
#include <cstdint>

#include "draw/kaDraw.h"

namespace kafx_gallery {

unsigned short Colour(int r, int g, int b) {
    auto ch = [](int v, uint32_t mask) {
        int shift = 0, bits = 0;
        while (((mask >> shift) & 1) == 0) ++shift;
        while ((mask >> (shift + bits)) & 1) ++bits;
        return (static_cast<uint32_t>(v) >> (8 - bits)) << shift;
    };
    return static_cast<unsigned short>(ch(r, kaDraw::MaskR) | ch(g, kaDraw::MaskG) | ch(b, kaDraw::MaskB));
}

namespace {

// Hue h in 0..1 at full saturation, brightness v 0..1.
unsigned short Hue(double h, double v) {
    const double r = 0.5 + 0.5 * std::cos(2 * M_PI * h), g = 0.5 + 0.5 * std::cos(2 * M_PI * (h - 1.0 / 3)),
                 b = 0.5 + 0.5 * std::cos(2 * M_PI * (h - 2.0 / 3));
    return Colour(static_cast<int>(255 * r * v), static_cast<int>(255 * g * v), static_cast<int>(255 * b * v));
}

template <typename Fn>
int Make(int w, int h, Fn pixel) {
    const int n = kaDraw::CreateObject(w, h, 2);
    if (n == 0) return 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) Sprite[n].Object->row(y)[x] = pixel(x, y);
    return n;
}

}  // namespace

bool MakePictures(Pictures* p) {
    p->back = Make(640, 480, [](int x, int y) -> unsigned short {
        const bool check = ((x / 40) + (y / 40)) % 2 == 0;
        const bool stripe = ((x + y) / 12) % 2 == 0;
        const int r = x * 255 / 640, b = y * 255 / 480;
        if (stripe) return Colour(r / 2 + 40, check ? 150 : 60, b / 2 + 40);
        return Colour(check ? 200 - r / 2 : 30, check ? 60 : 120, check ? 40 : 200 - b / 2);
    });
    p->pic = Make(kPicW, kPicH, [](int x, int y) -> unsigned short {
        const double dx = (x - kPicW / 2.0) / (kPicW / 2.0), dy = (y - kPicH / 2.0) / (kPicH / 2.0);
        const double d = std::pow(std::pow(std::fabs(dx), 4) + std::pow(std::fabs(dy), 4), 0.25);
        if (d > 0.98) return 0;  // outside the rounded square
        if (((x / 25) + (y / 25)) % 3 == 0 && (x % 25 - 12) * (x % 25 - 12) + (y % 25 - 12) * (y % 25 - 12) < 30)
            return 0;  // round holes
        const double ring = 0.5 + 0.5 * std::cos(std::sqrt(dx * dx + dy * dy) * 18);
        unsigned short c = Hue(x / double(kPicW) + 0.2 * dy, 0.45 + 0.55 * ring);
        return c == 0 ? 1 : c;
    });
    p->texture = Make(128, 128, [](int x, int y) -> unsigned short {
        const bool check = ((x / 16) + (y / 16)) % 2 == 0;
        unsigned short c = Hue(x / 128.0, check ? 1.0 : 0.55);
        if (y % 32 < 3) c = Colour(255, 255, 255);
        return c == 0 ? 1 : c;
    });
    p->map = Make(kPicW, kPicH, [](int x, int y) -> unsigned short {
        const int red = static_cast<int>(127 + 127 * std::sin(x / 14.0 + y / 30.0));
        return Colour(red < 8 ? 8 : red, 0, 0);
    });
    p->light = Make(kPicW, kPicH, [](int x, int y) -> unsigned short {
        const double a = std::atan2(y - kPicH / 2.0, x - kPicW / 2.0);
        const double r = std::hypot(x - kPicW / 2.0, y - kPicH / 2.0);
        if (std::fabs(r - 50) < 2.5 && std::fmod(a + M_PI, M_PI / 6) < 0.12) return Hue(a / (2 * M_PI), 1.0);
        return 0;
    });
    p->small = Make(64, 48, [](int x, int y) -> unsigned short {
        const double dx = x - 32, dy = y - 24;
        if (dx * dx / 900 + dy * dy / 400 > 1) return 0;
        unsigned short c = Hue((x + y) / 112.0, 1.0);
        return c == 0 ? 1 : c;
    });
    return p->back && p->pic && p->texture && p->map && p->light && p->small;
}

}  // namespace kafx_gallery
