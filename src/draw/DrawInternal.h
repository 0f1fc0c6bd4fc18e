// Helpers shared by the kaDraw source files (and their tests): sprite-number
// checks, the pieces of display set-up, bitmap decoding and the error text.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "draw/kaDraw.h"
#include "platform/Bmp.h"

namespace kadraw {

constexpr int kSpriteCount = 1024;
constexpr int kFirstFreeSlot = 4;
constexpr size_t kNameLimit = 30;    // bytes of a sprite name, terminator excluded
constexpr uint32_t kLeftTopKey = 0xFFFFFFFF;

// The slot's surface, or nullptr for a number outside the table or a slot
// without a surface. Every function taking a sprite number goes through this.
inline plat::Surface16* SpriteSurface(int ObjDD) {
    if (ObjDD < 0 || ObjDD >= kSpriteCount) return nullptr;
    return Sprite[ObjDD].Object;
}

// The lowest free slot from 4 on, or -1.
int FindFreeSlot();
// Releases the slot's surface, if any, and leaves the record as a free slot.
void EmptySlot(kaDraw::_sprite& s);
// Gives a freshly filled sprite its key: the colour chosen by SetSpriteColor,
// or its own top-left pixel after SetSpriteLeftTop; records it in Color.
void ApplyLoadKey(kaDraw::_sprite& s);

// Pixel format and start-up tables.
// Derives the mask, shift and halving statics; false for a format with an
// empty channel (no shift could be found for it).
bool DerivePixelFormat(const plat::PixelFormat& format);
void BuildRotateData();
// GetRGB, the blend tables, GrayList and the fire noise.
void BuildColorTables();

// Reduces 0x00RRGGBB colours to a pixel format by dropping the low bits of
// each channel: the same rounding as plat::PixelFromColorRef, so that a pixel
// of a loaded bitmap equals the colour key made from the same colour.
class RgbPacker {
public:
    explicit RgbPacker(const plat::PixelFormat& format)
        : r_(ChannelOf(format.maskR)), g_(ChannelOf(format.maskG)), b_(ChannelOf(format.maskB)) {}
    uint16_t operator()(uint32_t rgb) const {
        return static_cast<uint16_t>(Pack(r_, (rgb >> 16) & 0xFF) | Pack(g_, (rgb >> 8) & 0xFF) | Pack(b_, rgb & 0xFF));
    }

private:
    struct Channel {
        int shift = 0;
        int bits = 0;
        uint32_t mask = 0;
    };
    static Channel ChannelOf(uint32_t mask) {
        Channel c;
        c.mask = mask;
        if (mask == 0) return c;
        while (((mask >> c.shift) & 1) == 0) ++c.shift;
        while (c.shift + c.bits < 32 && ((mask >> (c.shift + c.bits)) & 1)) ++c.bits;
        return c;
    }
    static uint32_t Pack(const Channel& c, uint32_t value8) {
        if (c.bits == 0) return 0;
        uint32_t v = c.bits <= 8 ? value8 >> (8 - c.bits) : value8 << (c.bits - 8);
        return (v << c.shift) & c.mask;
    }
    Channel r_, g_, b_;
};

// Bitmap sources: a built-in resource of type BITMAP, or a BMP file.
bool DecodeBitmapResource(const char* name, plat::DecodedBitmap* out);
bool DecodeBitmapFile(const std::string& path, plat::DecodedBitmap* out);

// "Function : Message" into out (size bytes including the terminator),
// cut at a character boundary when it does not fit. Returns its length.
size_t FormatErrorText(char* out, size_t size, const char* function, const char* message);

// The destination clipping of the layer copies against the virtual screen.
// Returns false when nothing is to be drawn. Inline: the row-copying layers
// clip thousands of single rows per call.
inline bool ClipLayer(int* Px, int* Py, int* X1, int* Y1, int* X2, int* Y2) {
    // 64-bit arithmetic: extreme coordinates must not wrap into a rectangle
    // that looks drawable.
    int64_t px = *Px, py = *Py, x1 = *X1, y1 = *Y1, x2 = *X2, y2 = *Y2;
    const int64_t w = x2 - x1, h = y2 - y1;
    if (px + w > kaDraw::Vx2) x2 -= px + w - kaDraw::Vx2;
    if (py + h > kaDraw::Vy2) y2 -= py + h - kaDraw::Vy2;
    if (px < kaDraw::Vx1) {
        x1 += kaDraw::Vx1 - px;
        px = kaDraw::Vx1;
    }
    if (py < kaDraw::Vy1) {
        y1 += kaDraw::Vy1 - py;
        py = kaDraw::Vy1;
    }
    if (x2 < x1 || y2 < y1) return false;
    for (int64_t v : {px, py, x1, y1, x2, y2})
        if (v < INT_MIN || v > INT_MAX) return false;
    *Px = static_cast<int>(px);
    *Py = static_cast<int>(py);
    *X1 = static_cast<int>(x1);
    *Y1 = static_cast<int>(y1);
    *X2 = static_cast<int>(x2);
    *Y2 = static_cast<int>(y2);
    return true;
}

// The fade transitions drawn by Refresh for FadeType 1..12.
void DrawFadeTransition();

}  // namespace kadraw
