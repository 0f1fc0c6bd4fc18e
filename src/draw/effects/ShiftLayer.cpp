// The displacement layer: the back surface under the sprite is pulled up by
// amounts read from the red channel of the sprite's pixels.
#include <vector>

#include "draw/effects/EffectPixels.h"
#include "draw/effects/LayerFrame.h"

namespace {

// A row's offsets in rows: the source pixel's red less St where that is
// positive and stays inside the drawn rows, else 0 (also for source 0).
// Branch-free, so that it vectorises; the offsets follow the sprite's noise.
KA_FX_KERNEL void RowOffsets(int32_t* __restrict out, const uint16_t* __restrict s, int n, int32_t st, int32_t below,
                             kafx::Format f) {
    kafx::ForFormat(f, [&](auto fmt) __attribute__((always_inline)) {
        for (int x = 0; x < n; ++x) {
            const int32_t o = static_cast<int32_t>(kafx::Split5(fmt, s[x]).r) - st;
            out[x] = (s[x] != 0 && o > 0 && o < below) ? o : 0;
        }
    });
}

}  // namespace

int kaDraw::ShiftLayer(int Px, int Py, float Shift, int ObjDD, int X1, int Y1, int X2, int Y2) {
    // Red is 0..31 and the drawn rows fewer than 2^16: St past either end of
    // -2^20..32 gives the same offsets as that end, in 32 bits.
    const int32_t st = static_cast<int32_t>(
        kafx::Clamp64(kafx::SaturatingInt(31.0 - static_cast<double>(Shift) * 31.0), -(int64_t{1} << 20), 32));
    return kafx::RunLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, kafx::DrawnRect,
                          [st](const kafx::LayerArea& a, const kafx::LayerPixels& p) {
                              static std::vector<int32_t> offsets;
                              offsets.resize(static_cast<size_t>(a.ex));
                              const kafx::Format f = kafx::CurrentFormat();
                              const uint16_t* s = p.src;
                              uint16_t* d = p.dst;
                              // Top to bottom: the row read below has not been changed yet.
                              for (int y = 0; y < a.ey; ++y, s += p.srcPitch, d += p.dstPitch) {
                                  RowOffsets(offsets.data(), s, a.ex, st, a.ey - y, f);
                                  for (int x = 0; x < a.ex; ++x) d[x] = d[x + offsets[x] * p.dstPitch];
                              }
                          });
}
