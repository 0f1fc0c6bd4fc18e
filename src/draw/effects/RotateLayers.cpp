// The rotation family: a sprite turned by whole degrees about the centre of a
// destination box, optionally zoomed, mirror-tiled over the box, or (the
// mystery layer) zoomed row by row and recoloured. Each member is a pair of
// per-axis maps from the walk's quotients to source columns and rows, walked
// by TurnWalk.h over the visible box pixels only.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "draw/effects/EffectPixels.h"
#include "draw/effects/LayerFrame.h"
#include "draw/effects/TurnWalk.h"

namespace {

using kafx::BoxArea;
using kafx::BoxPixels;
using kafx::Turn;

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
// source pixel becomes. The walk uses nothing else (TurnWalk.h).

// Shared by the members: the centring and the source size.
struct Axes {
    int64_t cx2, cy2, w, h;
    static constexpr bool kRowMaps = false;    // the maps change from row to row (NextRow() steps them)
    static constexpr bool kTiled = false;      // every quotient samples
    static constexpr bool kZoomTiles = false;  // tiled zooms: ZoomX() and ZoomY() give the zooms
    static constexpr bool kDirect = false;     // the plain rotation's maps
    void NextRow() {}
    uint16_t Colour(uint16_t v) const { return v; }
    const kafx::Recolouring* Colours() const { return nullptr; }
};

struct PlainMap : Axes {
    static constexpr bool kDirect = true;
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

}  // namespace

int kaDraw::RotateLayer(int Px1, int Py1, int Px2, int Py2, int Angle, int ObjDD, int X1, int Y1, int X2, int Y2) {
    return kafx::RunBox({Px1, Py1, Px2, Py2, ObjDD, X1, Y1, X2, Y2}, [&](const BoxArea& a, const BoxPixels& p) {
        const Turn t = kafx::MakeTurn(a, Angle, a.w, a.h);
        PlainMap m{{t.cx2, t.cy2, a.w, a.h}};
        kafx::WalkBox(a, p, t, m);
    });
}

int kaDraw::TileRotateLayer(int Px1, int Py1, int Px2, int Py2, int Angle, int ObjDD, int X1, int Y1, int X2, int Y2) {
    if (int64_t{X2} - X1 <= 0 || int64_t{Y2} - Y1 <= 0) return kafx::kRefused;  // nothing to tile with
    return kafx::RunBox({Px1, Py1, Px2, Py2, ObjDD, X1, Y1, X2, Y2}, [&](const BoxArea& a, const BoxPixels& p) {
        const Turn t = kafx::MakeTurn(a, Angle, a.w, a.h);
        TiledMap m({t.cx2, t.cy2, a.w, a.h});
        kafx::WalkBox(a, p, t, m);
    });
}

int kaDraw::ZoomRotateLayer(int Px1, int Py1, int Px2, int Py2, int Angle, float Zoom, int ObjDD, int X1, int Y1,
                            int X2, int Y2) {
    return kafx::RunBox({Px1, Py1, Px2, Py2, ObjDD, X1, Y1, X2, Y2}, [&](const BoxArea& a, const BoxPixels& p) {
        // The zoomed source is centred in the box.
        const int64_t w2 = kafx::SaturatingInt(static_cast<double>(a.w) * static_cast<double>(Zoom));
        const int64_t h2 = kafx::SaturatingInt(static_cast<double>(a.h) * static_cast<double>(Zoom));
        const Turn t = kafx::MakeTurn(a, Angle, w2, h2);
        ZoomMap m{{t.cx2, t.cy2, a.w, a.h}, Zoom};
        kafx::WalkBox(a, p, t, m);
    });
}

int kaDraw::TileZoomRotateLayer(int Px1, int Py1, int Px2, int Py2, int Angle, float Zoom, int ObjDD, int X1, int Y1,
                                int X2, int Y2) {
    if (int64_t{X2} - X1 <= 0 || int64_t{Y2} - Y1 <= 0) return kafx::kRefused;
    return kafx::RunBox({Px1, Py1, Px2, Py2, ObjDD, X1, Y1, X2, Y2}, [&](const BoxArea& a, const BoxPixels& p) {
        const Turn t = kafx::MakeTurn(a, Angle, a.w, a.h);
        TiledZoomMap m({t.cx2, t.cy2, a.w, a.h}, Zoom);
        kafx::WalkBox(a, p, t, m);
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
    kafx::Recolouring colours;
    MysteryMap(const Axes& a, const RowZooms& z, float r, float g, float b) : TiledMap(a), zooms(z) {
        for (int k = 0; k < 32; ++k) {
            red[k] = kafx::Pack5Clamped(kafx::Scaled(k, r), 0, 0);
            green[k] = kafx::Pack5Clamped(0, kafx::Scaled(k, g), 0);
            blue[k] = kafx::Pack5Clamped(0, 0, kafx::Scaled(k, b));
        }
        const kafx::Format f = kafx::CurrentFormat();
        colours = {red, green, blue, f.shiftR2, f.shiftG2, f.shiftB2, f.unused};
    }
    MysteryMap(const MysteryMap&) = delete;  // colours points into it
    const kafx::Recolouring* Colours() const { return &colours; }
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
        const Turn t = kafx::MakeTurn(a, Angle, a.w, a.h);
        RowZooms zooms{ZoomStartX, ZoomStartY, ZoomAddX, ZoomAddY};
        zooms.Skip(a.sy);
        MysteryMap m({t.cx2, t.cy2, a.w, a.h}, zooms, Red, Green, Blue);
        Factor r, g, b;
        const kafx::Format f = kafx::CurrentFormat();
        if (ExactFactor(Red, &r) && ExactFactor(Green, &g) && ExactFactor(Blue, &b)) {
            kafx::WalkBox(a, p, t, m, [&](uint16_t* d, const uint16_t* v, int n) { RecolourRow(d, v, n, f, r, g, b); });
            return;
        }
        kafx::WalkBox(a, p, t, m, [&m](uint16_t* d, const uint16_t* v, int n) {
            for (int i = 0; i < n; ++i) {
                const uint16_t keep = static_cast<uint16_t>(-(v[i] == 0));
                d[i] = static_cast<uint16_t>((m.Colour(v[i]) & ~keep) | (d[i] & keep));
            }
        });
    });
}
