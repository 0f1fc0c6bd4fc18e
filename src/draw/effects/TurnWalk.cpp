// The non-template parts of the rotation family's walk: the turn's
// constants, the span of a row that can pass a source test, and the row
// kernels: the portable ones, built for AVX-512, AVX2 and the baseline, and
// one written for AVX-512 (every member, sixteen pixels at a time).
#include "draw/effects/TurnWalk.h"

#include "draw/effects/EffectPixels.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define KA_AVX512_TURN_ROWS 1
#define KA_AVX512 __attribute__((target("avx512f,avx512bw,avx512vl")))
#define KA_AVX512_INLINE __attribute__((target("avx512f,avx512bw,avx512vl"), always_inline)) inline
#else
#define KA_AVX512_TURN_ROWS 0
#endif

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
                                               float invSize, int32_t scale, int32_t* unsure) {
    const float a = static_cast<float>(n) * inv;
    const int32_t lo = static_cast<int32_t>(a * below), hi = static_cast<int32_t>(a * above);
    // Where the two agree, trunc(a) (which lies between them) is lo too.
    int32_t m = std::abs(lo);
    if (Wrap) m -= size * static_cast<int32_t>((static_cast<float>(m) + 0.5f) * invSize);
    *unsure |= lo != hi;
    return lo != hi ? kUnsure : m * scale;
}

}  // namespace

KA_FX_KERNEL bool ZoomTiles(int32_t* __restrict out, int count, int32_t n0, float inv, float spread, int32_t size,
                            float invSize, int32_t scale, bool wrap) {
    const float below = 1.0f - spread, above = 1.0f + spread;
    int32_t unsure = 0;
    if (wrap)
        for (int i = 0; i < count; ++i)
            out[i] = ZoomTile<true>(n0 + i, inv, below, above, size, invSize, scale, &unsure);
    else
        for (int i = 0; i < count; ++i)
            out[i] = ZoomTile<false>(n0 + i, inv, below, above, size, invSize, scale, &unsure);
    return unsure != 0;
}

KA_FX_KERNEL int NextUnsureBlock(const int32_t* __restrict v, int from, int count) {
    for (int b = from; b < count; b += kUnsureBlock) {
        const int e = std::min(count, b + kUnsureBlock);
        int32_t any = 0;
        for (int i = b; i < e; ++i) any |= v[i] == kUnsure;
        if (any != 0) return b;
    }
    return count;
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

namespace {
bool gAvx512Allowed = true;
}  // namespace

void AllowAvx512Rows(bool allow) { gAvx512Allowed = allow; }

#if KA_AVX512_TURN_ROWS
bool Avx512Rows() {
    static const bool present = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                                __builtin_cpu_supports("avx512vl");
    return gAvx512Allowed && present;
}

// GCC 12 warns inside its own AVX-512 headers (their undefined-register
// placeholders) wherever these intrinsics are inlined.
#if !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace {

// Div360 of sixteen positions: the same three roundings, lane by lane
// (0.5 takes the sign of t from one bit operation).
KA_AVX512_INLINE __m512i Div360x16(__m512i t) {
    const __m512i half = _mm512_ternarylogic_epi32(t, _mm512_set1_epi32(INT32_MIN), _mm512_set1_epi32(0x3F000000),
                                                   0xEA);  // (t & sign) | 0.5f
    const __m512 f = _mm512_add_ps(_mm512_cvtepi32_ps(t), _mm512_castsi512_ps(half));
    return _mm512_cvttps_epi32(_mm512_mul_ps(f, _mm512_set1_ps(1.0f / 360.0f)));
}

// The entries of a table for sixteen indices i within start .. start + 31
// (start may lie among the spare entries before entry 0).
KA_AVX512_INLINE __m512i Look(const int32_t* tab, int32_t start, __m512i i) {
    const __m512i lo = _mm512_loadu_si512(tab + start), hi = _mm512_loadu_si512(tab + start + 16);
    return _mm512_permutex2var_epi32(lo, i, hi);
}

// The pixels at sixteen source offsets where take is set, 0 elsewhere: the
// aligned words around them, shifted down by a half where they are odd.
KA_AVX512_INLINE __m256i Pixels(const SourceWords& src, __m512i o, __mmask16 take) {
    const __m512i k = _mm512_add_epi32(o, _mm512_set1_epi32(src.parity));
    const __m512i words =
        _mm512_mask_i32gather_epi32(_mm512_setzero_si512(), take, _mm512_srai_epi32(k, 1), src.words, 4);
    const __mmask16 odd = _mm512_test_epi32_mask(k, _mm512_set1_epi32(1));
    return _mm512_cvtepi32_epi16(_mm512_mask_srli_epi32(words, odd, words, 16));
}

}  // namespace

