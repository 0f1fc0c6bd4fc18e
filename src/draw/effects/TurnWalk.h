// The walk shared by the rotation family: a box row's positions in 1/360
// pixel, their quotients by 360 (a float division, exact over the range
// where the walk uses it), the source column and row each quotient samples
// through per-axis tables built from the member's own maps, then branch-free
// reads and the member's stores. Where the processor has AVX-512 one row
// kernel does all of that for every member, sixteen pixels at a time. Boxes
// whose positions reach too far take a straightforward 64-bit walk with the
// same maps.
#pragma once

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <vector>

#include "draw/effects/LayerFrame.h"

namespace kafx {

// |t| up to this: Div360 is exact.
constexpr int32_t kExactTurn = (1 << 22) - 2;

// t / 360 truncated toward zero, for |t| <= kExactTurn. t +- 0.5 is exact in
// float and lies at least 0.5/360 from every multiple of 360 (on the side
// that truncation keeps), while the two roundings of the product are off by
// less than |t| * 2^-23 / 360 < 0.5/360; so the product truncates like the
// exact quotient.
inline int32_t Div360(int32_t t) {
    const float f = static_cast<float>(t) + (t < 0 ? -0.5f : 0.5f);
    return static_cast<int32_t>(f * (1.0f / 360.0f));
}

// The walk's constants. Box pixel (x, y) samples at tx, ty (1/360 pixel):
// tx = tx1 + x cos - y sin, ty = ty1 + x sin + y cos.
struct Turn {
    int64_t cosA, sinA, cx2, cy2, tx1, ty1;
    int64_t Tx(int64_t x, int64_t y) const { return tx1 + x * cosA - y * sinA; }
    int64_t Ty(int64_t x, int64_t y) const { return ty1 + x * sinA + y * cosA; }
};

// The member's angle (taken modulo 360) and the centring of a w x h source
// (the zoomed size for the zoomed rotation) in the box.
Turn MakeTurn(const BoxArea& a, int angle, int64_t w, int64_t h);

// ---- What the walk asks of a member --------------------------------------------
// A member is a map type with
//   int64_t cx2, cy2, w, h;            the centring and the source size
//   int64_t X(int64_t q), Y(int64_t q) the source column (row) the quotient
//                                      q = t / 360 samples, or -1 where the
//                                      source test fails
//   uint16_t Colour(uint16_t v)        what an opaque source pixel becomes
//   const Recolouring* Colours()       the same for the AVX-512 kernels (null: unchanged)
//   void NextRow()                     steps maps that change per box row
//   kRowMaps                           they do (the tables are rebuilt per row)
//   kTiled                             every quotient samples (no -1)
//   kZoomTiles, ZoomX(), ZoomY()       X and Y are tiled zooms by these
//   kDirect                            X and Y are the plain rotation's
// (see RotateLayers.cpp).

// Where a member's source test fails, a table holds this: the sum of two
// table entries is negative exactly when either is.
constexpr int32_t kOff = -(1 << 30);

// One axis as a table over the quotients the walk reaches: the sampled
// column, or row times pitch, or kOff. fill(out, q0, count) writes the
// entries of quotients q0 .. q0 + count - 1. kTableFront entries before
// them and kTableBack after them are spare, so that the AVX-512 row kernel may
// load 32 entries starting up to 16 entries before any entry.
constexpr int kTableFront = 16, kTableBack = 32;
struct AxisTable {
    int64_t first = 0;              // quotient of entry 0
    int64_t lo = 0, hi = -1;        // the quotients that sample anything lie in lo..hi
    std::vector<int32_t> v;         // the spare entries, then the entries
    const int32_t* entries() const { return v.data() + kTableFront; }
    template <typename Fill>
    void Build(int64_t q0, int64_t q1, bool tiled, Fill&& fill) {
        first = q0;
        const int count = static_cast<int>(q1 - q0 + 1);
        v.resize(static_cast<size_t>(kTableFront + count + kTableBack));
        int32_t* e = v.data() + kTableFront;
        fill(e, q0, count);
        if (tiled) {  // every quotient samples
            lo = q0, hi = q1;
            return;
        }
        lo = INT64_MAX, hi = INT64_MIN;
        for (int i = 0; i < count; ++i)
            if (e[i] != kOff) lo = std::min(lo, q0 + i), hi = std::max(hi, q0 + i);
    }
};

// Table entries straight from a member's map.
template <typename Map>
void FillAxis(int32_t* out, int64_t q0, int count, int64_t scale, Map&& map) {
    for (int i = 0; i < count; ++i) {
        const int64_t r = map(q0 + i);
        out[i] = r < 0 ? kOff : static_cast<int32_t>(r * scale);
    }
}

// Entries of the tiled zooms, |trunc(n / zoom)| mod size times scale for
// n = n0 + i, in single precision through the reciprocal of the zoom. The
// product a is within 2^-23 |a| of the double quotient q, and the products
// a (1 - 2^-20) and a (1 + 2^-20) lie on either side of q; where both
// truncate alike, so does q. Entries where they differ (q all but whole) get
// kUnsure. The caller keeps |n| below 2^24 and |a| below 2^21 (so that the
// modulo by the same kind of product is exact too); spread = 0 for a
// power-of-two zoom, whose product is the quotient itself.
// Returns whether any entry is kUnsure. wrap false: the caller knows that
// every |a| is below size - 1, so the modulo is left out.
constexpr int32_t kUnsure = INT32_MIN;
bool ZoomTiles(int32_t* out, int count, int32_t n0, float inv, float spread, int32_t size, float invSize,
               int32_t scale, bool wrap);

// Few entries are unsure: the first block of kUnsureBlock entries from
// `from` on that holds one (count where none does), by a vectorised test.
constexpr int kUnsureBlock = 16;
int NextUnsureBlock(const int32_t* v, int from, int count);

// Whether |f| is a power of two (normal or subnormal; not 0, infinite or NaN).
inline bool PowerOfTwo(float f) {
    uint32_t b;
    std::memcpy(&b, &f, sizeof b);
    b &= 0x7FFFFFFF;
    const uint32_t exponent = b >> 23, mantissa = b & 0x7FFFFF;
    return mantissa == 0 ? exponent != 0 && exponent != 255 : exponent == 0 && (mantissa & (mantissa - 1)) == 0;
}

// The tiled zoom tables: ZoomTiles, and the member's own map for the entries
// it was unsure of (or for all of them where the zoom is 0, NaN or huge).
template <typename Map>
void FillZoomTiles(int32_t* out, int64_t q0, int count, int64_t centre, float zoom, int64_t size, int64_t scale,
                   Map&& map) {
    const double z = zoom, inv = 1.0 / z;
    const int64_t n0 = q0 - centre, n1 = n0 + count;
    const bool small = n0 > -(1 << 24) && n1 < (1 << 24) && std::fabs(static_cast<double>(n0) * inv) < 0x1p21 &&
                       std::fabs(static_cast<double>(n1) * inv) < 0x1p21;
    bool unsure = true;
    if (small && size < (1 << 30) && (size - 1) * scale < (1 << 30)) {
        const bool exact = PowerOfTwo(zoom);
        // |a| is largest at an end of the range (with a margin for its rounding).
        const double reach = std::max(std::fabs(static_cast<double>(n0) * inv), std::fabs(static_cast<double>(n1) * inv));
        unsure = ZoomTiles(out, count, static_cast<int32_t>(n0), static_cast<float>(inv), exact ? 0.0f : 0x1p-20f,
                           static_cast<int32_t>(size), static_cast<float>(1.0 / static_cast<double>(size)),
                           static_cast<int32_t>(scale), reach * 1.001 + 1.0 >= static_cast<double>(size));
    } else {
        std::fill(out, out + count, kUnsure);
    }
    if (!unsure) return;
    for (int b = NextUnsureBlock(out, 0, count); b < count; b = NextUnsureBlock(out, b + kUnsureBlock, count))
        for (int i = b; i < std::min(count, b + kUnsureBlock); ++i)
            if (out[i] == kUnsure) out[i] = static_cast<int32_t>(map(q0 + i) * scale);
}

// Narrows columns i0..i1-1 of a row starting at t0 and stepping by step to
// those whose quotient may lie in qlo..qhi (a superset: the source test
// still runs on each of them).
void LimitSpan(int64_t t0, int64_t step, int64_t qlo, int64_t qhi, int64_t* i0, int64_t* i1);

// Table indices of one box row, both in one word: quotients from the exact
// float division, less the tables' first quotients (the tables are shorter
// than 2^16 entries where this runs).
void RowIndices(uint32_t* out, int n, int32_t tx, int32_t ty, int32_t c, int32_t s, int32_t firstX, int32_t firstY);

// The source pixels at those indices, 0 where the source test fails.
// Branch-free: with about a fifth of the pixels transparent at random,
// branches would miss. Tiled members never fail the test.
template <bool Tiled>
void GatherRow(uint16_t* __restrict out, const uint32_t* __restrict indices, int n, const int32_t* __restrict tabX,
               const int32_t* __restrict tabY, const uint16_t* __restrict src) {
#pragma GCC unroll 4
    for (int i = 0; i < n; ++i) {
        const uint32_t k = indices[i];
        const int32_t o = tabX[k & 0xFFFF] + tabY[k >> 16];
        if (Tiled) {
            out[i] = src[o];
        } else {
            const int32_t none = o >> 31;
            out[i] = static_cast<uint16_t>(src[o & ~none] & ~none);
        }
    }
}

// The plain rotation needs no tables: source offsets straight from the
// quotients, -1 outside the source; then the pixels at them, 0 for -1.
void PlainOffsets(int32_t* out, int n, int32_t tx, int32_t ty, int32_t c, int32_t s, int32_t cx2, int32_t cy2,
                  int32_t w, int32_t h, int32_t pitch);
void GatherOffsets(uint16_t* out, const int32_t* offsets, int n, const uint16_t* src);

// The source read as aligned 32-bit words, so that the AVX-512 kernel can
// gather pixels sixteen at a time: pixel o (counted from src) is the low or
// the high half of word (o + parity) >> 1. Surfaces start every row on a
// 32-byte boundary and hold whole multiples of 32 bytes, so the word around
// any source pixel lies inside the surface.
typedef uint32_t __attribute__((__may_alias__)) SourceWord;
struct SourceWords {
    const SourceWord* words;
    int32_t parity;
    explicit SourceWords(const uint16_t* src)
        : words(reinterpret_cast<const SourceWord*>(reinterpret_cast<uintptr_t>(src) & ~uintptr_t{3})),
          parity(static_cast<int32_t>(reinterpret_cast<uintptr_t>(src) >> 1 & 1)) {}
};

// Whether the AVX-512 row kernels run: the processor has AVX-512 and tests
// have not turned them off (AllowAvx512Rows(false) makes every member take
// the kernels above, so that both can be checked on one machine).
bool Avx512Rows();
void AllowAvx512Rows(bool allow);

// A recolouring on the AVX-512 kernels: an opaque pixel becomes
// red[r] | green[g] | blue[b] of its five-bit components r, g, b (the fields
// at the given shifts; all 0 where a bit of unused is set).
struct Recolouring {
    const uint16_t *red, *green, *blue;  // 32 entries each
    int shiftR, shiftG, shiftB;
    uint16_t unused;
};

// One box row of every member, sixteen pixels at a time: the quotients, the
// source offsets through the axis tables, the pixels (0 where the source
// test fails). With opaqueOnly the opaque ones are stored into d (the
// member's store); without it all n go to d (for RecolourRowAvx512). The
// quotients of sixteen pixels lie within 16 of the first one's (above it
// for a step >= 0, below it otherwise), so each table is looked up in a
// 32-entry window held in registers.
void TableRowAvx512(uint16_t* d, int n, int32_t tx, int32_t ty, int32_t c, int32_t s, const int32_t* tabX,
                    int32_t firstX, const int32_t* tabY, int32_t firstY, SourceWords src, bool opaqueOnly);

// Where v[i] is not 0, d[i] becomes its recolouring.
void RecolourRowAvx512(uint16_t* d, const uint16_t* v, int n, const Recolouring& colours);

// d[i] = v[i] where v[i] is not 0.
void StoreRow(uint16_t* d, const uint16_t* v, int n);

// The straightforward walk, in 64 bits: for boxes whose positions do not fit
// the fast walk.
template <typename Member>
void WalkEachPixel(const BoxArea& a, const BoxPixels& p, const Turn& t, Member& m) {
    for (int64_t y = a.sy; y < a.ey; ++y, m.NextRow()) {
        uint16_t* d = p.row(y);
        for (int64_t x = a.sx; x < a.ex; ++x) {
            const int64_t rx = m.X(t.Tx(x, y) / 360), ry = m.Y(t.Ty(x, y) / 360);
            if (rx < 0 || ry < 0) continue;
            const uint16_t v = p.src[ry * p.srcPitch + rx];
            if (v != 0) d[x - a.sx] = m.Colour(v);
        }
    }
}

// Every visible box pixel (x, y) shows the member's source pixel at
// (X(tx / 360), Y(ty / 360)) where that is opaque. Per row: the columns
// where the source test can pass, their offsets through the axis tables,
// the pixels, the stores (with AVX-512 the member's own or its
// Colours(); on the portable one through store).
template <typename Member, typename Store>
void WalkBox(const BoxArea& a, const BoxPixels& p, const Turn& t, Member& m, Store&& store) {
    // The extremes of a linear walk lie at the corners.
    int64_t txMin = INT64_MAX, txMax = INT64_MIN, tyMin = INT64_MAX, tyMax = INT64_MIN;
    for (int64_t x : {a.sx, a.ex - 1})
        for (int64_t y : {a.sy, a.ey - 1}) {
            txMin = std::min(txMin, t.Tx(x, y)), txMax = std::max(txMax, t.Tx(x, y));
            tyMin = std::min(tyMin, t.Ty(x, y)), tyMax = std::max(tyMax, t.Ty(x, y));
        }
    const bool fits = txMin >= -kExactTurn && txMax <= kExactTurn && tyMin >= -kExactTurn &&
                      tyMax <= kExactTurn && (a.h - 1) * p.srcPitch + (a.w - 1) < (int64_t{1} << 30);
    if (!fits) {
        WalkEachPixel(a, p, t, m);
        return;
    }
    const int64_t n = a.ex - a.sx;
    static std::vector<uint32_t> indices;
    static std::vector<uint16_t> pixels;
    indices.resize(static_cast<size_t>(n));
    pixels.resize(static_cast<size_t>(n));
    const bool avx512 = Avx512Rows();
    const SourceWords words(p.src);
    static AxisTable tabX, tabY;
    auto fill = [&m](bool x, int64_t scale) {
        return [&m, x, scale](int32_t* out, int64_t q0, int count) {
            auto map = [&m, x](int64_t q) { return x ? m.X(q) : m.Y(q); };
            if constexpr (Member::kZoomTiles)
                FillZoomTiles(out, q0, count, x ? m.cx2 : m.cy2, x ? m.ZoomX() : m.ZoomY(), x ? m.w : m.h, scale, map);
            else
                FillAxis(out, q0, count, scale, map);
        };
    };
    auto build = [&](int64_t txLo, int64_t txHi, int64_t tyLo, int64_t tyHi) {
        // Positions here lie within the exact range of Div360.
        auto q = [](int64_t t) { return Div360(static_cast<int32_t>(t)); };
        tabX.Build(q(txLo), q(txHi), Member::kTiled, fill(true, 1));
        tabY.Build(q(tyLo), q(tyHi), Member::kTiled, fill(false, p.srcPitch));
    };
    if (!Member::kRowMaps) build(txMin, txMax, tyMin, tyMax);
    for (int64_t y = a.sy; y < a.ey; ++y, m.NextRow()) {
        const int64_t tx = t.Tx(a.sx, y), ty = t.Ty(a.sx, y);
        int64_t i0 = 0, i1 = n;
        if (Member::kRowMaps) {
            const int64_t txEnd = tx + (n - 1) * t.cosA, tyEnd = ty + (n - 1) * t.sinA;
            build(std::min(tx, txEnd), std::max(tx, txEnd), std::min(ty, tyEnd), std::max(ty, tyEnd));
        }
        if (!Member::kTiled) {  // tiled tables cover every quotient of the row
            LimitSpan(tx, t.cosA, tabX.lo, tabX.hi, &i0, &i1);
            LimitSpan(ty, t.sinA, tabY.lo, tabY.hi, &i0, &i1);
        }
        const int k = static_cast<int>(i1 - i0);
        if (k <= 0) continue;
        const int32_t tx0 = static_cast<int32_t>(tx + i0 * t.cosA), ty0 = static_cast<int32_t>(ty + i0 * t.sinA);
        const int32_t c = static_cast<int32_t>(t.cosA), s = static_cast<int32_t>(t.sinA);
        if (avx512) {
            const Recolouring* colours = m.Colours();
            uint16_t* d = p.row(y) + i0;
            TableRowAvx512(colours ? pixels.data() : d, k, tx0, ty0, c, s, tabX.entries(),
                         static_cast<int32_t>(tabX.first), tabY.entries(), static_cast<int32_t>(tabY.first), words,
                         colours == nullptr);
            if (colours) RecolourRowAvx512(d, pixels.data(), k, *colours);
            continue;
        }
        if constexpr (Member::kDirect) {
            int32_t* offsets = reinterpret_cast<int32_t*>(indices.data());
            PlainOffsets(offsets, k, tx0, ty0, c, s, static_cast<int32_t>(m.cx2), static_cast<int32_t>(m.cy2),
                         static_cast<int32_t>(m.w), static_cast<int32_t>(m.h), static_cast<int32_t>(p.srcPitch));
            GatherOffsets(pixels.data(), offsets, k, p.src);
        } else {
            RowIndices(indices.data(), k, tx0, ty0, c, s, static_cast<int32_t>(tabX.first),
                       static_cast<int32_t>(tabY.first));
            GatherRow<Member::kTiled>(pixels.data(), indices.data(), k, tabX.entries(), tabY.entries(), p.src);
        }
        store(p.row(y) + i0, pixels.data(), k);
    }
}

template <typename Member>
void WalkBox(const BoxArea& a, const BoxPixels& p, const Turn& t, Member& m) {
    WalkBox(a, p, t, m, StoreRow);
}

}  // namespace kafx
