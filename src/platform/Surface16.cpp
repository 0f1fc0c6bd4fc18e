// Software 16-bit surfaces: allocation with 32-byte aligned rows, locking,
// loss and restore, and the conversion of RGB colour values to pixels.
#include "platform/Surface16.h"

#include <cstdlib>
#include <cstring>

namespace plat {

namespace {

int ChannelShift(uint32_t mask) {
    int shift = 0;
    while (mask != 0 && (mask & 1) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

int ChannelBits(uint32_t mask) {
    mask >>= ChannelShift(mask);
    int bits = 0;
    while (mask & 1) {
        mask >>= 1;
        ++bits;
    }
    return bits;
}

// Channels wider than 8 bits are not a display format, but a caller-made
// PixelFormat may still have one: scale instead of shifting by a negative
// count.
uint32_t PackChannel(uint32_t value8, uint32_t mask) {
    int bits = ChannelBits(mask);
    if (bits == 0) return 0;
    uint32_t v = bits <= 8 ? value8 >> (8 - bits) : value8 << (bits - 8);
    return (v << ChannelShift(mask)) & mask;
}

uint32_t WidenChannel(uint16_t pixel, uint32_t mask) {
    int bits = ChannelBits(mask);
    if (bits == 0) return 0;
    uint32_t v = (pixel & mask) >> ChannelShift(mask);
    if (bits >= 8) return v >> (bits - 8);
    uint32_t wide = v << (8 - bits);
    // Replicate the top bits into the freed low bits (repeatedly for
    // channels narrower than 4 bits).
    for (int filled = bits; filled < 8; filled += bits) wide |= wide >> bits;
    return wide & 0xFF;
}

}  // namespace

uint16_t PixelFromColorRef(const PixelFormat& format, uint32_t colorRef) {
    uint32_t r = colorRef & 0xFF;
    uint32_t g = (colorRef >> 8) & 0xFF;
    uint32_t b = (colorRef >> 16) & 0xFF;
    return static_cast<uint16_t>(PackChannel(r, format.maskR) | PackChannel(g, format.maskG) |
                                 PackChannel(b, format.maskB));
}

uint32_t ColorRefFromPixel(const PixelFormat& format, uint16_t pixel) {
    return WidenChannel(pixel, format.maskR) | (WidenChannel(pixel, format.maskG) << 8) |
           (WidenChannel(pixel, format.maskB) << 16);
}

Surface16::Surface16(int width, int height)
    : width_(width), height_(height), pitchPixels_(0), pixels_(nullptr) {
    if (width_ < 0 || height_ < 0) width_ = height_ = 0;
    // Rows are padded to 16 pixels (32 bytes) so that every row starts on a
    // vector boundary. Sizes whose buffer cannot exist leave a 0 x 0 surface:
    // every non-empty rectangle on it is then refused instead of touching
    // memory that was never allocated.
    int64_t pitch = (static_cast<int64_t>(width_) + 15) & ~int64_t{15};
    int64_t bytes = pitch * height_ * 2;
    if (pitch > kMaxPitchPixels || bytes > kMaxBytes) {
        width_ = height_ = 0;
        pitch = 0;
        bytes = 0;
    }
    if (bytes == 0) bytes = 32;
    pixels_ = static_cast<uint16_t*>(std::aligned_alloc(32, static_cast<size_t>(bytes)));
    if (pixels_ == nullptr) {
        width_ = height_ = 0;
        pitch = 0;
        bytes = 32;
        pixels_ = static_cast<uint16_t*>(std::aligned_alloc(32, static_cast<size_t>(bytes)));
    }
    pitchPixels_ = static_cast<int>(pitch);
    if (pixels_ != nullptr) std::memset(pixels_, 0, static_cast<size_t>(bytes));
}

Surface16::~Surface16() { std::free(pixels_); }

Result Surface16::lock(void** bits, long* pitchBytes) {
    if (lost_) return kErrSurfaceLost;
    ++lockCount_;
    *bits = pixels_;
    *pitchBytes = pitch();
    return kOk;
}

void Surface16::unlock() {
    if (lockCount_ > 0) --lockCount_;
}

Result Surface16::restore() {
    lost_ = false;
    return kOk;
}

}  // namespace plat
