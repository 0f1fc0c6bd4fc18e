// Small pixel helpers shared by every effect layer: the two channel splits
// (five-bit through GetRGB, native at full field width) and their packs, the
// one float rule of the weighted members, a saturating float-to-int, clamps
// and a non-negative modulo.
#pragma once

#include <climits>
#include <cmath>
#include <cstdint>

#include "draw/kaDraw.h"

namespace kafx {

// ---- Channel splits and packs ------------------------------------------------

// Three channel values of one pixel.
struct Rgb {
    int r, g, b;
};

// Top five bits of each field, as the GetRGB table holds them (0..31). In
// 5-5-5 a value with bit 15 set splits to black, as the table does.
//   Rgb c = kafx::Split5(p);  ...  out = kafx::Pack5(c.r, c.g, c.b);
inline Rgb Split5(uint16_t p) {
    const _getrgb& e = GetRGB[p];
    return {e.r, e.g, e.b};
}

// Five-bit components packed at ShiftR2/ShiftG2/ShiftB2. Callers keep each
// component within 0..31 (use Clamp5 when a rule can leave that range).
inline uint16_t Pack5(int r, int g, int b) {
    return static_cast<uint16_t>((r << kaDraw::ShiftR2) | (g << kaDraw::ShiftG2) | (b << kaDraw::ShiftB2));
}

// Each field at its full width (0..31, or 0..63 for a six-bit field).
//   Rgb c = kafx::SplitNative(p);  ...  out = kafx::PackNative(c.r, c.g, c.b);
inline Rgb SplitNative(uint16_t p) {
    return {static_cast<int>((p >> kaDraw::ShiftR) & kaDraw::BitR), static_cast<int>((p >> kaDraw::ShiftG) & kaDraw::BitG),
            static_cast<int>((p >> kaDraw::ShiftB) & kaDraw::BitB)};
}

// Native components packed at ShiftR/ShiftG/ShiftB, truncated to 16 bits.
inline uint16_t PackNative(int r, int g, int b) {
    return static_cast<uint16_t>((r << kaDraw::ShiftR) | (g << kaDraw::ShiftG) | (b << kaDraw::ShiftB));
}

// ---- Clamps and integer helpers ---------------------------------------------

inline int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }
inline int64_t Clamp64(int64_t v, int64_t lo, int64_t hi) { return v < lo ? lo : (v > hi ? hi : v); }

// Table levels and weights given as int index tables of 32 entries: 0..31.
inline int ClampLevel(int level) { return Clamp(level, 0, 31); }

// A five-bit component, and a native one of the given field maximum.
inline int Clamp5(int v) { return Clamp(v, 0, 31); }
inline int ClampField(int v, uint32_t bit) { return Clamp(v, 0, static_cast<int>(bit)); }

// Native components clamped to their fields, so that a weight outside
// 0..1 can never carry into the neighbouring field.
inline uint16_t PackNativeClamped(int r, int g, int b) {
    return PackNative(ClampField(r, kaDraw::BitR), ClampField(g, kaDraw::BitG), ClampField(b, kaDraw::BitB));
}
inline uint16_t Pack5Clamped(int r, int g, int b) { return Pack5(Clamp5(r), Clamp5(g), Clamp5(b)); }

// a mod m in 0..m-1 for m > 0, also for negative a: tiles and angles.
//   int col = kafx::PositiveMod(rx, W);  int angle = kafx::PositiveMod(Angle, 360);
inline int64_t PositiveMod(int64_t a, int64_t m) {
    int64_t r = a % m;
    return r < 0 ? r + m : r;
}

// ---- The float rule -----------------------------------------------------------
// Int and float operands are converted to double and evaluated in double;
// only values the layer keeps as float (a complementary weight, a phase, a
// zoom) are rounded to single precision; results truncate toward zero.

// Toward zero, saturating at the int range; NaN gives 0. Every float result
// that becomes a coordinate or a component goes through this.
//   int v = kafx::SaturatingInt(double(s) * w + double(d) * bd);
inline int SaturatingInt(double v) {
    if (!(v == v)) return 0;
    if (v >= 2147483647.0) return INT_MAX;
    if (v <= -2147483648.0) return INT_MIN;
    return static_cast<int>(v);
}

// 1.0 - w, computed in double and stored as float.
inline float Complement(float w) { return static_cast<float>(1.0 - static_cast<double>(w)); }

// s * w + d * bd in double, truncated: the weighted mix of one component.
inline int WeightedMix(int s, float w, int d, float bd) {
    return SaturatingInt(static_cast<double>(s) * static_cast<double>(w) + static_cast<double>(d) * static_cast<double>(bd));
}

// s * f in double, truncated: the brightness of one component.
inline int Scaled(int s, float f) { return SaturatingInt(static_cast<double>(s) * static_cast<double>(f)); }

