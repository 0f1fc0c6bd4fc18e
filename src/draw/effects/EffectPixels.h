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

// The five-bit split by formula (equal to GetRGB for every pixel value, in
// 5-6-5 and in 5-5-5), for loops the compiler can vectorise.
struct Five {
    uint16_t r, g, b;
};
inline Five Split5(const Format& f, uint16_t p) {
    uint16_t keep = (p & f.unused) ? 0 : 0xFFFF;
    return {static_cast<uint16_t>((p >> f.shiftR2) & 31 & keep), static_cast<uint16_t>((p >> f.shiftG2) & 31 & keep),
            static_cast<uint16_t>((p >> f.shiftB2) & 31 & keep)};
}
inline uint16_t Pack5(const Format& f, unsigned r, unsigned g, unsigned b) {
    return static_cast<uint16_t>((r << f.shiftR2) | (g << f.shiftG2) | (b << f.shiftB2));
}

// max(a - b, 0) on small unsigned values, branch-free.
inline unsigned SatSub(unsigned a, unsigned b) { return a > b ? a - b : 0; }
inline unsigned Min31(unsigned a) { return a < 31 ? a : 31; }

}  // namespace kafx
