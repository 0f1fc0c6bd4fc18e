// Reading the window icon the program carries: an .ico file image whose
// entries are 32-bit uncompressed bitmaps. The reader never reads past the
// bytes it is given; anything else is refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace plat {

struct DecodedIcon {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0xAARRGGBB, top row first
};

// Decodes the largest 32-bit entry of an .ico image. False (and `out` left
// empty) when there is none or the data is malformed or truncated.
bool DecodeIcon(const uint8_t* data, size_t size, DecodedIcon* out);

}  // namespace plat
