// The edge smoothing's row kernel for processors with AVX-512 (BW and VBMI),
// 32 pixels at a time: one byte-gathering shift per loan word picks the
// five-bit fields out of the pixels, the division by the count is a
// multiply-high by a multiplier looked up by the count, and a masked store
// writes only the opaque pixels. Whole vectors are read and written inside
// the row; the last, partial vector of a row is masked to it.
#include "draw/effects/EdgeLoans.h"

#include <type_traits>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__)) && defined(__ELF__)
#include <immintrin.h>
#define KA_HAVE_AVX512_EDGE 1
#else
#define KA_HAVE_AVX512_EDGE 0
#endif

namespace kafx {

#if KA_HAVE_AVX512_EDGE
namespace {

#define KA_AVX512_VBMI __attribute__((target("avx512f,avx512bw,avx512vbmi")))

bool gAllowed = true;

// Where the five-bit fields start in a pixel (the top five bits of each
// field, as GetRGB holds them); 5-5-5's unused bit 15 splits to black.
template <bool Rgb555>
struct Fields {
    static constexpr int r = Rgb555 ? 10 : 11, g = Rgb555 ? 5 : 6, b = 0;
};

// Loan rows carry this many empty entries past the row, so that whole
// vectors of loans can be read for its last columns.
constexpr int kSpare = 32;

KA_AVX512_VBMI inline __m512i Words(uint16_t v) { return _mm512_set1_epi16(static_cast<short>(v)); }

// The byte gather of v by control; spelled as the zero-masked form with
// every lane kept, whose plain form reads an undefined register in the
// compiler's header (and warns).
KA_AVX512_VBMI inline __m512i Gather(__m512i control, __m512i v) {
    return _mm512_maskz_multishift_epi64_epi8(~__mmask64{0}, control, v);
}

// A byte-gathering control: in every 16-bit lane, byte 0 from bit lo and
// byte 1 from bit hi of the lane.
KA_AVX512_VBMI inline __m512i PickBytes(int lo, int hi) {
    uint64_t c = 0;
    for (int i = 0; i < 4; ++i)
        c |= (uint64_t(16 * i + lo) << (16 * i)) | (uint64_t((16 * i + hi) & 63) << (16 * i + 8));
    return _mm512_set1_epi64(static_cast<long long>(c));
}

// The five-bit split of 32 pixels in the loan layout: blue | red << 8, and
// green << 8 (count 0).
template <bool Rgb555>
KA_AVX512_VBMI inline void Split(__m512i v, __m512i& rb, __m512i& gn) {
    using F = Fields<Rgb555>;
    if (Rgb555) v = _mm512_maskz_mov_epi16(_mm512_testn_epi16_mask(v, Words(0x8000)), v);
    rb = _mm512_and_si512(Gather(PickBytes(F::b, F::r), v), Words(0x1F1F));
    gn = _mm512_and_si512(Gather(PickBytes(F::g, F::g), v), Words(0x1F00));
}

// The rows one call of DrawRow works on, and the loan rows as plain
// pointers (entry x of `row` is column x - 1; up and down start at column 0).
struct Rows {
    const uint16_t* s;
    uint16_t* d;
    const uint16_t *s1, *d1;  // the row below, or null
    const uint16_t *upRb, *upGn, *rowRb, *rowGn;
    uint16_t *downRb, *downGn;
};

// Loads of 32 pixels from column x: whole vectors inside the row, masked to
// the row in its last, partial vector (the lanes past it read as 0, and so
// lend nothing).
template <bool Whole>
struct Columns {
    __mmask32 lanes;
    KA_AVX512_VBMI __m512i Load(const uint16_t* p) const {
        return Whole ? _mm512_loadu_si512(p) : _mm512_maskz_loadu_epi16(lanes, p);
    }
};

// The loans of 32 columns from source pixels s and back pixels d, stored
// whole: lanes past the row hold 0, which keeps the entries after it empty.
template <bool Rgb555, bool Whole>
[[gnu::always_inline]] KA_AVX512_VBMI inline void Lend(const uint16_t* s, const uint16_t* d, const Columns<Whole>& c,
                                                       uint16_t* toRb, uint16_t* toGn, __m512i& rb, __m512i& gn) {
    const __m512i sv = c.Load(s);
    const __mmask32 clear = _mm512_testn_epi16_mask(sv, sv) & c.lanes;
    Split<Rgb555>(_mm512_maskz_loadu_epi16(clear, d), rb, gn);
    gn = _mm512_maskz_add_epi16(clear, gn, Words(1));
    _mm512_storeu_si512(toRb, rb);
    _mm512_storeu_si512(toGn, gn);
}

// 32 pixels of a row from column x, lending the row below's 32 columns.
template <bool Rgb555, bool Below, bool Whole>
[[gnu::always_inline]] KA_AVX512_VBMI inline void DrawColumns(const Rows& r, int x, const Columns<Whole>& c,
                                                              __m512i shares) {
    using F = Fields<Rgb555>;
    __m512i brb = _mm512_setzero_si512(), bgn = _mm512_setzero_si512();
    if (Below) Lend<Rgb555>(r.s1 + x, r.d1 + x, c, r.downRb + x, r.downGn + x, brb, bgn);
    const __m512i sv = c.Load(r.s + x);
    __m512i rb, gn;
    Split<Rgb555>(sv, rb, gn);
    auto entries = [x](const uint16_t* p, int at) KA_AVX512_VBMI { return _mm512_loadu_si512(p + x + at); };
    rb = _mm512_add_epi16(_mm512_add_epi16(rb, entries(r.rowRb, 0)),
                          _mm512_add_epi16(entries(r.rowRb, 2), _mm512_add_epi16(entries(r.upRb, 0), brb)));
    gn = _mm512_add_epi16(_mm512_add_epi16(gn, entries(r.rowGn, 0)),
                          _mm512_add_epi16(entries(r.rowGn, 2), _mm512_add_epi16(entries(r.upGn, 0), bgn)));
    // The count in the low byte indexes the multipliers directly.
    const __m512i m = _mm512_permutexvar_epi16(gn, shares);
    const __m512i red = _mm512_mulhi_epu16(_mm512_srli_epi16(rb, 8), m);
    const __m512i blue = _mm512_mulhi_epu16(_mm512_and_si512(rb, Words(0x00FF)), m);
    const __m512i green = _mm512_mulhi_epu16(_mm512_srli_epi16(gn, 8), m);
    const __m512i rg = _mm512_or_si512(_mm512_slli_epi16(red, F::r), _mm512_slli_epi16(green, F::g));
    // The fields do not overlap, so adding blue is or-ing it in; no loan
    // leaves the pixel as it is.
    const __m512i out = _mm512_mask_add_epi16(sv, _mm512_test_epi16_mask(gn, Words(0x00FF)), rg, blue);
    _mm512_mask_storeu_epi16(r.d + x, _mm512_test_epi16_mask(sv, sv), out);
}

// Whole vectors, then the last, partial one.
template <typename Each>
[[gnu::always_inline]] KA_AVX512_VBMI inline void EachVector(int ex, Each&& each) {
    int x = 0;
    for (const Columns<true> whole{~__mmask32{0}}; x + 32 <= ex; x += 32) each(x, whole);
    if (x < ex) each(x, Columns<false>{static_cast<__mmask32>((1u << (ex - x)) - 1)});
}

template <bool Rgb555, bool Below>
KA_AVX512_VBMI __attribute__((noinline)) void DrawRow(int ex, const Rows& rows) {
    // A copy of its own: the vector stores may alias anything the caller holds,
    // and the pointers would be read again after each of them.
    const Rows r = rows;
    // 64 x ShareMultiplier(k) by the count k, so that the high half of the
    // product is (v * m) >> 10; the count 0 keeps the pixel (its entry is unused).
    const __m512i shares = _mm512_set_epi16(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                            0, 0, 64 * 205, 64 * 256, 64 * 342, short(64 * 512), 0);
    EachVector(ex, [&](int x, const auto& c) KA_AVX512_VBMI { DrawColumns<Rgb555, Below>(r, x, c, shares); });
}

template <bool Rgb555>
KA_AVX512_VBMI __attribute__((noinline)) void LendRow(int ex, const uint16_t* s, const uint16_t* d, EdgeLoans& l) {
    uint16_t *rb = l.lent(0), *gn = l.lent(1);
    EachVector(ex, [&](int x, const auto& c) KA_AVX512_VBMI {
        __m512i vrb, vgn;
        Lend<Rgb555>(s + x, d + x, c, rb + x, gn + x, vrb, vgn);
    });
}

template <bool Rgb555>
void Walk(const LayerArea& a, const LayerPixels& p) {
    WalkEdgeRows(
        a, p, kSpare, [&](const uint16_t* s, const uint16_t* d, EdgeLoans& l) { LendRow<Rgb555>(a.ex, s, d, l); },
        [&](const uint16_t* s, uint16_t* d, const uint16_t* s1, const uint16_t* d1, const EdgeLoans& up,
            const EdgeLoans& row, EdgeLoans& down) {
            const Rows r{s, d, s1, d1, up.at(0, 1), up.at(1, 1),
                         row.at(0, 0), row.at(1, 0), down.lent(0), down.lent(1)};
            if (s1 != nullptr)
                DrawRow<Rgb555, true>(a.ex, r);
            else
                DrawRow<Rgb555, false>(a.ex, r);
        });
}

bool Supported() {
    static const bool has = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                            __builtin_cpu_supports("avx512vbmi");
    return has;
}

}  // namespace

bool EdgeRowsAvx512(const LayerArea& a, const LayerPixels& p, const Format& f) {
    if (!gAllowed || !Supported()) return false;
    bool ran = false;
    ForFormat(f, [&](auto fmt) {
        using T = decltype(fmt);
        if constexpr (std::is_same_v<T, Format565>) Walk<false>(a, p), ran = true;
        if constexpr (std::is_same_v<T, Format555>) Walk<true>(a, p), ran = true;
    });
    return ran;
}

void AllowAvx512EdgeRows(bool allow) { gAllowed = allow; }

#else

bool EdgeRowsAvx512(const LayerArea&, const LayerPixels&, const Format&) { return false; }
void AllowAvx512EdgeRows(bool) {}

#endif

}  // namespace kafx
