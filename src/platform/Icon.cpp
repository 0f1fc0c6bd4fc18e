// The .ico reader: the directory, then the chosen entry's bitmap header and
// its colour rows (bottom-up, with alpha); the AND mask is not needed when
// the colours carry alpha.
#include "platform/Icon.h"

namespace plat {
namespace {

constexpr size_t kDirHeader = 6;
constexpr size_t kDirEntry = 16;
constexpr size_t kBitmapHeader = 40;
constexpr int kMaxSide = 256;

uint32_t Get16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t Get32(const uint8_t* p) { return Get16(p) | Get16(p + 2) << 16; }
int32_t GetSigned32(const uint8_t* p) { return static_cast<int32_t>(Get32(p)); }

struct Entry {
    size_t offset = 0;
    size_t bytes = 0;
    int width = 0;
    int height = 0;
};

// Checks one entry's bitmap header: 32 bits, uncompressed, sides within
// bounds and the colour rows inside the entry and inside the data.
bool ReadEntry(const uint8_t* data, size_t size, const uint8_t* dirEntry, Entry* out) {
    const size_t bytes = Get32(dirEntry + 8);
    const size_t offset = Get32(dirEntry + 12);
    if (offset > size || bytes > size - offset || bytes < kBitmapHeader) return false;
    const uint8_t* header = data + offset;
    if (Get32(header) < kBitmapHeader) return false;
    const int32_t width = GetSigned32(header + 4);
    const int32_t doubledHeight = GetSigned32(header + 8);
    if (Get16(header + 12) != 1 || Get16(header + 14) != 32 || Get32(header + 16) != 0) return false;
    if (width < 1 || width > kMaxSide || doubledHeight < 2 || doubledHeight > 2 * kMaxSide || doubledHeight % 2 != 0)
        return false;
    const size_t colourBytes = size_t(width) * size_t(doubledHeight / 2) * 4;
    const size_t headerBytes = Get32(header);
    if (headerBytes > bytes || colourBytes > bytes - headerBytes) return false;
    out->offset = offset + headerBytes;
    out->bytes = colourBytes;
    out->width = width;
    out->height = doubledHeight / 2;
    return true;
}

}  // namespace

bool DecodeIcon(const uint8_t* data, size_t size, DecodedIcon* out) {
    *out = DecodedIcon{};
    if (data == nullptr || size < kDirHeader) return false;
    if (Get16(data) != 0 || Get16(data + 2) != 1) return false;
    const size_t count = Get16(data + 4);
    if (count == 0 || count > (size - kDirHeader) / kDirEntry) return false;
    Entry best;
    for (size_t i = 0; i < count; ++i) {
        Entry entry;
        if (ReadEntry(data, size, data + kDirHeader + i * kDirEntry, &entry) &&
            int64_t{entry.width} * entry.height > int64_t{best.width} * best.height)
            best = entry;
    }
    if (best.width == 0) return false;
    out->width = best.width;
    out->height = best.height;
    out->pixels.resize(size_t(best.width) * best.height);
    const uint8_t* rows = data + best.offset;
    for (int y = 0; y < best.height; ++y) {
        const uint8_t* row = rows + size_t(best.height - 1 - y) * best.width * 4;
        for (int x = 0; x < best.width; ++x) out->pixels[size_t(y) * best.width + x] = Get32(row + size_t(x) * 4);
    }
    return true;
}

}  // namespace plat
