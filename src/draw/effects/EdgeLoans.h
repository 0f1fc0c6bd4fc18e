// The edge smoothing's working rows and its walk down the drawn rectangle,
// shared by the portable row kernel and the AVX-512 one (EdgeRowsAvx512.cpp).
//
// A transparent source pixel lends each of its four neighbours the five-bit
// split of the back pixel under it and a count of one; an opaque one lends
// nothing. One row of loans, with an empty entry at either end, and an empty
// row above the first and below the last, let every pixel add up its
// neighbours' loans without testing the rectangle's border. The back pixels
// lent are never written by the call (their source pixels are transparent),
// so lending a row before the row above it is drawn changes nothing.
// A loan is two 16-bit words, blue and red in one, the count and green in
// the other, a byte each (the first named in the low byte): four loans and
// the pixel's own components (at most 5 x 31) never carry from one byte
// into the next.
#pragma once

#include <cstdint>

#include "draw/effects/AlignedRow.h"
#include "draw/effects/EffectPixels.h"
#include "draw/effects/LayerFrame.h"

namespace kafx {

struct EdgeLoans {
    AlignedRow<uint16_t> plane[2];  // blue | red << 8, count | green << 8; entry x + 1 for column x
    // ex columns, and `spare` empty entries after the last one for kernels
    // that read whole vectors past the end of the row.
    void Reset(int ex, int spare) {
        const size_t n = static_cast<size_t>(ex) + 2 + static_cast<size_t>(spare);
        for (AlignedRow<uint16_t>& v : plane) v.Reset(n, 1, true);
    }
    const uint16_t* at(int c, int x) const { return plane[c].data() + x; }
    uint16_t* lent(int c) { return plane[c].data() + 1; }  // column 0's entry
};

// The rows of one layer call: lend(s, d, loans) lends the first row, then
// row(s, d, s1, d1, up, row, down) draws each row from its own loans and
// those of the row above, and lends the row below (source row s1, back row
// d1; both null for the last row) into `down`.
template <typename Lend, typename Row>
[[gnu::always_inline]] inline void WalkEdgeRows(const LayerArea& a, const LayerPixels& p, int spare, Lend&& lend,
                                                Row&& row) {
    static EdgeLoans ring[3], none;
    for (EdgeLoans& l : ring) l.Reset(a.ex, spare);
    none.Reset(a.ex, spare);
    const uint16_t* src = p.src;
    uint16_t* dst = p.dst;
    lend(src, dst, ring[0]);
    for (int y = 0; y < a.ey; ++y, src += p.srcPitch, dst += p.dstPitch) {
        const EdgeLoans& up = y > 0 ? ring[(y + 2) % 3] : none;
        const bool below = y + 1 < a.ey;
        row(src, dst, below ? src + p.srcPitch : nullptr, below ? dst + p.dstPitch : nullptr, up, ring[y % 3],
            ring[(y + 1) % 3]);
    }
}

// floor(v / (k + 1)) for v <= (k + 1) x 31 and k = 1..4 is (v * m) >> 10
// with m = 512, 342, 256, 205 (every error term times 155 stays below 1024);
// the larger of two lines through (1, 512), (2, 342) and (3, 256), (4, 205)
// gives m without a choice per count.
inline uint16_t ShareMultiplier(uint16_t k) {
    const uint16_t a = static_cast<uint16_t>(682 - 170 * k), b = static_cast<uint16_t>(409 - 51 * k);
    return a > b ? a : b;
}

// The AVX-512 kernel, where the processor has it (AVX-512 BW and VBMI) and
// the format is 5-6-5 or 5-5-5: false when it did not run. Tests turn it
// off to check the portable kernel on the same machine.
bool EdgeRowsAvx512(const LayerArea& a, const LayerPixels& p, const Format& f);
void AllowAvx512EdgeRows(bool allow);

}  // namespace kafx
