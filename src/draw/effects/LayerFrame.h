// The one frame of the software effect layers: clip the destination to the
// virtual screen (and the back surface), check the sprite pixels a member
// will read, lock the sprite and then the back surface, hand the locked rows
// to the member's rule, unlock. Rules only ever see pixels inside both
// surfaces. A second frame does the same for the rotation family's box.
#pragma once

#include <cstddef>
#include <cstdint>

#include "draw/DrawInternal.h"
#include "draw/kaDraw.h"

namespace kafx {

// Results of every software layer.
constexpr int kRefused = 0;  // bad arguments, or a surface could not be locked
constexpr int kDone = 1;     // drawn, clamped, or nothing visible

// A rectangle of sprite pixels a member reads, in 64 bits; right and bottom
// exclusive. An empty one reads nothing and always passes.
struct ReadRect {
    int64_t x1, y1, x2, y2;
};
bool SourceInside(const plat::Surface16& sprite, const ReadRect& r);

// The visible part of the back surface: the virtual screen limited to the
// surface, so that a virtual screen reaching past the surface never lets a
// rule write outside it. Points plotted freely (mesh points, fill passes)
// are tested against this too.
plat::Rect VisibleBounds(const plat::Surface16& back);

// ---- The layer frame ------------------------------------------------------------

// One call's destination point, sprite and source rectangle, as given.
struct LayerCall {
    int px, py, objDD, x1, y1, x2, y2;
};

// The drawn area after clipping: (px, py) on the back surface shows sprite
// pixel (x1, y1); ex x ey pixels (either may be 0).
struct LayerArea {
    LayerCall call;
    int px, py;
    int x1, y1;
    int ex, ey;
};

// Clipping: width and height from the unclipped rectangle, right and bottom
// edges first, then left and top, all in 64 bits. False when the width or
// the height came out negative (nothing to do, nothing locked).
bool ClipLayerArea(const LayerCall& call, const plat::Rect& bounds, LayerArea* area);

// The drawn rectangle: what most members read.
inline ReadRect DrawnRect(const LayerArea& a) { return {a.x1, a.y1, int64_t{a.x1} + a.ex, int64_t{a.y1} + a.ey}; }

// Locked rows: src points at sprite pixel (x1, y1), dst at back pixel
// (px, py); pitches in pixels. back is the whole back surface, for members
// that read or write beyond the drawn area (always within VisibleBounds);
// sprite the whole sprite, for members that read other pixels than the
// drawn rectangle's (always within what their reads() declared).
struct LayerPixels {
    const uint16_t* src;
    ptrdiff_t srcPitch;
    uint16_t* dst;
    ptrdiff_t dstPitch;
    plat::Surface16* back;
    const plat::Surface16* sprite;
};

// Locks the sprite, then the back surface (unlocking the sprite when that
// fails). False when either lock failed.
bool LockPair(plat::Surface16& sprite, plat::Surface16& back);
void UnlockPair(plat::Surface16& sprite, plat::Surface16& back);

// The frame. reads(area) gives the sprite pixels the member will read;
// draw(area, pixels) is the member's rule. Usage:
//   return kafx::RunLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, kafx::DrawnRect,
//                         [&](const kafx::LayerArea& a, const kafx::LayerPixels& p) { ... });
// Unknown or empty sprite, no back surface, or a read outside the sprite:
// kRefused, nothing locked. Width or height negative after clipping: kDone,
// nothing locked. Width or height 0: both surfaces locked and unlocked.
template <typename Reads, typename Draw>
int RunLayer(const LayerCall& call, Reads&& reads, Draw&& draw) {
    plat::Surface16* sprite = kadraw::SpriteSurface(call.objDD);
    plat::Surface16* back = DDBack;
    if (sprite == nullptr || back == nullptr) return kRefused;
    LayerArea area;
    if (!ClipLayerArea(call, VisibleBounds(*back), &area)) return kDone;
    if (!SourceInside(*sprite, reads(area))) return kRefused;
    if (!LockPair(*sprite, *back)) return kRefused;
    LayerPixels pixels{sprite->row(0), sprite->pitchPixels(), back->row(0), back->pitchPixels(), back, sprite};
    if (area.ex > 0 && area.ey > 0) {
        pixels.src = sprite->row(area.y1) + area.x1;
        pixels.dst = back->row(area.py) + area.px;
        draw(static_cast<const LayerArea&>(area), static_cast<const LayerPixels&>(pixels));
    }
    UnlockPair(*sprite, *back);
    return kDone;
}

// ---- Row walks for per-pixel rules ------------------------------------------------

// Marks a function holding a hot pixel loop to be built three times, for
// AVX-512 (x86-64-v4), AVX2 and the baseline, the loader picking one for the
// machine. Put the loop (for
// instance an EachPixel call) in a plain function with this mark:
//   KA_FX_KERNEL void GrayRows(const LayerArea& a, const LayerPixels& p, Format f) { EachPixel(...); }
#if defined(__x86_64__) && defined(__GNUC__) && defined(__ELF__) && !defined(__clang__)
#define KA_FX_KERNEL __attribute__((target_clones("arch=x86-64-v4", "avx2", "default")))
// The same without the 512-bit build, for a kernel whose 512-bit build runs
// slower than its AVX2 one (the noise pass: 2.5x as long).
#define KA_FX_KERNEL_AVX2 __attribute__((target_clones("avx2", "default")))
#else
#define KA_FX_KERNEL
#define KA_FX_KERNEL_AVX2
#endif

// Every drawn pixel: where the source pixel s is not 0 the back pixel d
// becomes rule(s, d). Written as a select over whole rows so that a rule made
// of plain arithmetic vectorises; rule must therefore accept s == 0 (its
// result is then discarded).
//   kafx::EachPixel(a, p, [=](uint16_t s, uint16_t d) { return ...; });
template <typename Rule>
[[gnu::always_inline]] inline void EachPixel(const LayerArea& a, const LayerPixels& p, Rule rule) {
    const uint16_t* src = p.src;
    uint16_t* dst = p.dst;
    for (int y = 0; y < a.ey; ++y, src += p.srcPitch, dst += p.dstPitch) {
        const uint16_t* __restrict s = src;
        uint16_t* __restrict d = dst;
        for (int x = 0; x < a.ex; ++x) {
            uint16_t sv = s[x], dv = d[x];
            uint16_t r = rule(sv, dv);
            d[x] = sv != 0 ? r : dv;
        }
    }
}

// The same for rules that need the position in the drawn area (x, y count
// from the first drawn column and row) and are not worth vectorising:
// rule(s, d, x, y) runs only for source pixels that are not 0.
template <typename Rule>
inline void EachOpaquePixel(const LayerArea& a, const LayerPixels& p, Rule rule) {
    const uint16_t* s = p.src;
    uint16_t* d = p.dst;
    for (int y = 0; y < a.ey; ++y, s += p.srcPitch, d += p.dstPitch)
        for (int x = 0; x < a.ex; ++x)
            if (s[x] != 0) d[x] = rule(s[x], d[x], x, y);
}

// ---- The box frame of the rotation family -------------------------------------

// The destination box (px1, py1)-(px2, py2) and the whole source rectangle.
struct BoxCall {
    int px1, py1, px2, py2, objDD, x1, y1, x2, y2;
};

// Box columns sx..ex-1 and rows sy..ey-1 (counted from the box's top-left
// corner) are visible; bw x bh is the whole box, w x h the source.
struct BoxArea {
    BoxCall call;
    int64_t bw, bh;
    int64_t w, h;
    int64_t sx, sy, ex, ey;
};

// Clipping of the box: Ex = BW and Ey = BH limited by the right and bottom
// edges, Sx and Sy from the left and top ones. False when Ex < Sx or Ey < Sy.
bool ClipBox(const BoxCall& call, const plat::Rect& bounds, BoxArea* area);

// The whole source rectangle: what the rotation family reads.
inline ReadRect WholeSource(const BoxArea& a) { return {a.call.x1, a.call.y1, a.call.x2, a.call.y2}; }

// Locked box: src points at sprite pixel (X1, Y1); row(y) points at box
// column sx of box row y (visible rows only), so box column x is
// row(y)[x - sx].
struct BoxPixels {
    const uint16_t* src;
    ptrdiff_t srcPitch;
    plat::Surface16* back;
    int64_t px1, py1, sx;
    uint16_t* row(int64_t y) const { return back->row(static_cast<int>(py1 + y)) + static_cast<ptrdiff_t>(px1 + sx); }
};

// As RunLayer, for a box. Usage:
//   return kafx::RunBox({Px1, Py1, Px2, Py2, ObjDD, X1, Y1, X2, Y2},
//                       [&](const kafx::BoxArea& a, const kafx::BoxPixels& p) { ... });
// The source rectangle must lie inside the sprite (kRefused otherwise).
template <typename Draw>
int RunBox(const BoxCall& call, Draw&& draw) {
    plat::Surface16* sprite = kadraw::SpriteSurface(call.objDD);
    plat::Surface16* back = DDBack;
    if (sprite == nullptr || back == nullptr) return kRefused;
    BoxArea area;
    if (!ClipBox(call, VisibleBounds(*back), &area)) return kDone;
    if (!SourceInside(*sprite, WholeSource(area))) return kRefused;
    if (!LockPair(*sprite, *back)) return kRefused;
    if (area.ex > area.sx && area.ey > area.sy && area.w > 0 && area.h > 0) {
        BoxPixels pixels{sprite->row(call.y1) + call.x1, sprite->pitchPixels(), back, call.px1, call.py1, area.sx};
        draw(static_cast<const BoxArea&>(area), static_cast<const BoxPixels&>(pixels));
    }
    UnlockPair(*sprite, *back);
    return kDone;
}

}  // namespace kafx
