// kaEffect::Noise: every pixel of the rectangle brightened by a noise value
// from the fire list shifted left by Force, each five-bit channel limited to
// 31. The list is read in runs up to its end, eight pixels at a time.
#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "draw/effects/EffectPixels.h"
#include "draw/effects/EffectState.h"
#include "draw/effects/ScreenArea.h"

namespace {

// The flagged channels get the noise, each limited to 31. The split by
// formula equals the GetRGB table for every value (a value with a bit no
// field covers splits to black). Everything stays in 16 bits, so that the
// row loop vectorises eight or more pixels wide.
struct NoiseRule {
    uint16_t unused, sr, sg, sb;
    uint16_t fr, fg, fb;  // 0xFFFF for the channels that get the noise
    int force;

    uint16_t operator()(uint16_t p, char n) const {
        const uint16_t add = static_cast<uint16_t>(static_cast<uint16_t>(static_cast<unsigned char>(n)) << force);
        const uint16_t keep = (p & unused) != 0 ? 0 : 31;
        uint16_t r = static_cast<uint16_t>(((p >> sr) & keep) + (add & fr));
        uint16_t g = static_cast<uint16_t>(((p >> sg) & keep) + (add & fg));
        uint16_t b = static_cast<uint16_t>(((p >> sb) & keep) + (add & fb));
        r = r < 31 ? r : 31;
        g = g < 31 ? g : 31;
        b = b < 31 ? b : 31;
        return static_cast<uint16_t>((r << sr) | (g << sg) | (b << sb));
    }
};

#if defined(__x86_64__)
__attribute__((target("avx2"))) inline __m256i Min31Avx2(__m256i x, __m256i five) {
    return _mm256_sub_epi16(x, _mm256_subs_epu16(x, five));
}

// Sixteen pixels at a time where the processor has AVX2; returns how many
// pixels it did.
__attribute__((target("avx2"))) int NoiseRunAvx2(const NoiseRule& rule, uint16_t* __restrict p,
                                                const char* __restrict n, int count) {
    const __m256i unused = _mm256_set1_epi16(static_cast<short>(rule.unused));
    const __m256i five = _mm256_set1_epi16(31), zero = _mm256_setzero_si256();
    const __m256i fr = _mm256_set1_epi16(static_cast<short>(rule.fr)), fg = _mm256_set1_epi16(static_cast<short>(rule.fg)),
                  fb = _mm256_set1_epi16(static_cast<short>(rule.fb));
    const __m128i sr = _mm_cvtsi32_si128(rule.sr), sg = _mm_cvtsi32_si128(rule.sg), sb = _mm_cvtsi32_si128(rule.sb);
    const __m128i force = _mm_cvtsi32_si128(rule.force);
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i));
        const __m256i wide = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(n + i)));
        const __m256i add = _mm256_sll_epi16(wide, force);
        const __m256i keep = _mm256_and_si256(_mm256_cmpeq_epi16(_mm256_and_si256(v, unused), zero), five);
        const __m256i r =
            Min31Avx2(_mm256_add_epi16(_mm256_and_si256(_mm256_srl_epi16(v, sr), keep), _mm256_and_si256(add, fr)), five);
        const __m256i g =
            Min31Avx2(_mm256_add_epi16(_mm256_and_si256(_mm256_srl_epi16(v, sg), keep), _mm256_and_si256(add, fg)), five);
        const __m256i b =
            Min31Avx2(_mm256_add_epi16(_mm256_and_si256(_mm256_srl_epi16(v, sb), keep), _mm256_and_si256(add, fb)), five);
        const __m256i out =
            _mm256_or_si256(_mm256_or_si256(_mm256_sll_epi16(r, sr), _mm256_sll_epi16(g, sg)), _mm256_sll_epi16(b, sb));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + i), out);
    }
    return i;
}

const bool kHasAvx2 = __builtin_cpu_supports("avx2");
#endif

