// The rotation family: a sprite turned by whole degrees about the centre of a
// destination box, optionally zoomed, mirror-tiled over the box, or (the
// mystery layer) zoomed row by row and recoloured. Positions are kept in
// 1/360 pixel and advanced by additions; only visible box pixels are walked,
// each computed directly from its row and column.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <type_traits>
#include <vector>

#include "draw/effects/EffectPixels.h"
#include "draw/effects/LayerFrame.h"

namespace {

using kafx::BoxArea;
using kafx::BoxPixels;

// The walk's constants. Box pixel (x, y) samples at tx, ty (1/360 pixel):
// tx = tx1 + x cos - y sin, ty = ty1 + x sin + y cos.
struct Turn {
    int64_t cosA, sinA, cx2, cy2, tx1, ty1;
    bool fits32;  // every tx, ty of the visible pixels fits 32 bits
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
    const int64_t far = 360 * (std::max(std::llabs(a.sy), std::llabs(a.ey)) + std::max(std::llabs(a.sx), std::llabs(a.ex)) + 1);
    const int64_t limit = int64_t{1} << 30;
    t.fits32 = std::llabs(t.tx1) < limit - far && std::llabs(t.ty1) < limit - far && std::llabs(t.cx2) < limit &&
               std::llabs(t.cy2) < limit && far < limit;
    return t;
}

// Calls row(d, n, tx, ty, y) for every visible box row with the position of
// its first visible pixel, in int32 where everything fits (the divisions by
// 360 are then much cheaper), else in int64.
template <typename Row>
void WalkBox(const BoxArea& a, const BoxPixels& p, const Turn& t, Row&& row) {
    const int n = static_cast<int>(a.ex - a.sx);
    for (int64_t y = a.sy; y < a.ey; ++y) {
        const int64_t tx = t.tx1 - y * t.sinA + a.sx * t.cosA;
        const int64_t ty = t.ty1 + y * t.cosA + a.sx * t.sinA;
        if (t.fits32)
            row(p.row(y), n, static_cast<int32_t>(tx), static_cast<int32_t>(ty), y);
        else
            row(p.row(y), n, tx, ty, y);
    }
}

// Source pixel at (rx, ry) of the W x H source.
inline uint16_t At(const BoxPixels& p, int64_t rx, int64_t ry) { return p.src[ry * p.srcPitch + rx]; }

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
    const uint64_t a = static_cast<uint64_t>(v < 0 ? -v : v);
    return a <= UINT32_MAX ? size(static_cast<uint32_t>(a)) : static_cast<int64_t>(a % size.d);
}

// A zoomed offset: the float rule with a saturating conversion, so that a
// zoom of 0 or NaN gives an extreme (or zero) position instead of a fault.
inline int64_t Zoomed(int64_t v, float zoom) {
    return kafx::SaturatingInt(static_cast<double>(v) / static_cast<double>(zoom));
}

// One box row of the plain rotation in two passes: the source offsets of all
// pixels (-1 outside the source), a loop the compiler vectorises, then the
// reads and writes.
KA_FX_KERNEL void RotateOffsets(int32_t* __restrict out, int n, int32_t tx, int32_t ty, int32_t c, int32_t s,
                                int32_t cx2, int32_t cy2, int32_t w, int32_t h, int32_t pitch) {
    for (int i = 0; i < n; ++i) {
        const int32_t rx = (tx + i * c) / 360 - cx2, ry = (ty + i * s) / 360 - cy2;
        const bool inside = static_cast<uint32_t>(rx) < static_cast<uint32_t>(w) &&
                            static_cast<uint32_t>(ry) < static_cast<uint32_t>(h);
        out[i] = inside ? ry * pitch + rx : -1;
    }
}

void PlotOffsets(uint16_t* __restrict d, int n, const int32_t* __restrict offsets, const uint16_t* src) {
    for (int i = 0; i < n; ++i) {
        const int32_t o = offsets[i];
        if (o < 0) continue;
        const uint16_t v = src[o];
        d[i] = v != 0 ? v : d[i];
    }
}

}  // namespace

