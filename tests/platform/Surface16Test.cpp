// Surfaces: impossible sizes, locking of lost surfaces, and the
// conversion between RGB colour values and 5-6-5 / 5-5-5 pixels.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "platform/Blit.h"
#include "platform/Surface16.h"

namespace plat {
namespace {

TEST(Surface16, ImpossibleSizesGiveAnEmptySurfaceThatRefusesDrawing) {
    for (auto size : {std::pair{-5, 10}, std::pair{10, -1}, std::pair{INT_MAX, 2}, std::pair{100000, 100000}}) {
        Surface16 s(size.first, size.second);
        EXPECT_EQ(s.width(), 0);
        EXPECT_EQ(s.height(), 0);
        EXPECT_EQ(Fill(s, {0, 0, 1, 1}, 1), kErrInvalidRect);
    }
}

TEST(Surface16, LockFailsWhileLostAndWorksAfterRestore) {
    Surface16 s(4, 4);
    void* bits = nullptr;
    long pitch = 0;
    s.markLost();
    EXPECT_EQ(s.lock(&bits, &pitch), kErrSurfaceLost);
    EXPECT_FALSE(s.isLocked());
    EXPECT_EQ(s.restore(), kOk);
    ASSERT_EQ(s.lock(&bits, &pitch), kOk);
    EXPECT_EQ(bits, s.row(0));
    EXPECT_EQ(pitch, s.pitch());
    s.unlock();
    EXPECT_FALSE(s.isLocked());
}

TEST(PixelConversion, PrimaryColoursIn565And555) {
    const PixelFormat f565 = PixelFormat::Rgb565(), f555 = PixelFormat::Rgb555();
    // Colour values are 0x00BBGGRR.
    EXPECT_EQ(PixelFromColorRef(f565, 0xFF0000), 0x001F);
    EXPECT_EQ(PixelFromColorRef(f565, 0x00FF00), 0x07E0);
    EXPECT_EQ(PixelFromColorRef(f565, 0x0000FF), 0xF800);
    EXPECT_EQ(PixelFromColorRef(f565, 0xFFFFFF), 0xFFFF);
    EXPECT_EQ(PixelFromColorRef(f555, 0xFF0000), 0x001F);
    EXPECT_EQ(PixelFromColorRef(f555, 0x00FF00), 0x03E0);
    EXPECT_EQ(PixelFromColorRef(f555, 0x0000FF), 0x7C00);
    EXPECT_EQ(PixelFromColorRef(f555, 0xFFFFFF), 0x7FFF);
    // Bits below one step of a channel are dropped.
    EXPECT_EQ(PixelFromColorRef(f565, 0x070307), 0x0000);
    EXPECT_EQ(PixelFromColorRef(f565, 0x080408), 0x0821);
}

TEST(PixelConversion, WideningReplicatesTopBits) {
    EXPECT_EQ(ColorRefFromPixel(PixelFormat::Rgb565(), 0xFFFF), 0xFFFFFFu);
    EXPECT_EQ(ColorRefFromPixel(PixelFormat::Rgb555(), 0x7FFF), 0xFFFFFFu);
    EXPECT_EQ(ColorRefFromPixel(PixelFormat::Rgb565(), 0x001F), 0xFF0000u);
    // 5-bit 1 -> 0b00001000 | 0b00000000 = 8; 6-bit 2 -> 0b00001000 = 8.
    EXPECT_EQ(ColorRefFromPixel(PixelFormat::Rgb565(), 0x0841), 0x080808u);
}

TEST(PixelConversion, EveryPixelSurvivesTheRoundTrip) {
    for (uint32_t p = 0; p < 0x10000; ++p) {
        ASSERT_EQ(PixelFromColorRef(PixelFormat::Rgb565(), ColorRefFromPixel(PixelFormat::Rgb565(), p)), p);
        uint16_t p555 = p & 0x7FFF;
        ASSERT_EQ(PixelFromColorRef(PixelFormat::Rgb555(), ColorRefFromPixel(PixelFormat::Rgb555(), p555)), p555);
    }
}

TEST(PixelConversion, UnusualChannelWidthsStayInRange) {
    // A 3-bit channel widens to the full 8-bit range, a 9-bit one keeps
    // its top 8 bits; neither shifts by a negative count.
    PixelFormat odd{0x0007, 0x0FF8, 0x0000};
    EXPECT_EQ(ColorRefFromPixel(odd, 0x0007), 0x0000FFu);
    EXPECT_EQ(ColorRefFromPixel(odd, 0x0004), 0x000092u);
    EXPECT_EQ(ColorRefFromPixel(odd, 0x0FF8), 0x00FF00u);
    EXPECT_EQ(PixelFromColorRef(odd, 0x00FFFF), 0x0FFF & ~0x0008);
}

}  // namespace
}  // namespace plat
