// BMP decoding: 1-, 4- and 8-bit palettised (uncompressed, RLE4, RLE8), 16-,
// 24- and 32-bit (plain or with channel masks), bottom-up and top-down. The
// decoder never reads past the bytes it is given; a malformed or truncated
// file is refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace plat {

struct DecodedBitmap {
    int width = 0;
    int height = 0;
    // Row-major, top row first; each pixel 0x00RRGGBB.
    std::vector<uint32_t> pixels;
};

// Sizes above these are refused before anything is allocated.
struct BmpLimits {
    int maxWidth = 16384;
    int maxHeight = 16384;
    int64_t maxPixels = int64_t{64} << 20;
};

// Decodes a BMP file image (starting with "BM"). Returns false, leaving
// `out` empty, when the data is not a bitmap this decoder accepts.
// Palette indices beyond the bitmap's palette give black. Pixels that an
// RLE bitmap skips (delta and end-of-line codes) are black as well; an RLE
// stream that ends before the end of the bitmap is truncated and refused.
bool DecodeBmp(const uint8_t* data, size_t size, DecodedBitmap* out, const BmpLimits& limits = BmpLimits());

namespace bmp_detail {

// Expands RLE8 (bits 8) or RLE4 (bits 4) data of a bottom-up bitmap into
// `pixels` (width x height, top row first, already zeroed) through the
// 256-entry `palette`. False when the data ends before the bitmap does.
bool DecodeRle(const uint8_t* data, size_t size, int bits, int width, int height, const uint32_t* palette,
               uint32_t* pixels);

}  // namespace bmp_detail

}  // namespace plat