KA_AVX512 void TableRowAvx512(uint16_t* __restrict d, int n, int32_t tx, int32_t ty, int32_t c, int32_t s,
                              const int32_t* tabX, int32_t firstX, const int32_t* tabY, int32_t firstY,
                              SourceWords src, bool opaqueOnly) {
    const __m512i lanes = _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    __m512i tX = _mm512_add_epi32(_mm512_set1_epi32(tx), _mm512_mullo_epi32(lanes, _mm512_set1_epi32(c)));
    __m512i tY = _mm512_add_epi32(_mm512_set1_epi32(ty), _mm512_mullo_epi32(lanes, _mm512_set1_epi32(s)));
    const __m512i stepX = _mm512_set1_epi32(16 * c), stepY = _mm512_set1_epi32(16 * s);
    // Each window starts at the first lane's entry, or 16 entries before it.
    const int32_t leadX = c < 0 ? 16 : 0, leadY = s < 0 ? 16 : 0;
    const __mmask16 every = opaqueOnly ? 0 : 0xFFFF;
    for (int i = 0; i < n; i += 16) {
        // Lanes past the row's end compute garbage that is neither read
        // through nor stored (their positions stay within 32 bits).
        const __mmask16 valid = static_cast<__mmask16>(n - i >= 16 ? 0xFFFF : (1u << (n - i)) - 1);
        const __m512i qx = Div360x16(tX), qy = Div360x16(tY);
        const int32_t x0 = _mm512_cvtsi512_si32(qx), y0 = _mm512_cvtsi512_si32(qy);
        const __m512i o =
            _mm512_add_epi32(Look(tabX, x0 - leadX - firstX, _mm512_sub_epi32(qx, _mm512_set1_epi32(x0 - leadX))),
                             Look(tabY, y0 - leadY - firstY, _mm512_sub_epi32(qy, _mm512_set1_epi32(y0 - leadY))));
        const __mmask16 take = _mm512_mask_cmpge_epi32_mask(valid, o, _mm512_setzero_si512());
        const __m256i px = Pixels(src, o, take);
        const __mmask16 stored = _mm256_mask_test_epi16_mask(take, px, px) | (valid & every);
        _mm256_mask_storeu_epi16(d + i, stored, px);
        tX = _mm512_add_epi32(tX, stepX);
        tY = _mm512_add_epi32(tY, stepY);
    }
}

KA_AVX512 void RecolourRowAvx512(uint16_t* __restrict d, const uint16_t* __restrict v, int n,
                                 const Recolouring& colours) {
    const __m512i tr = _mm512_loadu_si512(colours.red), tg = _mm512_loadu_si512(colours.green),
                  tb = _mm512_loadu_si512(colours.blue);
    const __m128i sr = _mm_cvtsi32_si128(colours.shiftR), sg = _mm_cvtsi32_si128(colours.shiftG),
                  sb = _mm_cvtsi32_si128(colours.shiftB);
    const __m512i none = _mm512_set1_epi16(static_cast<short>(colours.unused));
    for (int i = 0; i < n; i += 32) {
        const __mmask32 lanes = n - i >= 32 ? ~__mmask32{0} : static_cast<__mmask32>((1u << (n - i)) - 1);
        const __m512i x = _mm512_maskz_loadu_epi16(lanes, v + i);
        // The permutes read the low five bits of each index: the field, or
        // entry 0 where the pixel splits to black.
        const __mmask32 coloured = static_cast<__mmask32>(~_mm512_test_epi16_mask(x, none));
        const __m512i r = _mm512_permutexvar_epi16(_mm512_maskz_srl_epi16(coloured, x, sr), tr);
        const __m512i g = _mm512_permutexvar_epi16(_mm512_maskz_srl_epi16(coloured, x, sg), tg);
        const __m512i b = _mm512_permutexvar_epi16(_mm512_maskz_srl_epi16(coloured, x, sb), tb);
        _mm512_mask_storeu_epi16(d + i, _mm512_mask_test_epi16_mask(lanes, x, x),
                                 _mm512_ternarylogic_epi32(r, g, b, 0xFE));  // r | g | b
    }
}
#if !defined(__clang__)
#pragma GCC diagnostic pop
#endif
#else
bool Avx512Rows() { return false; }
void TableRowAvx512(uint16_t*, int, int32_t, int32_t, int32_t, int32_t, const int32_t*, int32_t, const int32_t*,
                    int32_t, SourceWords, bool) {}
void RecolourRowAvx512(uint16_t*, const uint16_t*, int, const Recolouring&) {}
#endif

KA_FX_KERNEL void StoreRow(uint16_t* __restrict d, const uint16_t* __restrict v, int n) {
    for (int i = 0; i < n; ++i) d[i] = v[i] != 0 ? v[i] : d[i];
}

}  // namespace kafx
