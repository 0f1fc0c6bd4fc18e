// One frame of a page: the page itself, the caption strip and the values.
#include "Gallery.h"

#include <cstring>
#include <string>

#include "draw/kaDraw.h"

namespace kafx_gallery {

namespace {

constexpr const char* kGlyphs = "0123456789.-";
constexpr int kCell = 10;
constexpr int kValueColumns[] = {300 + 112, 470 + 112};

void DrawNumber(int captions, int x, int value) {
    const int top = static_cast<int>(Pages().size()) * kBand;
    for (char c : std::to_string(value)) {
        const char* at = std::strchr(kGlyphs, c);
        if (at == nullptr) continue;
        const int i = static_cast<int>(at - kGlyphs);
        kaDraw::Layer(x, 0, captions, i * kCell, top, i * kCell + kCell, top + kBand);
        x += 9;
    }
}

}  // namespace

void DrawPage(const Pictures& pictures, int captions, const PageState& s, int p, bool inset) {
    const Page& page = Pages()[s.page];
    Frame f{pictures, s.t, s.frame, p, 0};
    // With the inset the background stays whole, so that what the page
    // draws shows cut at the inset's four sides.
    if (inset) {
        kaDraw::DirectLayer(0, 0, pictures.back, 0, 0, 640, 480);
        kaDraw::VirtualScreen(240, 180, 400, 300);
    }
    page.draw(f);
    kaDraw::VirtualScreen(0, 0, 640, 480);
    if (inset) {
        const uint16_t yellow = Colour(255, 230, 0);
        kaDraw::ColorFill(238, 178, 402, 179, yellow);
        kaDraw::ColorFill(238, 301, 402, 302, yellow);
        kaDraw::ColorFill(238, 178, 239, 302, yellow);
        kaDraw::ColorFill(401, 178, 402, 302, yellow);
    }
    kaDraw::ColorBlend(0, 0, 640, kBand, 0);
    kaDraw::Layer(0, 0, captions, 0, s.page * kBand, 640, s.page * kBand + kBand);
    if (page.lo != page.hi) DrawNumber(captions, kValueColumns[0], p);
    DrawNumber(captions, kValueColumns[1], f.shown);
}

}  // namespace kafx_gallery
