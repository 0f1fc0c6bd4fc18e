// The program's icon: drawn from the game's sprites at every size, written as
// PNG files a desktop can read and as the .ico the program carries, and the
// program's own reader of that .ico, which refuses damaged files.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "assetgen/Bmp.h"
#include "assetgen/Icon.h"
#include "platform/Icon.h"

namespace {

using namespace assetgen;

ArgbImage Checkers(int w, int h) {
    ArgbImage image{w, h, std::vector<uint32_t>(size_t(w) * h)};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.pixels[size_t(y) * w + x] = (x + y) % 3 ? 0xFF000000u | (x << 16) | y : 0u;
    return image;
}

uint32_t Big32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}

TEST(IconTest, TheGamesIconIsTheHeroOnAFloorTileAtEverySize) {
    const Palette palette = Palette::Load(std::string(KA_SOURCE_DIR) + "/resources/sprites/palette.txt");
    SpriteBook book;
    book.LoadFile(std::string(KA_SOURCE_DIR) + "/resources/sprites/player.txt", palette);
    book.LoadFile(std::string(KA_SOURCE_DIR) + "/resources/sprites/tiles.txt", palette);
    const ArgbImage small = DrawIcon(book, palette, 32);
    for (int size : {64, 128, 256}) {
        const ArgbImage big = DrawIcon(book, palette, size);
        ASSERT_EQ(big.width, size);
        ASSERT_EQ(big.height, size);
        const int scale = size / 32;
        // Every pixel of the art becomes a square block: no smoothing.
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                ASSERT_EQ(big.pixels[size_t(y) * size + x], small.pixels[size_t(y / scale) * 32 + x / scale]);
    }
    // The floor tile fills the square, so the icon is opaque.
    for (uint32_t p : small.pixels) ASSERT_EQ(p >> 24, 0xFFu);
    EXPECT_THROW(DrawIcon(book, palette, 48), std::runtime_error);
}

TEST(IconTest, PngHoldsThePixelsWithValidChunks) {
    const ArgbImage image = Checkers(5, 3);
    const std::vector<uint8_t> png = EncodePng(image);
    ASSERT_EQ(std::memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8), 0);
    std::vector<uint8_t> packed;
    size_t at = 8;
    std::vector<std::string> order;
    while (at + 12 <= png.size()) {
        const uint32_t length = Big32(png, at);
        ASSERT_LE(at + 12 + length, png.size());
        const std::string type(png.begin() + at + 4, png.begin() + at + 8);
        const uLong crc = crc32(0, png.data() + at + 4, length + 4);
        EXPECT_EQ(Big32(png, at + 8 + length), crc) << type;
        if (type == "IHDR") {
            EXPECT_EQ(Big32(png, at + 8), 5u);
            EXPECT_EQ(Big32(png, at + 12), 3u);
            EXPECT_EQ(png[at + 16], 8);  // bits per channel
            EXPECT_EQ(png[at + 17], 6);  // RGBA
        }
        if (type == "IDAT") packed.insert(packed.end(), png.begin() + at + 8, png.begin() + at + 8 + length);
        order.push_back(type);
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    EXPECT_EQ(order, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    std::vector<uint8_t> raw(3 * (1 + 5 * 4));
    uLongf rawSize = raw.size();
    ASSERT_EQ(uncompress(raw.data(), &rawSize, packed.data(), packed.size()), Z_OK);
    ASSERT_EQ(rawSize, raw.size());
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(raw[y * 21], 0);
        for (int x = 0; x < 5; ++x) {
            const uint32_t p = image.pixels[y * 5 + x];
            const uint8_t* q = &raw[y * 21 + 1 + x * 4];
            EXPECT_EQ(uint32_t(q[3]) << 24 | uint32_t(q[0]) << 16 | uint32_t(q[1]) << 8 | q[2], p);
        }
    }
}

TEST(IconTest, ProgramReadsTheLargestEntryOfTheIco) {
    const ArgbImage small = Checkers(16, 16), large = Checkers(48, 40);
    const std::vector<uint8_t> ico = EncodeIco({small, large});
    plat::DecodedIcon icon;
    ASSERT_TRUE(plat::DecodeIcon(ico.data(), ico.size(), &icon));
    ASSERT_EQ(icon.width, 48);
    ASSERT_EQ(icon.height, 40);
    EXPECT_EQ(icon.pixels, large.pixels);

    // The icon the build made for the game reads back at 64 pixels.
    const std::vector<uint8_t> built = ReadBytes(std::string(KA_ICON_DIR) + "/MAIN.ico");
    ASSERT_TRUE(plat::DecodeIcon(built.data(), built.size(), &icon));
    EXPECT_EQ(icon.width, 64);
}

TEST(IconTest, DamagedIcoFilesAreRefused) {
    const std::vector<uint8_t> good = EncodeIco({Checkers(8, 8)});
    auto patched = [&](size_t at, std::vector<uint8_t> bytes) {
        std::vector<uint8_t> out = good;
        std::copy(bytes.begin(), bytes.end(), out.begin() + at);
        return out;
    };
    const size_t dib = 6 + 16;
    const std::vector<std::vector<uint8_t>> bad = {
        {},
        std::vector<uint8_t>(good.begin(), good.begin() + 5),
        std::vector<uint8_t>(good.begin(), good.end() - 40),   // colour rows cut short
        patched(2, {2, 0}),                                    // a cursor file, not an icon
        patched(4, {0, 0}),                                    // no entries
        patched(4, {200, 0}),                                  // more entries than the file holds
        patched(6 + 12, {0xF0, 0xFF, 0xFF, 0xFF}),             // entry beyond the end
        patched(6 + 8, {0xFF, 0xFF, 0xFF, 0x7F}),              // entry larger than the file
        patched(dib + 14, {24, 0}),                            // 24 bits
        patched(dib + 16, {1, 0, 0, 0}),                       // compressed
        patched(dib + 4, {0, 0, 0, 0}),                        // width 0
        patched(dib + 4, {0x01, 0x02, 0, 0}),                  // width above 256
        patched(dib + 8, {0xFF, 0xFF, 0xFF, 0xFF}),            // negative height
        patched(dib + 8, {17, 0, 0, 0}),                       // odd doubled height
        patched(dib, {0xFF, 0xFF, 0, 0}),                      // header longer than the entry
    };
    for (size_t i = 0; i < bad.size(); ++i) {
        plat::DecodedIcon icon;
        EXPECT_FALSE(plat::DecodeIcon(bad[i].data(), bad[i].size(), &icon)) << "case " << i;
        EXPECT_TRUE(icon.pixels.empty() && icon.width == 0) << "case " << i;
    }
}

}  // namespace
