// BMP decoding: file and info headers (core, info, V2..V5), palettes,
// channel masks and the uncompressed pixel layouts. RLE streams are expanded
// in BmpRle.cpp. Every read is checked against the size of the input first.
#include "platform/Bmp.h"

#include <algorithm>
#include <array>
#include <utility>

namespace plat {

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;

constexpr size_t kFileHeaderSize = 14;

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}
int64_t I32(const uint8_t* p) {
    uint32_t v = U32(p);
    return v >= 0x80000000u ? static_cast<int64_t>(v) - (int64_t{1} << 32) : static_cast<int64_t>(v);
}

// One colour channel of a masked 16- or 32-bit pixel, widened to 8 bits.
class Channel {
public:
    // False when the mask's bits are not contiguous.
    bool init(uint32_t mask) {
        mask_ = mask;
        shift_ = 0;
        bits_ = 0;
        if (mask == 0) return true;
        while (!((mask >> shift_) & 1u)) ++shift_;
        uint32_t m = mask >> shift_;
        if (m & (m + 1)) return false;
        while (bits_ < 32 && ((m >> bits_) & 1u)) ++bits_;
        if (bits_ <= 8) {
            // Spread the channel's range over 0..255 (31 -> 255, 16 -> 132).
            uint32_t max = (1u << bits_) - 1;
            for (uint32_t v = 0; v <= max; ++v) widen_[v] = static_cast<uint8_t>((v * 255 + max / 2) / max);
        }
        return true;
    }
    uint32_t operator()(uint32_t pixel) const {
        if (bits_ == 0) return 0;
        uint32_t v = (pixel & mask_) >> shift_;
        return bits_ <= 8 ? widen_[v] : v >> (bits_ - 8);
    }

private:
    uint32_t mask_ = 0;
    int shift_ = 0;
    int bits_ = 0;
    std::array<uint8_t, 256> widen_{};
};

struct Header {
    int64_t width = 0;
    int64_t height = 0;  // negative: rows stored top first
    int bits = 0;
    uint32_t compression = kBiRgb;
    uint32_t colorsUsed = 0;
    size_t paletteOffset = 0;  // where the colour table starts
    size_t paletteEntrySize = 4;
    size_t headersEnd = 0;  // first byte after the headers and any separate masks
    uint32_t masks[3] = {0, 0, 0};
};

bool ReadHeader(const uint8_t* data, size_t size, Header* h) {
    if (size < kFileHeaderSize + 4 || data[0] != 'B' || data[1] != 'M') return false;
    const uint32_t infoSize = U32(data + kFileHeaderSize);
    const uint8_t* info = data + kFileHeaderSize;
    if (infoSize == 12) {
        // The old core header: 16-bit sizes, three-byte palette entries.
        if (size < kFileHeaderSize + 12) return false;
        h->width = U16(info + 4);
        h->height = U16(info + 6);
        h->bits = U16(info + 10);
        h->paletteEntrySize = 3;
        h->headersEnd = kFileHeaderSize + 12;
        h->paletteOffset = h->headersEnd;
        return h->bits == 1 || h->bits == 4 || h->bits == 8 || h->bits == 24;
    }
    if (infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 108 && infoSize != 124) return false;
    if (size < kFileHeaderSize + infoSize) return false;
    h->width = I32(info + 4);
    h->height = I32(info + 8);
    h->bits = U16(info + 14);
    h->compression = U32(info + 16);
    h->colorsUsed = U32(info + 32);
    h->headersEnd = kFileHeaderSize + infoSize;
    if (h->compression == kBiBitfields || h->compression == kBiAlphaBitfields) {
        const uint8_t* masks = info + 40;
        if (infoSize == 40) {
            // A plain info header keeps the masks in the three (or, with
            // alpha, four) words after it.
            size_t maskBytes = h->compression == kBiAlphaBitfields ? 16 : 12;
            if (size < h->headersEnd + maskBytes) return false;
            masks = data + h->headersEnd;
            h->headersEnd += maskBytes;
        }
        for (int c = 0; c < 3; ++c) h->masks[c] = U32(masks + 4 * c);
    }
    h->paletteOffset = h->headersEnd;
    return true;
}

uint32_t PaletteColor(const uint8_t* entry) {
    return (static_cast<uint32_t>(entry[2]) << 16) | (static_cast<uint32_t>(entry[1]) << 8) | entry[0];
}

