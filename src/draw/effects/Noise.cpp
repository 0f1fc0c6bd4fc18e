// kaEffect::Noise: every pixel of the rectangle brightened by a noise value
// from the fire list shifted left by Force, each five-bit channel limited to
// 31. The list is read in runs up to its end, so the per-pixel rule is a
// plain loop the compiler can vectorise.
#include "draw/effects/EffectPixels.h"
#include "draw/effects/EffectState.h"
#include "draw/effects/ScreenArea.h"

namespace {

// The flagged channels get the noise, each limited to 31; the split by
// formula equals the GetRGB table for every value.
struct NoiseRule {
    kafx::Format f;
    unsigned fr, fg, fb;  // 1 for the channels that get the noise
    int force;

    uint16_t operator()(uint16_t p, char n) const {
        const unsigned add = static_cast<uint16_t>(static_cast<unsigned>(n) << force);
        const kafx::Five c = kafx::Split5(f, p);
        return kafx::Pack5(f, kafx::Min31(c.r + add * fr), kafx::Min31(c.g + add * fg), kafx::Min31(c.b + add * fb));
    }
};

int NoisePass(int* cursor, bool red, bool green, bool blue, int Force, int Px, int Py, unsigned Width,
              unsigned Height) {
    if (!kadraw::LockBack()) return 0;
    // The shift is 16-bit: from 15 on the noise would wrap to nothing.
    const int force = Force < 0 ? 0 : Force > 14 ? 14 : Force;
    const NoiseRule rule{kafx::CurrentFormat(), red, green, blue, force};
    const kadraw::BackArea a = kadraw::ClipToBack(Px, Py, Width, Height);
    const char* list = kaEffect::FireRandomList;
    for (int y = 0; y < a.h; ++y) {
        uint16_t* p = DDBack->row(a.y + y) + a.x;
        for (int x = 0; x < a.w;) {
            const int run = std::min(a.w - x, kadraw::kNoiseLength - *cursor);
            const char* n = list + *cursor;
            for (int i = 0; i < run; ++i) p[x + i] = rule(p[x + i], n[i]);
            x += run;
            *cursor += run - 1;
            kadraw::AdvanceNoiseCursor(cursor);
        }
    }
    DDBack->unlock();
    return 1;
}

}  // namespace

int kaEffect::Noise(int Force, int Px, int Py, unsigned Width, unsigned Height) {
    return NoisePass(&kadraw::state::noiseCount[0], true, true, true, Force, Px, Py, Width, Height);
}

int kaEffect::Noise(int Red, int Green, int Blue, int Force, int Px, int Py, unsigned Width, unsigned Height) {
    return NoisePass(&kadraw::state::noiseCount[1], Red != 0, Green != 0, Blue != 0, Force, Px, Py, Width, Height);
}
