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

uint32_t PackChannel(uint32_t value8, uint32_t mask) {
    return ((value8 >> (8 - ChannelBits(mask))) << ChannelShift(mask)) & mask;
}

uint32_t WidenChannel(uint16_t pixel, uint32_t mask) {
    int bits = ChannelBits(mask);
    uint32_t v = (pixel & mask) >> ChannelShift(mask);
    uint32_t wide = v << (8 - bits);
    return wide | (wide >> bits);
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
    : width_(width), height_(height), pitchPixels_((width + 15) & ~15) {
    size_t bytes = static_cast<size_t>(pitchPixels_) * static_cast<size_t>(height_) * 2;
    if (bytes == 0) bytes = 32;
    bytes = (bytes + 31) & ~static_cast<size_t>(31);
    pixels_ = static_cast<uint16_t*>(std::aligned_alloc(32, bytes));
    if (pixels_ != nullptr) std::memset(pixels_, 0, bytes);
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
