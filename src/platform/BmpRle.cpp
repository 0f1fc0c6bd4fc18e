// RLE8 and RLE4 expansion for the BMP decoder. Runs that reach past the end
// of a row are cut there; pixels skipped by delta or end-of-line codes keep
// the black they were cleared to.
#include "platform/Bmp.h"

#include <algorithm>

namespace plat {
namespace bmp_detail {

namespace {

// Write position in a bottom-up bitmap; (x, y) past the bitmap writes
// nothing. Coordinates are clamped so that no run or delta can overflow them.
class Cursor {
public:
    Cursor(int width, int height, const uint32_t* palette, uint32_t* pixels)
        : width_(width), height_(height), palette_(palette), pixels_(pixels) {}

    void put(unsigned index) {
        if (x_ < width_ && y_ < height_) {
            pixels_[static_cast<size_t>(height_ - 1 - y_) * static_cast<size_t>(width_) + static_cast<size_t>(x_)] =
                palette_[index & 0xFF];
        }
        if (x_ < width_) ++x_;
    }
    void endOfLine() {
        x_ = 0;
        if (y_ < height_) ++y_;
    }
    void move(int dx, int dy) {
        x_ = std::min(x_ + dx, width_);
        y_ = std::min(y_ + dy, height_);
    }
    // Every row has been reached: nothing later in the stream could show.
    bool pastEnd() const { return y_ >= height_ || (y_ == height_ - 1 && x_ >= width_); }

private:
    int x_ = 0;
    int y_ = 0;
    int width_;
    int height_;
    const uint32_t* palette_;
    uint32_t* pixels_;
};

}  // namespace

bool DecodeRle(const uint8_t* data, size_t size, int bits, int width, int height, const uint32_t* palette,
               uint32_t* pixels) {
    Cursor cursor(width, height, palette, pixels);
    size_t i = 0;
    while (size - i >= 2) {
        const unsigned count = data[i];
        const unsigned value = data[i + 1];
        i += 2;
        if (count > 0) {
            // Encoded run: one index repeated, or two nibbles alternating.
            for (unsigned k = 0; k < count; ++k) {
                cursor.put(bits == 8 ? value : (k & 1) ? (value & 15) : (value >> 4));
            }
            continue;
        }
        switch (value) {
        case 0:
            cursor.endOfLine();
            break;
        case 1:
            return true;
        case 2:
            if (size - i < 2) return cursor.pastEnd();
            cursor.move(data[i], data[i + 1]);
            i += 2;
            break;
        default: {
            // Absolute run of `value` indices, padded to a 16-bit boundary.
            size_t bytes = bits == 8 ? value : (value + 1) / 2;
            if (size - i < bytes) return false;
            for (unsigned k = 0; k < value; ++k) {
                const uint8_t b = data[i + (bits == 8 ? k : k / 2)];
                cursor.put(bits == 8 ? b : (k & 1) ? (b & 15) : (b >> 4));
            }
            i += bytes + (bytes & 1);
            i = std::min(i, size);
            break;
        }
        }
    }
    return cursor.pastEnd();
}

}  // namespace bmp_detail
}  // namespace plat
