// Writing a 16-bit surface as a 24-bit bottom-up BMP file: the --screenshot
// option (channels widened by bit replication, so black stays 0 and full
// intensity becomes 255) and kaDraw's own screen saver (a 58-byte header and
// channels times 8), both through one writer.
#include <algorithm>
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

// The top five bits of a channel (a 6-bit green loses its lowest bit).
uint32_t TopFive(uint16_t pixel, uint32_t mask) {
    if (mask == 0) return 0;
    int shift = 0, bits = 0;
    while (((mask >> shift) & 1) == 0) ++shift;
    while (shift + bits < 32 && ((mask >> (shift + bits)) & 1) != 0) ++bits;
    const uint32_t v = (pixel & mask) >> shift;
    return bits >= 5 ? v >> (bits - 5) : v << (5 - bits);
}

// 0x00BBGGRR of a pixel as the layout asks.
uint32_t FileColor(const PixelFormat& format, uint16_t pixel, Bmp24Layout::Channels channels) {
    if (channels == Bmp24Layout::Channels::Replicate) return ColorRefFromPixel(format, pixel);
    return TopFive(pixel, format.maskR) * 8 | (TopFive(pixel, format.maskG) * 8) << 8 |
           (TopFive(pixel, format.maskB) * 8) << 16;
}

}  // namespace

bool WriteBmp24(const Surface16& surface, const PixelFormat& format, const char* path, const Bmp24Layout& layout) {
    const int w = layout.width < 0 ? surface.width() : std::min(layout.width, surface.width());
    const int h = layout.height < 0 ? surface.height() : std::min(layout.height, surface.height());
    if (path == nullptr || w < 1 || h < 1 || surface.row(0) == nullptr) return false;
    const uint32_t rowSize = (static_cast<uint32_t>(w) * 3 + 3) & ~3u;
    const uint64_t imageSize = static_cast<uint64_t>(rowSize) * static_cast<uint64_t>(h);
    const uint32_t headerSize = 14 + 40 + (layout.paletteEntry ? 4 : 0);
    if (imageSize + headerSize > 0xFFFFFFFFu) return false;

    uint8_t header[14 + 40 + 4] = {};
    header[0] = 'B';
    header[1] = 'M';
    Put32(header + 2, static_cast<uint32_t>(headerSize + imageSize));
    Put32(header + 10, headerSize);
    Put32(header + 14, 40);
    Put32(header + 18, static_cast<uint32_t>(w));
    Put32(header + 22, static_cast<uint32_t>(h));  // positive: bottom row first
    Put16(header + 26, 1);
    Put16(header + 28, 24);
    Put32(header + 34, static_cast<uint32_t>(imageSize));
    Put32(header + 38, layout.pixelsPerMetre);
    Put32(header + 42, layout.pixelsPerMetre);

    FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    bool ok = std::fwrite(header, headerSize, 1, file) == 1;
    std::vector<uint8_t> row(rowSize, 0);
    for (int y = h - 1; ok && y >= 0; --y) {
        const uint16_t* in = surface.row(y);
        uint8_t* out = row.data();
        for (int x = 0; x < w; ++x) {
            uint32_t rgb = FileColor(format, in[x], layout.channels);  // 0x00BBGGRR
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
