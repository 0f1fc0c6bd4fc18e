// The non-template parts of the rotation family's walk: the turn's
// constants, the span of a row that can pass a source test, and the row
// kernels, built twice (AVX2 and the baseline).
#include "draw/effects/TurnWalk.h"

#include "draw/effects/EffectPixels.h"

namespace kafx {

Turn MakeTurn(const BoxArea& a, int angle, int64_t w, int64_t h) {
    Turn t;
    const int degrees = static_cast<int>(PositiveMod(angle, 360));
    t.sinA = kaDraw::RotateData[degrees];
    t.cosA = kaDraw::RotateData[degrees + 90];
    const int64_t cx1 = a.bw >> 1, cy1 = a.bh >> 1;
    t.cx2 = (a.bw - w) >> 1;
    t.cy2 = (a.bh - h) >> 1;
    t.tx1 = 360 * cx1 - cx1 * t.cosA + cy1 * t.sinA;
    t.ty1 = 360 * cy1 - cx1 * t.sinA - cy1 * t.cosA;
    return t;
}

namespace {

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
int64_t CeilDiv(int64_t a, int64_t b) { return a / b + ((a % b != 0) && ((a < 0) == (b < 0))); }

}  // namespace

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

KA_FX_KERNEL void RowIndices(uint32_t* __restrict out, int n, int32_t tx, int32_t ty, int32_t c, int32_t s,
                             int32_t firstX, int32_t firstY) {
    for (int i = 0; i < n; ++i) {
        const int32_t qx = Div360(tx + i * c) - firstX, qy = Div360(ty + i * s) - firstY;
        out[i] = static_cast<uint32_t>(qx) | static_cast<uint32_t>(qy) << 16;
    }
}

namespace {

// One entry of ZoomTiles; without wrap the caller knows every |quotient|
// is below size.
template <bool Wrap>
[[gnu::always_inline]] inline int32_t ZoomTile(int32_t n, float inv, float below, float above, int32_t size,
                                               float invSize, int32_t scale) {
    const float a = static_cast<float>(n) * inv;
    const int32_t lo = static_cast<int32_t>(a * below), hi = static_cast<int32_t>(a * above);
    int32_t m = std::abs(static_cast<int32_t>(a));
    if (Wrap) m -= size * static_cast<int32_t>((static_cast<float>(m) + 0.5f) * invSize);
    const int32_t sure = -static_cast<int32_t>(lo == hi);  // all ones or none, to select without a branch
    return (m * scale & sure) | (kUnsure & ~sure);
}

}  // namespace

KA_FX_KERNEL bool ZoomTiles(int32_t* __restrict out, int count, int32_t n0, float inv, float spread, int32_t size,
                            float invSize, int32_t scale, bool wrap) {
    const float below = 1.0f - spread, above = 1.0f + spread;
    int32_t unsure = 0;
    if (wrap)
        for (int i = 0; i < count; ++i) {
            out[i] = ZoomTile<true>(n0 + i, inv, below, above, size, invSize, scale);
            unsure |= out[i] == kUnsure;
        }
    else
        for (int i = 0; i < count; ++i) {
            out[i] = ZoomTile<false>(n0 + i, inv, below, above, size, invSize, scale);
            unsure |= out[i] == kUnsure;
        }
    return unsure != 0;
}

KA_FX_KERNEL void PlainOffsets(int32_t* __restrict out, int n, int32_t tx, int32_t ty, int32_t c, int32_t s,
                               int32_t cx2, int32_t cy2, int32_t w, int32_t h, int32_t pitch) {
    for (int i = 0; i < n; ++i) {
        const int32_t rx = Div360(tx + i * c) - cx2, ry = Div360(ty + i * s) - cy2;
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

}  // namespace kafx
