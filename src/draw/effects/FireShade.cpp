// kaEffect::Fire and kaEffect::Shade: in-place passes over the inner pixels
// of a rectangle, top to bottom and left to right, so that a pixel written
// earlier in the pass is what its later neighbours read.
#include <vector>

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

// The split by formula equals the GetRGB table for every value and needs no
// table reads, which matters in these serial passes.
Rgb5 Split(const kafx::Format& f, uint16_t p) {
    const kafx::Five c = kafx::Split5(f, p);
    return {c.r, c.g, c.b};
}

Rgb5 Sum4(Rgb5 p, Rgb5 q, Rgb5 s, Rgb5 t) {
    return {(p.r + q.r + s.r + t.r) >> 2, (p.g + q.g + s.g + t.g) >> 2, (p.b + q.b + s.b + t.b) >> 2};
}

// The fire reads the row below its rectangle, so that row must exist on the
// surface: the rectangle is cut one row short of the bottom.
int FirePass(kadraw::state::FireCursor& cursor, const Fade& fade, int Px, int Py, unsigned Width, unsigned Height) {
    if (!kadraw::LockBack()) return 0;
    const kadraw::BackArea a = kadraw::ClipToBack(Px, Py, Width, Height, 1);
    const kafx::Format f = kafx::CurrentFormat();
    for (int y = 1; y < a.h - 1; ++y) {
        uint16_t* t = DDBack->row(a.y + y) + a.x;
        const uint16_t* b = DDBack->row(a.y + y + 1) + a.x;
        const uint16_t* bb = DDBack->row(a.y + y + 2) + a.x;
        for (int x = 1; x < a.w - 1; ++x) {
            ++cursor.count;
            if (cursor.count < kaEffect::FireRandomList[cursor.count2]) {
                const Rgb5 m = fade(Sum4(Split(f, b[x - 1]), Split(f, b[x + 1]), Split(f, t[x]), Split(f, bb[x])));
                t[x] = kafx::Pack5(f, m.r, m.g, m.b);
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

// The blur's channels travel spread out, ten bits apart, so that one add and
// one shift treat all three at once (sums of four five-bit values never
// reach the next channel). Only the left neighbour depends on the pixel
// just written; the other three are summed for the whole row first.
constexpr uint32_t kLow5 = 0x1F | 0x1F << 10 | 0x1F << 20;
constexpr uint32_t kOnes = 1 | 1 << 10 | 1 << 20;

uint32_t Spread(const kafx::Format& f, uint16_t p) {
    const kafx::Five c = kafx::Split5(f, p);
    return uint32_t{c.r} | uint32_t{c.g} << 10 | uint32_t{c.b} << 20;
}

int ShadePass(const Fade& fade, int Px, int Py, unsigned Width, unsigned Height) {
    if (!kadraw::LockBack()) return 0;
    const kadraw::BackArea a = kadraw::ClipToBack(Px, Py, Width, Height);
    const kafx::Format f = kafx::CurrentFormat();
    // A channel that is above 0 has bit 5 set after adding 31 to it.
    const uint32_t fadeBits = (fade.r ? 1u : 0u) | (fade.g ? 1u << 10 : 0u) | (fade.b ? 1u << 20 : 0u);
    static std::vector<uint32_t> around;
    around.resize(static_cast<size_t>(a.w));
    for (int y = 1; y < a.h - 1; ++y) {
        uint16_t* p = DDBack->row(a.y + y) + a.x;
        const uint16_t* up = DDBack->row(a.y + y - 1) + a.x;
        const uint16_t* down = DDBack->row(a.y + y + 1) + a.x;
        for (int x = 1; x < a.w - 1; ++x) around[x] = Spread(f, p[x + 1]) + Spread(f, up[x]) + Spread(f, down[x]);
        uint32_t left = Spread(f, p[0]);
        for (int x = 1; x < a.w - 1; ++x) {
            left = ((left + around[x]) >> 2) & kLow5;
            left -= ((left + 31 * kOnes) >> 5) & fadeBits;
            p[x] = kafx::Pack5(f, left & 31, (left >> 10) & 31, (left >> 20) & 31);
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
