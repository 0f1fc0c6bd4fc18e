// The 24-bit BMP writer: header fields, bottom-up row order, row padding and
// the widening of 5-6-5 and 5-5-5 channels to 8 bits.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/Display.h"

namespace {

std::vector<uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t Get32(const std::vector<uint8_t>& d, size_t at) {
    return d[at] | (d[at + 1] << 8) | (d[at + 2] << 16) | (uint32_t(d[at + 3]) << 24);
}
uint16_t Get16(const std::vector<uint8_t>& d, size_t at) { return static_cast<uint16_t>(d[at] | (d[at + 1] << 8)); }

struct Bgr {
    uint8_t b, g, r;
    bool operator==(const Bgr& o) const { return b == o.b && g == o.g && r == o.r; }
};

// Pixel (x, y) of a 24-bit bottom-up file.
Bgr PixelAt(const std::vector<uint8_t>& d, int x, int y) {
    int w = static_cast<int>(Get32(d, 18));
    int h = static_cast<int>(Get32(d, 22));
    size_t row = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
    size_t at = Get32(d, 10) + static_cast<size_t>(h - 1 - y) * row + static_cast<size_t>(x) * 3;
    return {d[at], d[at + 1], d[at + 2]};
}

std::string TempPath(const char* name) { return std::string(KA_BINARY_DIR) + "/" + name; }

TEST(WriteBmp24, HeaderAndRowsOfAnOddWidthSurface) {
    plat::Surface16 s(3, 2);
    const uint16_t top[3] = {0xF800, 0x07E0, 0x001F};     // red, green, blue
    const uint16_t bottom[3] = {0xFFFF, 0x0000, 0x8410};  // white, black, mid grey
    for (int x = 0; x < 3; ++x) {
        s.row(0)[x] = top[x];
        s.row(1)[x] = bottom[x];
    }
    std::string path = TempPath("screenshot_565.bmp");
    ASSERT_TRUE(plat::WriteBmp24(s, plat::PixelFormat::Rgb565(), path.c_str()));
    std::vector<uint8_t> d = ReadAll(path);
    std::remove(path.c_str());

    const uint32_t rowSize = 12;  // 9 bytes padded to 12
    ASSERT_EQ(d.size(), 54 + 2 * rowSize);
    EXPECT_EQ(d[0], 'B');
    EXPECT_EQ(d[1], 'M');
    EXPECT_EQ(Get32(d, 2), d.size());
    EXPECT_EQ(Get32(d, 10), 54u);
    EXPECT_EQ(Get32(d, 14), 40u);
    EXPECT_EQ(Get32(d, 18), 3u);
    EXPECT_EQ(Get32(d, 22), 2u);  // positive height: bottom-up
    EXPECT_EQ(Get16(d, 26), 1);
    EXPECT_EQ(Get16(d, 28), 24);
    EXPECT_EQ(Get32(d, 30), 0u);
    EXPECT_EQ(Get32(d, 34), 2 * rowSize);

    EXPECT_EQ(PixelAt(d, 0, 0), (Bgr{0, 0, 255}));
    EXPECT_EQ(PixelAt(d, 1, 0), (Bgr{0, 255, 0}));
    EXPECT_EQ(PixelAt(d, 2, 0), (Bgr{255, 0, 0}));
    EXPECT_EQ(PixelAt(d, 0, 1), (Bgr{255, 255, 255}));
    EXPECT_EQ(PixelAt(d, 1, 1), (Bgr{0, 0, 0}));
    // 0x8410: r=16, g=32, b=16 -> replicated 0x84, 0x82, 0x84.
    EXPECT_EQ(PixelAt(d, 2, 1), (Bgr{0x84, 0x82, 0x84}));
    // The bottom row comes first in the file, padding bytes are zero.
    EXPECT_EQ(d[54], 255);
    EXPECT_EQ(d[54 + 9], 0);
    EXPECT_EQ(d[54 + 10], 0);
    EXPECT_EQ(d[54 + 11], 0);
}

TEST(WriteBmp24, FiveFiveFiveChannels) {
    plat::Surface16 s(4, 1);
    const uint16_t px[4] = {0x7C00, 0x03E0, 0x001F, 0x7FFF};
    for (int x = 0; x < 4; ++x) s.row(0)[x] = px[x];
    std::string path = TempPath("screenshot_555.bmp");
    ASSERT_TRUE(plat::WriteBmp24(s, plat::PixelFormat::Rgb555(), path.c_str()));
    std::vector<uint8_t> d = ReadAll(path);
    std::remove(path.c_str());
    ASSERT_EQ(d.size(), 54u + 12);
    EXPECT_EQ(PixelAt(d, 0, 0), (Bgr{0, 0, 255}));
    EXPECT_EQ(PixelAt(d, 1, 0), (Bgr{0, 255, 0}));
    EXPECT_EQ(PixelAt(d, 2, 0), (Bgr{255, 0, 0}));
    EXPECT_EQ(PixelAt(d, 3, 0), (Bgr{255, 255, 255}));
}

TEST(WriteBmp24, UnwritablePathFails) {
    plat::Surface16 s(2, 2);
    EXPECT_FALSE(plat::WriteBmp24(s, plat::PixelFormat::Rgb565(), "/nonexistent-folder/shot.bmp"));
    EXPECT_FALSE(plat::WriteBmp24(s, plat::PixelFormat::Rgb565(), nullptr));
}

}  // namespace