// Eight pixels at a time with SSE2 (part of every x86-64), the same rule
// lane by lane; the scalar rule does what is left of a run.
int NoiseRun(const NoiseRule& rule, uint16_t* __restrict p, const char* __restrict n, int count) {
    int i = 0;
#if defined(__x86_64__)
    if (kHasAvx2) i = NoiseRunAvx2(rule, p, n, count);
#endif
#if defined(__SSE2__)
    const __m128i unused = _mm_set1_epi16(static_cast<short>(rule.unused));
    const __m128i five = _mm_set1_epi16(31), zero = _mm_setzero_si128();
    const __m128i fr = _mm_set1_epi16(static_cast<short>(rule.fr)), fg = _mm_set1_epi16(static_cast<short>(rule.fg)),
                  fb = _mm_set1_epi16(static_cast<short>(rule.fb));
    const __m128i sr = _mm_cvtsi32_si128(rule.sr), sg = _mm_cvtsi32_si128(rule.sg), sb = _mm_cvtsi32_si128(rule.sb);
    const __m128i force = _mm_cvtsi32_si128(rule.force);
    // min(x, 31) for x up to 65535: x - max(x - 31, 0).
    const auto min31 = [five](__m128i x) { return _mm_sub_epi16(x, _mm_subs_epu16(x, five)); };
    for (; i + 8 <= count; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(n + i));
        const __m128i add = _mm_sll_epi16(_mm_unpacklo_epi8(bytes, zero), force);
        const __m128i keep = _mm_and_si128(_mm_cmpeq_epi16(_mm_and_si128(v, unused), zero), five);
        const __m128i r = min31(_mm_add_epi16(_mm_and_si128(_mm_srl_epi16(v, sr), keep), _mm_and_si128(add, fr)));
        const __m128i g = min31(_mm_add_epi16(_mm_and_si128(_mm_srl_epi16(v, sg), keep), _mm_and_si128(add, fg)));
        const __m128i b = min31(_mm_add_epi16(_mm_and_si128(_mm_srl_epi16(v, sb), keep), _mm_and_si128(add, fb)));
        const __m128i out = _mm_or_si128(_mm_or_si128(_mm_sll_epi16(r, sr), _mm_sll_epi16(g, sg)), _mm_sll_epi16(b, sb));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), out);
    }
#endif
    for (; i < count; ++i) p[i] = rule(p[i], n[i]);
    return count;
}

int NoisePass(int* cursor, bool red, bool green, bool blue, int Force, int Px, int Py, unsigned Width,
              unsigned Height) {
    if (!kadraw::LockBack()) return 0;
    // The shift is 16-bit: from 15 on the noise would wrap to nothing.
    const int force = Force < 0 ? 0 : Force > 14 ? 14 : Force;
    const kafx::Format f = kafx::CurrentFormat();
    const auto flag = [](bool on) { return static_cast<uint16_t>(on ? 0xFFFF : 0); };
    const NoiseRule rule{f.unused, f.shiftR2, f.shiftG2, f.shiftB2, flag(red), flag(green), flag(blue), force};
    const kadraw::BackArea a = kadraw::ClipToBack(Px, Py, Width, Height);
    const char* list = kaEffect::FireRandomList;
    for (int y = 0; y < a.h; ++y) {
        uint16_t* row = DDBack->row(a.y + y) + a.x;
        for (int x = 0; x < a.w;) {
            const int run = std::min(a.w - x, kadraw::kNoiseLength - *cursor);
            NoiseRun(rule, row + x, list + *cursor, run);
            x += run;
            *cursor += run - 1;
            kadraw::AdvanceNoiseCursor(cursor);
        }
    }
    DDBack->unlock();
    return 1;
}

}  // namespace

int kaEffect::Noise(int Force, int Px, int Py, unsigned Width, unsigned Height) {
    return NoisePass(&kadraw::state::noiseCount[0], true, true, true, Force, Px, Py, Width, Height);
}

int kaEffect::Noise(int Red, int Green, int Blue, int Force, int Px, int Py, unsigned Width, unsigned Height) {
    return NoisePass(&kadraw::state::noiseCount[1], Red != 0, Green != 0, Blue != 0, Force, Px, Py, Width, Height);
}
