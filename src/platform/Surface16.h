// Software surface of 16-bit pixels (5-6-5 or 5-5-5): the back surface, the
// visible surface and every sprite live in one of these. Rows are reached
// through row(y) and pitch(); nothing else knows the memory layout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/Types.h"

namespace plat {

// Channel masks of a 16-bit pixel format.
struct PixelFormat {
    uint32_t maskR = 0xF800;
    uint32_t maskG = 0x07E0;
    uint32_t maskB = 0x001F;

    static PixelFormat Rgb565() { return {0xF800, 0x07E0, 0x001F}; }
    static PixelFormat Rgb555() { return {0x7C00, 0x03E0, 0x001F}; }
    bool operator==(const PixelFormat& o) const {
        return maskR == o.maskR && maskG == o.maskG && maskB == o.maskB;
    }
};

// Converts an RGB colour value 0x00BBGGRR to a raw pixel of the format:
// each 8-bit channel keeps its top bits.
uint16_t PixelFromColorRef(const PixelFormat& format, uint32_t colorRef);
// The inverse, each channel widened back to 8 bits by bit replication.
uint32_t ColorRefFromPixel(const PixelFormat& format, uint16_t pixel);

class Surface16 {
public:
    // Negative sizes, and sizes whose buffer cannot be allocated, give a
    // 0 x 0 surface.
    Surface16(int width, int height);
    ~Surface16();
    Surface16(const Surface16&) = delete;
    Surface16& operator=(const Surface16&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }
    // Row stride in bytes, and in pixels.
    int pitch() const { return pitchPixels_ * 2; }
    int pitchPixels() const { return pitchPixels_; }
    uint16_t* row(int y) { return pixels_ + static_cast<ptrdiff_t>(y) * pitchPixels_; }
    const uint16_t* row(int y) const { return pixels_ + static_cast<ptrdiff_t>(y) * pitchPixels_; }
    Rect bounds() const { return {0, 0, width_, height_}; }

    // Source colour key: keyed copies skip source pixels equal to it.
    bool hasColorKey() const { return hasKey_; }
    uint16_t colorKey() const { return key_; }
    void setColorKey(uint16_t key) { key_ = key; hasKey_ = true; }
    void clearColorKey() { hasKey_ = false; }

    // Whole-surface lock: address of pixel (0, 0) and the pitch in bytes.
    // Fails with kErrSurfaceLost on a lost surface.
    Result lock(void** bits, long* pitchBytes);
    void unlock();
    bool isLocked() const { return lockCount_ > 0; }

    // Lost surfaces: the display can take a surface's memory away; every
    // operation on it then fails with kErrSurfaceLost until restore().
    // markLost() lets tests (and a display reset) do that on purpose.
    bool isLost() const { return lost_; }
    void markLost() { lost_ = true; }
    Result restore();

    // The visible surface: writes to it are shown by the display.
    bool isPrimary() const { return primary_; }
    void setPrimary(bool primary) { primary_ = primary; }

private:
    static constexpr int64_t kMaxPitchPixels = int64_t{1} << 16;
    static constexpr int64_t kMaxBytes = int64_t{1} << 30;

    int width_;
    int height_;
    int pitchPixels_;
    uint16_t* pixels_;
    bool hasKey_ = false;
    uint16_t key_ = 0;
    bool lost_ = false;
    bool primary_ = false;
    int lockCount_ = 0;
};

}  // namespace plat
