// kaEffect::Fire and kaEffect::Shade: in-place passes over the inner pixels
// of a rectangle, top to bottom and left to right, so that a pixel written
// earlier in the pass is what its later neighbours read.
#include "draw/effects/EffectPixels.h"
#include "draw/effects/EffectState.h"
#include "draw/effects/ScreenArea.h"

namespace {

using Rgb5 = kafx::Rgb;

// The flagged channels of a mean that are above 0 lose one step.
struct Fade {
    int r = 0, g = 0, b = 0;
    Rgb5 operator()(Rgb5 c) const {
        if (r && c.r > 0) --c.r;
        if (g && c.g > 0) --c.g;
        if (b && c.b > 0) --c.b;
        return c;
    }
};

Rgb5 Mean4(uint16_t a, uint16_t b, uint16_t c, uint16_t d) {
    const Rgb5 p = kafx::Split5(a), q = kafx::Split5(b), s = kafx::Split5(c), t = kafx::Split5(d);
    return {(p.r + q.r + s.r + t.r) >> 2, (p.g + q.g + s.g + t.g) >> 2, (p.b + q.b + s.b + t.b) >> 2};
}

// The fire reads the row below its rectangle, so that row must exist on the
// surface: the rectangle is cut one row short of the bottom.
int FirePass(kadraw::state::FireCursor& cursor, const Fade& fade, int Px, int Py, unsigned Width, unsigned Height) {
    if (!kadraw::LockBack()) return 0;
    const kadraw::BackArea a = kadraw::ClipToBack(Px, Py, Width, Height, 1);
    for (int y = 1; y < a.h - 1; ++y) {
        uint16_t* t = DDBack->row(a.y + y) + a.x;
        const uint16_t* b = DDBack->row(a.y + y + 1) + a.x;
        const uint16_t* bb = DDBack->row(a.y + y + 2) + a.x;
        for (int x = 1; x < a.w - 1; ++x) {
            ++cursor.count;
            if (cursor.count < kaEffect::FireRandomList[cursor.count2]) {
                const Rgb5 m = fade(Mean4(b[x - 1], b[x + 1], t[x], bb[x]));
                t[x] = kafx::Pack5(m.r, m.g, m.b);
            } else {
                t[x] = b[x];
                cursor.count = 0;
                kadraw::AdvanceNoiseCursor(&cursor.count2);
            }
        }
    }
    DDBack->unlock();
    return 1;
}

int ShadePass(const Fade& fade, int Px, int Py, unsigned Width, unsigned Height) {
    if (!kadraw::LockBack()) return 0;
    const kadraw::BackArea a = kadraw::ClipToBack(Px, Py, Width, Height);
    for (int y = 1; y < a.h - 1; ++y) {
        uint16_t* p = DDBack->row(a.y + y) + a.x;
        const uint16_t* up = DDBack->row(a.y + y - 1) + a.x;
        const uint16_t* down = DDBack->row(a.y + y + 1) + a.x;
        for (int x = 1; x < a.w - 1; ++x) {
            const Rgb5 m = fade(Mean4(p[x - 1], p[x + 1], up[x], down[x]));
            p[x] = kafx::Pack5(m.r, m.g, m.b);
        }
    }
    DDBack->unlock();
    return 1;
}

}  // namespace

int kaEffect::Fire(int Px, int Py, unsigned Width, unsigned Height) {
    return FirePass(kadraw::state::fire[0], Fade{}, Px, Py, Width, Height);
}

int kaEffect::Fire(int Red, int Green, int Blue, int Px, int Py, unsigned Width, unsigned Height) {
    return FirePass(kadraw::state::fire[1], Fade{Red, Green, Blue}, Px, Py, Width, Height);
}

int kaEffect::Shade(int Px, int Py, unsigned Width, unsigned Height) {
    return ShadePass(Fade{}, Px, Py, Width, Height);
}

int kaEffect::Shade(int Red, int Green, int Blue, int Px, int Py, unsigned Width, unsigned Height) {
    return ShadePass(Fade{Red, Green, Blue}, Px, Py, Width, Height);
}
