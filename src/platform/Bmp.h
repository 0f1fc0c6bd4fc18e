// BMP decoding: 1-, 4- and 8-bit palettised (uncompressed, RLE4, RLE8), 16-,
// 24- and 32-bit, bottom-up and top-down. The decoder never reads past the
// bytes it is given; a malformed or truncated file is refused.
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

// Decodes a BMP file image (starting with "BM"). Returns false when the data
// is not a bitmap this decoder accepts.
bool DecodeBmp(const uint8_t* data, size_t size, DecodedBitmap* out);

}  // namespace plat
