// Widening of the 16-bit visible surface into 32-bit window pixels, with
// whole-number enlargement: the per-frame pixel work of the SDL software
// presentation. Compiled with -O3 so the row loops vectorise.
#include <cstring>

#include "platform/Backend.h"

namespace plat::detail {

namespace {

// One pixel widened: each channel's top bits repeated into the low bits, so
// that full intensity maps to 255 and zero to 0.
template <bool k565, bool kSwap>
inline uint32_t Widen(uint32_t p) {
    uint32_t r5 = k565 ? (p >> 11) & 31 : (p >> 10) & 31;
    uint32_t b5 = p & 31;
    uint32_t g8;
    if (k565) {
        uint32_t g6 = (p >> 5) & 63;
        g8 = (g6 << 2) | (g6 >> 4);
    } else {
        uint32_t g5 = (p >> 5) & 31;
        g8 = (g5 << 3) | (g5 >> 2);
    }
    uint32_t r8 = (r5 << 3) | (r5 >> 2);
    uint32_t b8 = (b5 << 3) | (b5 >> 2);
    return kSwap ? (b8 << 16) | (g8 << 8) | r8 : (r8 << 16) | (g8 << 8) | b8;
}

template <bool k565, bool kSwap>
void ExpandRows(const Surface16& src, int scale, uint32_t* dst, int dstPitchBytes) {
    const int w = src.width();
    const size_t rowBytes = static_cast<size_t>(w) * scale * sizeof(uint32_t);
    auto* out = reinterpret_cast<uint8_t*>(dst);
    for (int y = 0; y < src.height(); ++y) {
        const uint16_t* in = src.row(y);
        auto* first = reinterpret_cast<uint32_t*>(out);
        if (scale == 1) {
            for (int x = 0; x < w; ++x) first[x] = Widen<k565, kSwap>(in[x]);
        } else if (scale == 2) {
            for (int x = 0; x < w; ++x) {
                uint32_t v = Widen<k565, kSwap>(in[x]);
                first[2 * x] = v;
                first[2 * x + 1] = v;
            }
        } else {
            uint32_t* o = first;
            for (int x = 0; x < w; ++x) {
                uint32_t v = Widen<k565, kSwap>(in[x]);
                for (int k = 0; k < scale; ++k) *o++ = v;
            }
        }
        out += dstPitchBytes;
        for (int k = 1; k < scale; ++k) {
            std::memcpy(out, first, rowBytes);
            out += dstPitchBytes;
        }
    }
}

}  // namespace

void ExpandFrame(const Surface16& src, const PixelFormat& format, bool swapRB, int scale, uint32_t* dst,
                 int dstPitchBytes) {
    if (scale < 1) scale = 1;
    bool is565 = format.maskG == 0x07E0;
    if (is565) {
        swapRB ? ExpandRows<true, true>(src, scale, dst, dstPitchBytes)
               : ExpandRows<true, false>(src, scale, dst, dstPitchBytes);
    } else {
        swapRB ? ExpandRows<false, true>(src, scale, dst, dstPitchBytes)
               : ExpandRows<false, false>(src, scale, dst, dstPitchBytes);
    }
}

}  // namespace plat::detail
