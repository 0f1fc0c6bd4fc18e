// The rotation family: a sprite turned by whole degrees about the centre of a
// destination box, optionally zoomed, mirror-tiled over the box, or (the
// mystery layer) zoomed row by row and recoloured. Positions are kept in
// 1/360 pixel and advanced by additions; only visible box pixels are walked,
// each computed directly from its row and column.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <type_traits>
#include <vector>

#include "draw/effects/EffectPixels.h"
#include "draw/effects/LayerFrame.h"
#include "draw/effects/TurnSteps.h"

namespace {

using kafx::BoxArea;
using kafx::BoxPixels;

// The walk's constants. Box pixel (x, y) samples at tx, ty (1/360 pixel):
// tx = tx1 + x cos - y sin, ty = ty1 + x sin + y cos.
struct Turn {
    int64_t cosA, sinA, cx2, cy2, tx1, ty1;
    int64_t Tx(int64_t x, int64_t y) const { return tx1 + x * cosA - y * sinA; }
    int64_t Ty(int64_t x, int64_t y) const { return ty1 + x * sinA + y * cosA; }
};

Turn MakeTurn(const BoxArea& a, int angle, int64_t w, int64_t h) {
    Turn t;
    const int degrees = static_cast<int>(kafx::PositiveMod(angle, 360));
    t.sinA = kaDraw::RotateData[degrees];
    t.cosA = kaDraw::RotateData[degrees + 90];
    const int64_t cx1 = a.bw >> 1, cy1 = a.bh >> 1;
    t.cx2 = (a.bw - w) >> 1;
    t.cy2 = (a.bh - h) >> 1;
    t.tx1 = 360 * cx1 - cx1 * t.cosA + cy1 * t.sinA;
    t.ty1 = 360 * cy1 - cx1 * t.sinA - cy1 * t.cosA;
    return t;
}

// v mod d for 32-bit v by two multiplications instead of a division (exact
// for every 32-bit v and divisor).
struct FastMod {
    uint64_t m;
    uint32_t d;
    explicit FastMod(uint32_t divisor) : m(UINT64_MAX / divisor + 1), d(divisor) {}
    uint32_t operator()(uint32_t v) const {
        const uint64_t low = m * v;
        return static_cast<uint32_t>((static_cast<unsigned __int128>(low) * d) >> 64);
    }
};

// Tiled coordinate: mirrored at 0 (abs), then wrapped. The sizes are those of
// a sprite, so they fit 32 bits; offsets past 32 bits take the division.
inline int64_t Tile(int64_t v, const FastMod& size) {
    const uint64_t a = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
    return a <= UINT32_MAX ? size(static_cast<uint32_t>(a)) : static_cast<int64_t>(a % size.d);
}

// A zoomed offset: the float rule with a saturating conversion, so that a
// zoom of 0 or NaN gives an extreme (or zero) position instead of a fault.
inline int64_t Zoomed(int64_t v, float zoom) {
    return kafx::SaturatingInt(static_cast<double>(v) / static_cast<double>(zoom));
}

// ---- The members as maps ------------------------------------------------------
// Each member says, per axis, which source column (row) the quotient
// q = t / 360 samples, or -1 where its source test fails; and what an opaque
// source pixel becomes. The walk below uses nothing else.

// Shared by the members: the centring and the source size.
struct Axes {
    int64_t cx2, cy2, w, h;
    static constexpr bool kRowMaps = false;   // the maps change from row to row (NextRow() steps them)
    static constexpr bool kTiled = false;     // every quotient samples
    static constexpr bool kZoomTiles = false;  // tiled zooms: ZoomX() and ZoomY() give the zooms
    void NextRow() {}                         // the straightforward walk goes down row by row
    uint16_t Colour(uint16_t v) const { return v; }
};

struct PlainMap : Axes {
    int64_t X(int64_t q) const { return Inside(q - cx2, w); }
    int64_t Y(int64_t q) const { return Inside(q - cy2, h); }
    static int64_t Inside(int64_t r, int64_t size) { return r >= 0 && r < size ? r : -1; }
};

struct TiledMap : Axes {
    FastMod mw, mh;
    static constexpr bool kTiled = true;
    explicit TiledMap(const Axes& a) : Axes(a), mw(static_cast<uint32_t>(a.w)), mh(static_cast<uint32_t>(a.h)) {}
    int64_t X(int64_t q) const { return Tile(q - cx2, mw); }
    int64_t Y(int64_t q) const { return Tile(q - cy2, mh); }
};

struct ZoomMap : Axes {
    float zoom;
    int64_t X(int64_t q) const { return PlainMap::Inside(Zoomed(q - cx2, zoom), w); }
    int64_t Y(int64_t q) const { return PlainMap::Inside(Zoomed(q - cy2, zoom), h); }
};

struct TiledZoomMap : TiledMap {
    float zoom;
    static constexpr bool kZoomTiles = true;
    TiledZoomMap(const Axes& a, float z) : TiledMap(a), zoom(z) {}
    float ZoomX() const { return zoom; }
    float ZoomY() const { return zoom; }
    int64_t X(int64_t q) const { return Tile(Zoomed(q - cx2, zoom), mw); }
    int64_t Y(int64_t q) const { return Tile(Zoomed(q - cy2, zoom), mh); }
};

// ---- The walk -------------------------------------------------------------------

// Where a member's source test fails, a table holds this: the sum of two
// table entries is negative exactly when either is.
constexpr int32_t kOff = -(1 << 30);

// One axis as a table over the quotients the walk reaches: the sampled
// column, or row times pitch, or kOff. fill(out, q0, count) writes the
// entries of quotients q0 .. q0 + count - 1.
struct AxisTable {
    int64_t first = 0;              // quotient of entry 0
    int64_t lo = 0, hi = -1;        // the quotients that sample anything lie in lo..hi
    std::vector<int32_t> v;
    template <typename Fill>
    void Build(int64_t q0, int64_t q1, bool tiled, Fill&& fill) {
        first = q0;
        const int count = static_cast<int>(q1 - q0 + 1);
        v.resize(static_cast<size_t>(count));
        fill(v.data(), q0, count);
        if (tiled) {  // every quotient samples
            lo = q0, hi = q1;
            return;
        }
        lo = INT64_MAX, hi = INT64_MIN;
        for (int i = 0; i < count; ++i)
            if (v[static_cast<size_t>(i)] != kOff) lo = std::min(lo, q0 + i), hi = std::max(hi, q0 + i);
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
constexpr int32_t kUnsure = INT32_MIN;
// Returns whether any entry is kUnsure.
KA_FX_KERNEL bool ZoomTiles(int32_t* __restrict out, int count, int32_t n0, float inv, float spread, int32_t size,
                            float invSize, int32_t scale) {
    const float below = 1.0f - spread, above = 1.0f + spread;
    int32_t unsure = 0;
    for (int i = 0; i < count; ++i) {
        const float a = static_cast<float>(n0 + i) * inv;
        const int32_t lo = static_cast<int32_t>(a * below), hi = static_cast<int32_t>(a * above);
        const int32_t r = std::abs(static_cast<int32_t>(a));
        const int32_t m = r - size * static_cast<int32_t>((static_cast<float>(r) + 0.5f) * invSize);
        const int32_t sure = -static_cast<int32_t>(lo == hi);  // all ones or none, to select without a branch
        out[i] = (m * scale & sure) | (kUnsure & ~sure);
        unsure |= ~sure;
    }
    return unsure != 0;
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
    int exponent = 0;
    bool unsure = true;
    if (small && size < (1 << 30) && (size - 1) * scale < (1 << 30)) {
        const bool exact = std::frexp(std::fabs(z), &exponent) == 0.5;
        unsure = ZoomTiles(out, count, static_cast<int32_t>(n0), static_cast<float>(inv), exact ? 0.0f : 0x1p-20f,
                  static_cast<int32_t>(size), static_cast<float>(1.0 / static_cast<double>(size)),
                  static_cast<int32_t>(scale));
    } else {
        std::fill(out, out + count, kUnsure);
    }
    if (unsure)
        for (int i = 0; i < count; ++i)
            if (out[i] == kUnsure) out[i] = static_cast<int32_t>(map(q0 + i) * scale);
}

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
int64_t CeilDiv(int64_t a, int64_t b) { return a / b + ((a % b != 0) && ((a < 0) == (b < 0))); }

// Narrows columns i0..i1-1 of a row starting at t0 and stepping by step to
// those whose quotient may lie in qlo..qhi (a superset: the source test
// still runs on each of them).
void LimitSpan(int64_t t0, int64_t step, int64_t qlo, int64_t qhi, int64_t* i0, int64_t* i1) {
    if (qlo > qhi) {
        *i1 = *i0;
        return;
    }
    // trunc(t / 360) in qlo..qhi needs t in this range.
    const int64_t lo = 360 * qlo - 359 - t0, hi = 360 * qhi + 359 - t0;
    if (step == 0) {
        if (lo > 0 || hi < 0) *i1 = *i0;
        return;
    }
    const int64_t a = step > 0 ? CeilDiv(lo, step) : CeilDiv(hi, step);
    const int64_t b = step > 0 ? FloorDiv(hi, step) : FloorDiv(lo, step);
    *i0 = std::max(*i0, a);
    *i1 = std::max(*i0, std::min(*i1, b + 1));
}

// Table indices of one box row, both in one word: quotients from the exact
// float division, less the tables' first quotients (the tables are shorter
// than 2^16 entries where this runs).
KA_FX_KERNEL void RowIndices(uint32_t* __restrict out, int n, int32_t tx, int32_t ty, int32_t c, int32_t s,
                             int32_t firstX, int32_t firstY) {
    for (int i = 0; i < n; ++i) {
        const int32_t qx = kafx::Div360(tx + i * c) - firstX, qy = kafx::Div360(ty + i * s) - firstY;
        out[i] = static_cast<uint32_t>(qx) | static_cast<uint32_t>(qy) << 16;
    }
}

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
// quotients, -1 outside the source.
KA_FX_KERNEL void PlainOffsets(int32_t* __restrict out, int n, int32_t tx, int32_t ty, int32_t c, int32_t s,
                               int32_t cx2, int32_t cy2, int32_t w, int32_t h, int32_t pitch) {
    for (int i = 0; i < n; ++i) {
        const int32_t rx = kafx::Div360(tx + i * c) - cx2, ry = kafx::Div360(ty + i * s) - cy2;
        const bool inside = static_cast<uint32_t>(rx) < static_cast<uint32_t>(w) &&
                            static_cast<uint32_t>(ry) < static_cast<uint32_t>(h);
        out[i] = inside ? ry * pitch + rx : -1;
    }
}

void GatherOffsets(uint16_t* __restrict out, const int32_t* __restrict offsets, int n, const uint16_t* __restrict src) {
    for (int i = 0; i < n; ++i) {
        const int32_t o = offsets[i];
        const int32_t none = o >> 31;
        out[i] = static_cast<uint16_t>(src[o & ~none] & ~none);
    }
}

KA_FX_KERNEL void StoreRow(uint16_t* __restrict d, const uint16_t* __restrict v, int n) {
    for (int i = 0; i < n; ++i) d[i] = v[i] != 0 ? v[i] : d[i];
}

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
// the pixels, the stores.
template <typename Member, typename Store>
void WalkBox(const BoxArea& a, const BoxPixels& p, const Turn& t, Member& m, Store&& store) {
    // The extremes of a linear walk lie at the corners.
    int64_t txMin = INT64_MAX, txMax = INT64_MIN, tyMin = INT64_MAX, tyMax = INT64_MIN;
    for (int64_t x : {a.sx, a.ex - 1})
        for (int64_t y : {a.sy, a.ey - 1}) {
            txMin = std::min(txMin, t.Tx(x, y)), txMax = std::max(txMax, t.Tx(x, y));
            tyMin = std::min(tyMin, t.Ty(x, y)), tyMax = std::max(tyMax, t.Ty(x, y));
        }
    const bool fits = txMin >= -kafx::kExactTurn && txMax <= kafx::kExactTurn && tyMin >= -kafx::kExactTurn &&
                      tyMax <= kafx::kExactTurn && (a.h - 1) * p.srcPitch + (a.w - 1) < (int64_t{1} << 30);
    if (!fits) {
        WalkEachPixel(a, p, t, m);
        return;
    }
    const int64_t n = a.ex - a.sx;
    static std::vector<uint32_t> indices;
    static std::vector<uint16_t> pixels;
    indices.resize(static_cast<size_t>(n));
    pixels.resize(static_cast<size_t>(n));
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
        tabX.Build(txLo / 360, txHi / 360, Member::kTiled, fill(true, 1));
        tabY.Build(tyLo / 360, tyHi / 360, Member::kTiled, fill(false, p.srcPitch));
    };
    if (!Member::kRowMaps) build(txMin, txMax, tyMin, tyMax);
    for (int64_t y = a.sy; y < a.ey; ++y, m.NextRow()) {
        const int64_t tx = t.Tx(a.sx, y), ty = t.Ty(a.sx, y);
        int64_t i0 = 0, i1 = n;
        if (Member::kRowMaps) {
            const int64_t txEnd = tx + (n - 1) * t.cosA, tyEnd = ty + (n - 1) * t.sinA;
            build(std::min(tx, txEnd), std::max(tx, txEnd), std::min(ty, tyEnd), std::max(ty, tyEnd));
        }
        LimitSpan(tx, t.cosA, tabX.lo, tabX.hi, &i0, &i1);
        LimitSpan(ty, t.sinA, tabY.lo, tabY.hi, &i0, &i1);
        const int k = static_cast<int>(i1 - i0);
        if (k <= 0) continue;
        const int32_t tx0 = static_cast<int32_t>(tx + i0 * t.cosA), ty0 = static_cast<int32_t>(ty + i0 * t.sinA);
        const int32_t c = static_cast<int32_t>(t.cosA), s = static_cast<int32_t>(t.sinA);
        if constexpr (std::is_same_v<Member, PlainMap>) {
            int32_t* offsets = reinterpret_cast<int32_t*>(indices.data());
            PlainOffsets(offsets, k, tx0, ty0, c, s, static_cast<int32_t>(m.cx2), static_cast<int32_t>(m.cy2),
                         static_cast<int32_t>(m.w), static_cast<int32_t>(m.h), static_cast<int32_t>(p.srcPitch));
            GatherOffsets(pixels.data(), offsets, k, p.src);
        } else {
            RowIndices(indices.data(), k, tx0, ty0, c, s, static_cast<int32_t>(tabX.first),
                       static_cast<int32_t>(tabY.first));
            GatherRow<Member::kTiled>(pixels.data(), indices.data(), k, tabX.v.data(), tabY.v.data(), p.src);
        }
        store(p.row(y) + i0, pixels.data(), k);
    }
}

template <typename Member>
void WalkBox(const BoxArea& a, const BoxPixels& p, const Turn& t, Member& m) {
    WalkBox(a, p, t, m, StoreRow);
}

}  // namespace

int kaDraw::RotateLayer(int Px1, int Py1, int Px2, int Py2, int Angle, int ObjDD, int X1, int Y1, int X2, int Y2) {
    return kafx::RunBox({Px1, Py1, Px2, Py2, ObjDD, X1, Y1, X2, Y2}, [&](const BoxArea& a, const BoxPixels& p) {
        const Turn t = MakeTurn(a, Angle, a.w, a.h);
        PlainMap m{{t.cx2, t.cy2, a.w, a.h}};
        WalkBox(a, p, t, m);
    });
}

int kaDraw::TileRotateLayer(int Px1, int Py1, int Px2, int Py2, int Angle, int ObjDD, int X1, int Y1, int X2, int Y2) {
    if (int64_t{X2} - X1 <= 0 || int64_t{Y2} - Y1 <= 0) return kafx::kRefused;  // nothing to tile with
    return kafx::RunBox({Px1, Py1, Px2, Py2, ObjDD, X1, Y1, X2, Y2}, [&](const BoxArea& a, const BoxPixels& p) {
        const Turn t = MakeTurn(a, Angle, a.w, a.h);
        TiledMap m({t.cx2, t.cy2, a.w, a.h});
        WalkBox(a, p, t, m);
    });
}

int kaDraw::ZoomRotateLayer(int Px1, int Py1, int Px2, int Py2, int Angle, float Zoom, int ObjDD, int X1, int Y1,
                            int X2, int Y2) {
    return kafx::RunBox({Px1, Py1, Px2, Py2, ObjDD, X1, Y1, X2, Y2}, [&](const BoxArea& a, const BoxPixels& p) {
        // The zoomed source is centred in the box.
        const int64_t w2 = kafx::SaturatingInt(static_cast<double>(a.w) * static_cast<double>(Zoom));
        const int64_t h2 = kafx::SaturatingInt(static_cast<double>(a.h) * static_cast<double>(Zoom));
        const Turn t = MakeTurn(a, Angle, w2, h2);
        ZoomMap m{{t.cx2, t.cy2, a.w, a.h}, Zoom};
        WalkBox(a, p, t, m);
    });
}

int kaDraw::TileZoomRotateLayer(int Px1, int Py1, int Px2, int Py2, int Angle, float Zoom, int ObjDD, int X1, int Y1,
                                int X2, int Y2) {
    if (int64_t{X2} - X1 <= 0 || int64_t{Y2} - Y1 <= 0) return kafx::kRefused;
    return kafx::RunBox({Px1, Py1, Px2, Py2, ObjDD, X1, Y1, X2, Y2}, [&](const BoxArea& a, const BoxPixels& p) {
        const Turn t = MakeTurn(a, Angle, a.w, a.h);
        TiledZoomMap m({t.cx2, t.cy2, a.w, a.h}, Zoom);
        WalkBox(a, p, t, m);
    });
}

namespace {

// The mystery layer's zooms, stepped once per box row in single precision.
// Rows above the visible ones still step; once a step no longer changes
// either zoom (it has reached a fixed point, infinity or NaN) the rest are
// skipped, which keeps the time bounded and the result the same.
struct RowZooms {
    float x, y;
    float addX, addY;
    void Step() {
        x = x + addX;
        y = y + addY;
    }
    void Skip(int64_t rows) {
        for (int64_t i = 0; i < rows; ++i) {
            const float oldX = x, oldY = y;
            Step();
            if (Same(oldX, x) && Same(oldY, y)) return;
        }
    }
    static bool Same(float a, float b) { return a == b || (a != a && b != b); }
};

// Tiled with the row's zooms, recoloured: each five-bit component scaled by
// its factor, through tables of the 32 results already in place.
struct MysteryMap : TiledMap {
    static constexpr bool kRowMaps = true, kZoomTiles = true;
    float ZoomX() const { return zooms.x; }
    float ZoomY() const { return zooms.y; }
    RowZooms zooms;
    uint16_t red[32], green[32], blue[32];
    MysteryMap(const Axes& a, const RowZooms& z, float r, float g, float b) : TiledMap(a), zooms(z) {
        for (int k = 0; k < 32; ++k) {
            red[k] = kafx::Pack5Clamped(kafx::Scaled(k, r), 0, 0);
            green[k] = kafx::Pack5Clamped(0, kafx::Scaled(k, g), 0);
            blue[k] = kafx::Pack5Clamped(0, 0, kafx::Scaled(k, b));
        }
    }
    void NextRow() { zooms.Step(); }
    int64_t X(int64_t q) const { return Tile(Zoomed(q - cx2, zooms.x), mw); }
    int64_t Y(int64_t q) const { return Tile(Zoomed(q - cy2, zooms.y), mh); }
    uint16_t Colour(uint16_t v) const {
        const _getrgb& c = GetRGB[v];
        return static_cast<uint16_t>(red[c.r] | green[c.g] | blue[c.b]);
    }
};

// The recolouring by integer products: a factor f in 0..1 is m * 2^-s with
// a 24-bit m, so trunc(c * f), the double product of a five-bit c being
// exact, is (c * m) >> s (s held to 31: c * m < 2^29). Factors outside 0..1
// (or NaN) keep the tables.
struct Factor {
    uint32_t m = 0, s = 0;
};
bool ExactFactor(float f, Factor* out) {
    if (!(f >= 0.0f && f <= 1.0f)) return false;
    if (f == 0.0f) return *out = Factor{}, true;
    int e = 0;
    const double mantissa = std::frexp(static_cast<double>(f), &e);
    out->m = static_cast<uint32_t>(std::ldexp(mantissa, 24));
    out->s = static_cast<uint32_t>(std::min(24 - e, 31));
    return true;
}

KA_FX_KERNEL void RecolourRow(uint16_t* __restrict d, const uint16_t* __restrict v, int n, const kafx::Format& f,
                              Factor r, Factor g, Factor b) {
    kafx::ForFormat(f, [&](auto fmt) __attribute__((always_inline)) {
        for (int i = 0; i < n; ++i) {
            const kafx::Five c = kafx::Split5(fmt, v[i]);
            const uint16_t out = kafx::Pack5(fmt, static_cast<uint16_t>((c.r * r.m) >> r.s),
                                             static_cast<uint16_t>((c.g * g.m) >> g.s),
                                             static_cast<uint16_t>((c.b * b.m) >> b.s));
            d[i] = v[i] != 0 ? out : d[i];
        }
    });
}

}  // namespace

int kaDraw::MysteryLayer(int Px1, int Py1, int Px2, int Py2, int Angle, float ZoomStartX, float ZoomAddX,
                         float ZoomStartY, float ZoomAddY, float Red, float Green, float Blue, int ObjDD, int X1,
                         int Y1, int X2, int Y2) {
    if (int64_t{X2} - X1 <= 0 || int64_t{Y2} - Y1 <= 0) return kafx::kRefused;
    return kafx::RunBox({Px1, Py1, Px2, Py2, ObjDD, X1, Y1, X2, Y2}, [&](const BoxArea& a, const BoxPixels& p) {
        const Turn t = MakeTurn(a, Angle, a.w, a.h);
        RowZooms zooms{ZoomStartX, ZoomStartY, ZoomAddX, ZoomAddY};
        zooms.Skip(a.sy);
        MysteryMap m({t.cx2, t.cy2, a.w, a.h}, zooms, Red, Green, Blue);
        Factor r, g, b;
        const kafx::Format f = kafx::CurrentFormat();
        if (ExactFactor(Red, &r) && ExactFactor(Green, &g) && ExactFactor(Blue, &b)) {
            WalkBox(a, p, t, m, [&](uint16_t* d, const uint16_t* v, int n) { RecolourRow(d, v, n, f, r, g, b); });
            return;
        }
        WalkBox(a, p, t, m, [&m](uint16_t* d, const uint16_t* v, int n) {
            for (int i = 0; i < n; ++i) {
                const uint16_t keep = static_cast<uint16_t>(-(v[i] == 0));
                d[i] = static_cast<uint16_t>((m.Colour(v[i]) & ~keep) | (d[i] & keep));
            }
        });
    });
}