// cos and sin of an angle in degrees, in double.
constexpr double kPi = 3.14159265358979323846;
inline double CosDegrees(double d) { return std::cos(d * 2.0 * kPi / 360.0); }
inline double SinDegrees(double d) { return std::sin(d * 2.0 * kPi / 360.0); }

// ---- The pixel format, read once per call -----------------------------------
// Rules copy the statics into locals so that the compiler can keep them in
// registers across a row (and vectorise the row).

struct Format {
    uint16_t shiftR, shiftG, shiftB;
    uint16_t shiftR2, shiftG2, shiftB2;
    uint16_t bitR, bitG, bitB;
    uint16_t maskR, maskG, maskB;
    uint16_t maskRGB;
    // Bits no field covers (bit 15 in 5-5-5): GetRGB splits such values to
    // black, and the formula paths must do the same.
    uint16_t unused;
};

inline Format CurrentFormat() {
    Format f;
    f.shiftR = kaDraw::ShiftR, f.shiftG = kaDraw::ShiftG, f.shiftB = kaDraw::ShiftB;
    f.shiftR2 = kaDraw::ShiftR2, f.shiftG2 = kaDraw::ShiftG2, f.shiftB2 = kaDraw::ShiftB2;
    f.bitR = static_cast<uint16_t>(kaDraw::BitR), f.bitG = static_cast<uint16_t>(kaDraw::BitG),
    f.bitB = static_cast<uint16_t>(kaDraw::BitB);
    f.maskR = static_cast<uint16_t>(kaDraw::MaskR), f.maskG = static_cast<uint16_t>(kaDraw::MaskG),
    f.maskB = static_cast<uint16_t>(kaDraw::MaskB);
    f.maskRGB = static_cast<uint16_t>(kaDraw::MaskRGB);
    f.unused = static_cast<uint16_t>(~(kaDraw::MaskR | kaDraw::MaskG | kaDraw::MaskB) & 0xFFFF);
    return f;
}

// The two formats the display runs in, as compile-time constants: loops
// written against one of these keep every shift an immediate and every lane
// 16 bits wide. They read like a Format (the same member names).
template <bool Rgb555>
struct FixedFormat {
    static constexpr uint16_t shiftR = Rgb555 ? 10 : 11, shiftG = 5, shiftB = 0;
    static constexpr uint16_t shiftR2 = Rgb555 ? 10 : 11, shiftG2 = Rgb555 ? 5 : 6, shiftB2 = 0;
    static constexpr uint16_t bitR = 31, bitG = Rgb555 ? 31 : 63, bitB = 31;
    static constexpr uint16_t unused = Rgb555 ? 0x8000 : 0;
};
using Format565 = FixedFormat<false>;
using Format555 = FixedFormat<true>;

// Calls fn(format) once, with Format565 or Format555 when the current format
// is one of them, else with the Format itself. Usage in a row kernel:
//   kafx::ForFormat(f, [&](auto fmt) { kafx::EachPixel(a, p, [=](uint16_t s, uint16_t d) { return Rule(fmt, s, d); }); });
template <typename Fn>
[[gnu::always_inline]] inline void ForFormat(const Format& f, Fn&& fn) {
    auto same = [&f](auto g) {
        return f.shiftR == g.shiftR && f.shiftG == g.shiftG && f.shiftB == g.shiftB && f.shiftR2 == g.shiftR2 &&
               f.shiftG2 == g.shiftG2 && f.shiftB2 == g.shiftB2 && f.bitR == g.bitR && f.bitG == g.bitG &&
               f.bitB == g.bitB && f.unused == g.unused;
    };
    if (same(Format565{}))
        fn(Format565{});
    else if (same(Format555{}))
        fn(Format555{});
    else
        fn(f);
}

// The five-bit split by formula (equal to GetRGB for every pixel value, in
// 5-6-5 and in 5-5-5), in 16-bit lanes so that loops the compiler vectorises
// take eight or sixteen pixels at a time. F is a Format or a FixedFormat.
struct Five {
    uint16_t r, g, b;
};
template <typename F>
inline Five Split5(const F& f, uint16_t p) {
    const uint16_t keep = (p & f.unused) ? 0 : 31;
    return {static_cast<uint16_t>((p >> f.shiftR2) & keep), static_cast<uint16_t>((p >> f.shiftG2) & keep),
            static_cast<uint16_t>((p >> f.shiftB2) & keep)};
}
template <typename F>
inline uint16_t Pack5(const F& f, uint16_t r, uint16_t g, uint16_t b) {
    return static_cast<uint16_t>((r << f.shiftR2) | (g << f.shiftG2) | (b << f.shiftB2));
}

// max(a - b, 0) and min(a, 31) on small unsigned values, branch-free.
inline uint16_t SatSub(uint16_t a, uint16_t b) { return static_cast<uint16_t>((a > b ? a : b) - b); }
inline uint16_t Min31(uint16_t a) { return a < 31 ? a : 31; }

}  // namespace kafx