int kaDraw::RotateLayer(int Px1, int Py1, int Px2, int Py2, int Angle, int ObjDD, int X1, int Y1, int X2, int Y2) {
    return kafx::RunBox({Px1, Py1, Px2, Py2, ObjDD, X1, Y1, X2, Y2}, [&](const BoxArea& a, const BoxPixels& p) {
        const Turn t = MakeTurn(a, Angle, a.w, a.h);
        static std::vector<int32_t> offsets;
        offsets.resize(static_cast<size_t>(a.ex - a.sx));
        WalkBox(a, p, t, [&](uint16_t* d, int n, auto tx, auto ty, int64_t) {
            using T = decltype(tx);
            if constexpr (std::is_same_v<T, int32_t>) {
                if (p.srcPitch * a.h < INT32_MAX) {
                    RotateOffsets(offsets.data(), n, tx, ty, static_cast<int32_t>(t.cosA), static_cast<int32_t>(t.sinA),
                                  static_cast<int32_t>(t.cx2), static_cast<int32_t>(t.cy2), static_cast<int32_t>(a.w),
                                  static_cast<int32_t>(a.h), static_cast<int32_t>(p.srcPitch));
                    PlotOffsets(d, n, offsets.data(), p.src);
                    return;
                }
            }
            const T c = static_cast<T>(t.cosA), s = static_cast<T>(t.sinA);
            const T cx2 = static_cast<T>(t.cx2), cy2 = static_cast<T>(t.cy2), w = static_cast<T>(a.w),
                    h = static_cast<T>(a.h);
            for (int i = 0; i < n; ++i, tx += c, ty += s) {
                const T rx = tx / 360 - cx2, ry = ty / 360 - cy2;
                if (rx < 0 || rx >= w || ry < 0 || ry >= h) continue;
                const uint16_t v = At(p, rx, ry);
                if (v != 0) d[i] = v;
            }
        });
    });
}

int kaDraw::TileRotateLayer(int Px1, int Py1, int Px2, int Py2, int Angle, int ObjDD, int X1, int Y1, int X2, int Y2) {
    if (int64_t{X2} - X1 <= 0 || int64_t{Y2} - Y1 <= 0) return kafx::kRefused;  // nothing to tile with
    return kafx::RunBox({Px1, Py1, Px2, Py2, ObjDD, X1, Y1, X2, Y2}, [&](const BoxArea& a, const BoxPixels& p) {
        const Turn t = MakeTurn(a, Angle, a.w, a.h);
        const FastMod w(static_cast<uint32_t>(a.w)), h(static_cast<uint32_t>(a.h));
        WalkBox(a, p, t, [&](uint16_t* d, int n, auto tx, auto ty, int64_t) {
            using T = decltype(tx);
            const T c = static_cast<T>(t.cosA), s = static_cast<T>(t.sinA);
            const T cx2 = static_cast<T>(t.cx2), cy2 = static_cast<T>(t.cy2);
            for (int i = 0; i < n; ++i, tx += c, ty += s) {
                const uint16_t v = At(p, Tile(tx / 360 - cx2, w), Tile(ty / 360 - cy2, h));
                if (v != 0) d[i] = v;
            }
        });
    });
}

