// kaEffect::Noise: every pixel of the rectangle brightened by a noise value
// from the fire list shifted left by Force, each five-bit channel limited to
// 31. The list is read in runs up to its end; in the two display formats a
// run goes sixteen pixels at a time (built for AVX2 and the baseline).
#include <cstring>
#include <type_traits>

#include "draw/effects/EffectPixels.h"
#include "draw/effects/EffectState.h"
#include "draw/effects/LayerFrame.h"
#include "draw/effects/ScreenArea.h"

namespace {

using kafx::Format;
using kadraw::kNoiseLength;

// The noise step of one list entry, limited to 31: a larger step clamps
// every channel anyway, and the 16-bit shift of a byte by at most 14 never
// comes near 65,536 - 31, so no channel sum could have wrapped. The shift
// is a multiplication by scale = 2^Force.
inline uint16_t NoiseStep(unsigned char n, uint16_t scale) {
    const uint16_t step = static_cast<uint16_t>(n * scale);
    return step < 31 ? step : 31;
}

// The channels that get the noise: `spread` has the lowest bit of each
// flagged five-bit field, so that step * spread adds to all of them in one
// pixel; r, g and b are 0xFFFF for a flagged channel, else 0.
struct Channels {
    uint16_t spread, r, g, b;
};
template <typename F>
Channels Flagged(const F& f, bool red, bool green, bool blue) {
    const auto bit = [](bool on, unsigned shift) { return on ? 1u << shift : 0u; };
    const auto all = [](bool on) { return static_cast<uint16_t>(on ? 0xFFFF : 0); };
    return {static_cast<uint16_t>(bit(red, f.shiftR2) | bit(green, f.shiftG2) | bit(blue, f.shiftB2)), all(red),
            all(green), all(blue)};
}

// ---- The display formats ----------------------------------------------------
// A field x of mask m brightened by y and limited to m is m - max(r, y) + y,
// with r = m - x the room left above it: the bits of m the pixel does not
// have. No sum leaves 16 bits (the top field included), no field needs a
// shift, and as the fields are disjoint m - v is m ^ v for all three at once.
// A value with an unused bit set is black first, as the GetRGB split has it.

template <bool Rgb555>
struct Fields {
    static constexpr uint16_t r = 31u << kafx::FixedFormat<Rgb555>::shiftR2;
    static constexpr uint16_t g = 31u << kafx::FixedFormat<Rgb555>::shiftG2;
    static constexpr uint16_t b = 31u << kafx::FixedFormat<Rgb555>::shiftB2;
    static constexpr uint16_t unused = kafx::FixedFormat<Rgb555>::unused;
};

// One pixel; `add` is step * spread.
template <bool Rgb555>
inline uint16_t NoisePixel(uint16_t p, uint16_t add) {
    using M = Fields<Rgb555>;
    if (M::unused != 0 && (p & M::unused) != 0) p = 0;
    const auto left = [p, add](uint16_t m) {
        const uint16_t room = static_cast<uint16_t>(~p & m), y = static_cast<uint16_t>(add & m);
        return static_cast<uint16_t>((room > y ? room : y) - y);
    };
    return static_cast<uint16_t>((left(M::r) | left(M::g) | left(M::b)) ^ (M::r | M::g | M::b));
}

// Sixteen pixels in one register (two on the baseline): as 16-bit lanes and
// as their 32 bytes. Red and blue each lie inside one byte of the pixel in
// both formats, so byte lanes take the two in one go; green straddles the
// bytes and takes 16-bit lanes. Vectors pass by reference: a 256-bit value
// would change the calling convention between the two builds.
using Lanes16 = uint16_t __attribute__((vector_size(32)));
using Lanes8 = uint8_t __attribute__((vector_size(32)));

template <bool Rgb555>
[[gnu::always_inline]] inline void NoiseBlock(uint16_t* p, const uint16_t* addends) {
    using M = Fields<Rgb555>;
    constexpr uint16_t redBlue = M::r | M::b;
    Lanes16 v, add;
    std::memcpy(&v, p, sizeof v);
    std::memcpy(&add, addends, sizeof add);
    if constexpr (M::unused != 0) v &= reinterpret_cast<Lanes16>((v & M::unused) == 0);
    const Lanes16 room = ~v;
    const Lanes8 roomRB = reinterpret_cast<Lanes8>(room & redBlue), yRB = reinterpret_cast<Lanes8>(add & redBlue);
    const Lanes8 leftRB = (roomRB > yRB ? roomRB : yRB) - yRB;
    const Lanes16 roomG = room & M::g, yG = add & M::g;
    const Lanes16 leftG = (roomG > yG ? roomG : yG) - yG;
    const Lanes16 out = (reinterpret_cast<Lanes16>(leftRB) | leftG) ^ static_cast<uint16_t>(M::r | M::g | M::b);
    std::memcpy(p, &out, sizeof out);
}

// A run of pixels against their addends: blocks of sixteen, then single
// pixels.
template <bool Rgb555>
[[gnu::always_inline]] inline void NoiseRun(uint16_t* p, const uint16_t* add, int count) {
    int i = 0;
    for (; i + 16 <= count; i += 16) NoiseBlock<Rgb555>(p + i, add + i);
    for (; i < count; ++i) p[i] = NoisePixel<Rgb555>(p[i], add[i]);
}

// ---- Any other format: split by shifts, add, clamp, pack ----------------------

inline uint16_t NoisePixel(const Format& f, uint16_t p, uint16_t step, const Channels& c) {
    const kafx::Five v = kafx::Split5(f, p);
    const auto add = [step](uint16_t x, uint16_t flag) { return kafx::Min31(static_cast<uint16_t>(x + (step & flag))); };
    return kafx::Pack5(f, add(v.r, c.r), add(v.g, c.g), add(v.b, c.b));
}

// ---- The walk ------------------------------------------------------------------

// The rectangle, row by row and run by run, with the cursor moving as if it
// stepped once per pixel (the restarts call rand() exactly as often).
// run(pixels, list position, count) brightens one run.
template <typename Run>
[[gnu::always_inline]] inline void EachRun(const kadraw::BackArea& a, int* cursor, Run run) {
    for (int y = 0; y < a.h; ++y) {
        uint16_t* row = DDBack->row(a.y + y) + a.x;
        for (int x = 0; x < a.w;) {
            const int count = std::min(a.w - x, kNoiseLength - *cursor);
            run(row + x, *cursor, count);
            x += count;
            *cursor += count - 1;
            kadraw::AdvanceNoiseCursor(cursor);
        }
    }
}

// The list positions a call can read: from the cursor on for as many
// pixels as the area has, or, when that passes the end (the cursor then
// restarts somewhere in the first thousand), the whole list.
struct ListRange {
    int first, last;
};
inline ListRange Reachable(const kadraw::BackArea& a, int cursor) {
    const int64_t pixels = int64_t{a.w} * a.h;
    if (cursor >= 0 && pixels <= kNoiseLength - cursor) return {cursor, static_cast<int>(cursor + pixels)};
    return {0, kNoiseLength};
}

template <typename F>
[[gnu::always_inline]] inline void NoiseArea(const F& f, const kadraw::BackArea& a, int* cursor, int force,
                                             const Channels& c) {
    const unsigned char* list = reinterpret_cast<const unsigned char*>(kaEffect::FireRandomList);
    const uint16_t scale = static_cast<uint16_t>(1u << force);
    if constexpr (std::is_same_v<F, Format>) {
        EachRun(a, cursor, [&](uint16_t* p, int from, int count) {
            for (int i = 0; i < count; ++i) p[i] = NoisePixel(f, p[i], NoiseStep(list[from + i], scale), c);
        });
    } else {
        // The addend of each list entry the call can reach, worked out once.
        uint16_t addends[kNoiseLength];
        const ListRange reach = Reachable(a, *cursor);
        for (int i = reach.first; i < reach.last; ++i)
            addends[i] = static_cast<uint16_t>(NoiseStep(list[i], scale) * c.spread);
        constexpr bool rgb555 = std::is_same_v<F, kafx::Format555>;
        EachRun(a, cursor, [&](uint16_t* p, int from, int count) { NoiseRun<rgb555>(p, addends + from, count); });
    }
}

// The two display formats get every mask as a constant; any other format
// takes the split by shifts.
KA_FX_KERNEL_AVX2 void NoiseRows(const kadraw::BackArea& a, Format f, int* cursor, int force, bool red, bool green,
                                bool blue) {
    kafx::ForFormat(f, [&](auto fmt) __attribute__((always_inline)) {
        NoiseArea(fmt, a, cursor, force, Flagged(fmt, red, green, blue));
    });
}

int NoisePass(int* cursor, bool red, bool green, bool blue, int Force, int Px, int Py, unsigned Width,
              unsigned Height) {
    if (!kadraw::LockBack()) return 0;
    // The shift is 16-bit: from 15 on the noise would wrap to nothing.
    const int force = Force < 0 ? 0 : Force > 14 ? 14 : Force;
    NoiseRows(kadraw::ClipToBack(Px, Py, Width, Height), kafx::CurrentFormat(), cursor, force, red, green, blue);
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