// Decodes one uncompressed row of `width` pixels starting at `src`.
void DecodeRow(const uint8_t* src, int width, int bits, const uint32_t* palette, const Channel* channels,
               bool masked, uint32_t* dst) {
    switch (bits) {
    case 1:
        for (int x = 0; x < width; ++x) dst[x] = palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
        return;
    case 4:
        for (int x = 0; x < width; ++x) dst[x] = palette[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15];
        return;
    case 8:
        for (int x = 0; x < width; ++x) dst[x] = palette[src[x]];
        return;
    case 24:
        for (int x = 0; x < width; ++x, src += 3) dst[x] = PaletteColor(src);
        return;
    case 32:
        if (!masked) {
            for (int x = 0; x < width; ++x, src += 4) dst[x] = PaletteColor(src);
            return;
        }
        for (int x = 0; x < width; ++x, src += 4) {
            uint32_t p = U32(src);
            dst[x] = (channels[0](p) << 16) | (channels[1](p) << 8) | channels[2](p);
        }
        return;
    case 16:
        for (int x = 0; x < width; ++x, src += 2) {
            uint32_t p = U16(src);
            dst[x] = (channels[0](p) << 16) | (channels[1](p) << 8) | channels[2](p);
        }
        return;
    }
}

bool Decode(const uint8_t* data, size_t size, DecodedBitmap* out, const BmpLimits& limits) {
    Header h;
    if (!ReadHeader(data, size, &h)) return false;

    const bool topDown = h.height < 0;
    const int64_t width = h.width;
    const int64_t height = topDown ? -h.height : h.height;
    if (width < 1 || height < 1 || width > limits.maxWidth || height > limits.maxHeight ||
        width * height > limits.maxPixels) {
        return false;
    }

    const bool rle = h.compression == kBiRle8 || h.compression == kBiRle4;
    bool masked = false;
    switch (h.compression) {
    case kBiRgb:
        if (h.bits != 1 && h.bits != 4 && h.bits != 8 && h.bits != 16 && h.bits != 24 && h.bits != 32) return false;
        break;
    case kBiRle8:
    case kBiRle4:
        // RLE rows can only run bottom-up.
        if (h.bits != (h.compression == kBiRle8 ? 8 : 4) || topDown) return false;
        break;
    case kBiBitfields:
    case kBiAlphaBitfields:
        if (h.bits != 16 && h.bits != 32) return false;
        masked = true;
        break;
    default:
        return false;  // JPEG, PNG and unknown compressions
    }

    // Colour table: biClrUsed entries when given, else the full 2^bits.
    // Indices past the table read black.
    std::array<uint32_t, 256> palette{};
    if (h.bits <= 8) {
        const uint32_t full = 1u << h.bits;
        const uint32_t count = h.colorsUsed == 0 ? full : std::min(h.colorsUsed, full);
        if (h.paletteOffset > size || (size - h.paletteOffset) / h.paletteEntrySize < count) return false;
        for (uint32_t i = 0; i < count; ++i) palette[i] = PaletteColor(data + h.paletteOffset + i * h.paletteEntrySize);
    }

    Channel channels[3];
    if (h.bits == 16 && !masked) {
        h.masks[0] = 0x7C00;
        h.masks[1] = 0x03E0;
        h.masks[2] = 0x001F;
        masked = true;
    }
    if (masked) {
        for (int c = 0; c < 3; ++c) {
            if (!channels[c].init(h.masks[c])) return false;
        }
    }

    const uint32_t offBits = U32(data + 10);
    if (offBits < h.headersEnd || offBits > size) return false;
    const uint8_t* pixels = data + offBits;
    const size_t available = size - offBits;

    const int w = static_cast<int>(width);
    const int rows = static_cast<int>(height);
    out->width = w;
    out->height = rows;
    if (rle) {
        out->pixels.assign(static_cast<size_t>(width * height), 0);
        return bmp_detail::DecodeRle(pixels, available, h.bits, w, rows, palette.data(), out->pixels.data());
    }

    // Rows are padded to four bytes; the last row's padding may be missing.
    const uint64_t rowBits = static_cast<uint64_t>(width) * static_cast<uint64_t>(h.bits);
    const uint64_t stride = (rowBits + 31) / 32 * 4;
    const uint64_t needed = stride * static_cast<uint64_t>(height - 1) + (rowBits + 7) / 8;
    if (available < needed) return false;

    out->pixels.resize(static_cast<size_t>(width * height));
    for (int r = 0; r < rows; ++r) {
        const int y = topDown ? r : rows - 1 - r;
        DecodeRow(pixels + static_cast<size_t>(r) * stride, w, h.bits, palette.data(), channels, masked,
                  out->pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(w));
    }
    return true;
}

}  // namespace

bool DecodeBmp(const uint8_t* data, size_t size, DecodedBitmap* out, const BmpLimits& limits) {
    DecodedBitmap result;
    if (data == nullptr || !Decode(data, size, &result, limits)) {
        *out = DecodedBitmap();
        return false;
    }
    *out = std::move(result);
    return true;
}

}  // namespace plat