int kaDraw::ZoomRotateLayer(int Px1, int Py1, int Px2, int Py2, int Angle, float Zoom, int ObjDD, int X1, int Y1,
                            int X2, int Y2) {
    return kafx::RunBox({Px1, Py1, Px2, Py2, ObjDD, X1, Y1, X2, Y2}, [&](const BoxArea& a, const BoxPixels& p) {
        // The zoomed source is centred in the box.
        const int64_t w2 = kafx::SaturatingInt(static_cast<double>(a.w) * static_cast<double>(Zoom));
        const int64_t h2 = kafx::SaturatingInt(static_cast<double>(a.h) * static_cast<double>(Zoom));
        const Turn t = MakeTurn(a, Angle, w2, h2);
        WalkBox(a, p, t, [&](uint16_t* d, int n, auto tx, auto ty, int64_t) {
            using T = decltype(tx);
            const T c = static_cast<T>(t.cosA), s = static_cast<T>(t.sinA);
            for (int i = 0; i < n; ++i, tx += c, ty += s) {
                const int64_t rx = Zoomed(tx / 360 - t.cx2, Zoom), ry = Zoomed(ty / 360 - t.cy2, Zoom);
                if (rx < 0 || rx >= a.w || ry < 0 || ry >= a.h) continue;
                const uint16_t v = At(p, rx, ry);
                if (v != 0) d[i] = v;
            }
        });
    });
}

int kaDraw::TileZoomRotateLayer(int Px1, int Py1, int Px2, int Py2, int Angle, float Zoom, int ObjDD, int X1, int Y1,
                                int X2, int Y2) {
    if (int64_t{X2} - X1 <= 0 || int64_t{Y2} - Y1 <= 0) return kafx::kRefused;
    return kafx::RunBox({Px1, Py1, Px2, Py2, ObjDD, X1, Y1, X2, Y2}, [&](const BoxArea& a, const BoxPixels& p) {
        const Turn t = MakeTurn(a, Angle, a.w, a.h);
        const FastMod w(static_cast<uint32_t>(a.w)), h(static_cast<uint32_t>(a.h));
        WalkBox(a, p, t, [&](uint16_t* d, int n, auto tx, auto ty, int64_t) {
            using T = decltype(tx);
            const T c = static_cast<T>(t.cosA), s = static_cast<T>(t.sinA);
            for (int i = 0; i < n; ++i, tx += c, ty += s) {
                const uint16_t v = At(p, Tile(Zoomed(tx / 360 - t.cx2, Zoom), w), Tile(Zoomed(ty / 360 - t.cy2, Zoom), h));
                if (v != 0) d[i] = v;
            }
        });
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

}  // namespace

int kaDraw::MysteryLayer(int Px1, int Py1, int Px2, int Py2, int Angle, float ZoomStartX, float ZoomAddX,
                         float ZoomStartY, float ZoomAddY, float Red, float Green, float Blue, int ObjDD, int X1,
                         int Y1, int X2, int Y2) {
    if (int64_t{X2} - X1 <= 0 || int64_t{Y2} - Y1 <= 0) return kafx::kRefused;
    return kafx::RunBox({Px1, Py1, Px2, Py2, ObjDD, X1, Y1, X2, Y2}, [&](const BoxArea& a, const BoxPixels& p) {
        const Turn t = MakeTurn(a, Angle, a.w, a.h);
        const FastMod w(static_cast<uint32_t>(a.w)), h(static_cast<uint32_t>(a.h));
        RowZooms zooms{ZoomStartX, ZoomStartY, ZoomAddX, ZoomAddY};
        zooms.Skip(a.sy);
        WalkBox(a, p, t, [&](uint16_t* d, int n, auto tx, auto ty, int64_t) {
            using T = decltype(tx);
            const T c = static_cast<T>(t.cosA), s = static_cast<T>(t.sinA);
            for (int i = 0; i < n; ++i, tx += c, ty += s) {
                const uint16_t v =
                    At(p, Tile(Zoomed(tx / 360 - t.cx2, zooms.x), w), Tile(Zoomed(ty / 360 - t.cy2, zooms.y), h));
                if (v == 0) continue;
                const kafx::Rgb k = kafx::Split5(v);
                d[i] = kafx::Pack5Clamped(kafx::Scaled(k.r, Red), kafx::Scaled(k.g, Green), kafx::Scaled(k.b, Blue));
            }
            zooms.Step();
        });
    });
}
