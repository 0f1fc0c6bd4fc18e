// Writing a 16-bit surface as a 24-bit bottom-up BMP file (the --screenshot
// option and tests). Channels widen to 8 bits by bit replication, so black
// stays 0 and full intensity becomes 255.
#include <cstdio>
#include <vector>

#include "platform/Display.h"

namespace plat {

namespace {

void Put16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void Put32(uint8_t* p, uint32_t v) {
    Put16(p, v);
    Put16(p + 2, v >> 16);
}

}  // namespace

bool WriteBmp24(const Surface16& surface, const PixelFormat& format, const char* path) {
    const int w = surface.width();
    const int h = surface.height();
    if (path == nullptr || w < 1 || h < 1 || surface.row(0) == nullptr) return false;
    const uint32_t rowSize = (static_cast<uint32_t>(w) * 3 + 3) & ~3u;
    const uint64_t imageSize = static_cast<uint64_t>(rowSize) * static_cast<uint64_t>(h);
    constexpr uint32_t kHeaderSize = 14 + 40;
    if (imageSize + kHeaderSize > 0xFFFFFFFFu) return false;

    uint8_t header[kHeaderSize] = {};
    header[0] = 'B';
    header[1] = 'M';
    Put32(header + 2, static_cast<uint32_t>(kHeaderSize + imageSize));
    Put32(header + 10, kHeaderSize);
    Put32(header + 14, 40);
    Put32(header + 18, static_cast<uint32_t>(w));
    Put32(header + 22, static_cast<uint32_t>(h));  // positive: bottom row first
    Put16(header + 26, 1);
    Put16(header + 28, 24);
    Put32(header + 34, static_cast<uint32_t>(imageSize));
    Put32(header + 38, 2835);  // 72 dpi
    Put32(header + 42, 2835);

    FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    bool ok = std::fwrite(header, sizeof header, 1, file) == 1;
    std::vector<uint8_t> row(rowSize, 0);
    for (int y = h - 1; ok && y >= 0; --y) {
        const uint16_t* in = surface.row(y);
        uint8_t* out = row.data();
        for (int x = 0; x < w; ++x) {
            uint32_t rgb = ColorRefFromPixel(format, in[x]);  // 0x00BBGGRR
            *out++ = static_cast<uint8_t>(rgb >> 16);
            *out++ = static_cast<uint8_t>(rgb >> 8);
            *out++ = static_cast<uint8_t>(rgb);
        }
        ok = std::fwrite(row.data(), rowSize, 1, file) == 1;
    }
    if (std::fclose(file) != 0) ok = false;
    if (!ok) std::remove(path);
    return ok;
}

}  // namespace plat
