// BMP decoder: every depth and compression on tiny bitmaps built here byte by
// byte, header variants, and malformed files that must be refused without
// reading outside the input.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "platform/Bmp.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF, kBlack = 0;

void Put16(Bytes& b, size_t at, uint32_t v) {
    b[at] = v & 0xFF;
    b[at + 1] = (v >> 8) & 0xFF;
}
void Put32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = (v >> (8 * i)) & 0xFF;
}

struct BmpSpec {
    int32_t width = 1;
    int32_t height = 1;
    int bits = 24;
    uint32_t compression = 0;
    uint32_t infoSize = 40;
    std::vector<uint32_t> palette;  // 0xRRGGBB
    uint32_t colorsUsed = 0;
    std::vector<uint32_t> masks;    // R, G, B
    Bytes pixels;
};

BmpSpec Spec(int32_t width, int32_t height, int bits, uint32_t compression = 0, uint32_t infoSize = 40) {
    BmpSpec s;
    s.width = width;
    s.height = height;
    s.bits = bits;
    s.compression = compression;
    s.infoSize = infoSize;
    return s;
}

// Lays out file header, info header, masks, palette and pixel bytes the way
// a writer of each header version would.
Bytes MakeBmp(const BmpSpec& s) {
    const bool core = s.infoSize == 12;
    const size_t maskBytes = (s.infoSize == 40 && s.compression == 3) ? 12 : 0;
    const size_t entry = core ? 3 : 4;
    const size_t off = 14 + s.infoSize + maskBytes + s.palette.size() * entry;
    Bytes b(off + s.pixels.size(), 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<uint32_t>(b.size()));
    Put32(b, 10, static_cast<uint32_t>(off));
    Put32(b, 14, s.infoSize);
    if (core) {
        Put16(b, 18, static_cast<uint32_t>(s.width));
        Put16(b, 20, static_cast<uint32_t>(s.height));
        Put16(b, 22, 1);
        Put16(b, 24, s.bits);
    } else {
        Put32(b, 18, static_cast<uint32_t>(s.width));
        Put32(b, 22, static_cast<uint32_t>(s.height));
        Put16(b, 26, 1);
        Put16(b, 28, s.bits);
        Put32(b, 30, s.compression);
        // A short palette is announced the way writers do, through biClrUsed.
        const bool shortPalette = !s.palette.empty() && s.bits <= 8 && s.palette.size() < (1u << s.bits);
        Put32(b, 46, s.colorsUsed ? s.colorsUsed : shortPalette ? static_cast<uint32_t>(s.palette.size()) : 0);
        for (size_t i = 0; i < s.masks.size(); ++i) Put32(b, 54 + 4 * i, s.masks[i]);
    }
    size_t p = 14 + s.infoSize + maskBytes;
    for (uint32_t c : s.palette) {
        b[p] = c & 0xFF;
        b[p + 1] = (c >> 8) & 0xFF;
        b[p + 2] = (c >> 16) & 0xFF;
        p += entry;
    }
    std::copy(s.pixels.begin(), s.pixels.end(), b.begin() + static_cast<long>(off));
    return b;
}

std::vector<uint32_t> Decode(const Bytes& b, int expectWidth, int expectHeight) {
    plat::DecodedBitmap bmp;
    EXPECT_TRUE(plat::DecodeBmp(b.data(), b.size(), &bmp));
    EXPECT_EQ(bmp.width, expectWidth);
    EXPECT_EQ(bmp.height, expectHeight);
    return bmp.pixels;
}

bool Refused(const Bytes& b, const plat::BmpLimits& limits = plat::BmpLimits()) {
    plat::DecodedBitmap bmp;
    bool ok = plat::DecodeBmp(b.data(), b.size(), &bmp, limits);
    return !ok && bmp.width == 0 && bmp.height == 0 && bmp.pixels.empty();
}

using Pixels = std::vector<uint32_t>;

TEST(BmpPalettised, OneBitRowsAreMsbFirstAndPadded) {
    BmpSpec s = Spec(3, 2, 1);
    s.palette = {kRed, kBlue};
    s.pixels = {0xA0, 0, 0, 0,   // bottom row: 1 0 1
                0x40, 0, 0, 0};  // top row: 0 1 0
    EXPECT_EQ(Decode(MakeBmp(s), 3, 2), (Pixels{kRed, kBlue, kRed, kBlue, kRed, kBlue}));
}

TEST(BmpPalettised, FourBitHighNibbleFirst) {
    BmpSpec s = Spec(3, 1, 4);
    s.palette = {kBlack, kRed, kGreen, kBlue};
    s.pixels = {0x12, 0x30, 0, 0};
    EXPECT_EQ(Decode(MakeBmp(s), 3, 1), (Pixels{kRed, kGreen, kBlue}));
}

TEST(BmpPalettised, EightBitShortPaletteGivesBlackBeyondIt) {
    BmpSpec s = Spec(4, 1, 8);
    s.palette = {kWhite, kGreen};
    s.colorsUsed = 2;
    s.pixels = {1, 0, 2, 255};
    EXPECT_EQ(Decode(MakeBmp(s), 4, 1), (Pixels{kGreen, kWhite, kBlack, kBlack}));
}

TEST(BmpPalettised, CoreHeaderUsesThreeBytePaletteEntries) {
    BmpSpec s = Spec(2, 1, 8);
    s.infoSize = 12;
    s.palette.assign(256, 0);
    s.palette[0] = 0x123456;
    s.palette[7] = 0xABCDEF;
    s.pixels = {7, 0, 0, 0};
    EXPECT_EQ(Decode(MakeBmp(s), 2, 1), (Pixels{0xABCDEF, 0x123456}));
}

TEST(BmpTrueColour, TwentyFourBitBottomUpAndTopDown) {
    BmpSpec s = Spec(2, 2, 24);
    s.pixels = {0xFF, 0, 0, 0, 0xFF, 0, 0, 0,      // first stored row: blue, green (+2 pad)
                0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0};  // second: red, white
    EXPECT_EQ(Decode(MakeBmp(s), 2, 2), (Pixels{kRed, kWhite, kBlue, kGreen}));
    s.height = -2;
    EXPECT_EQ(Decode(MakeBmp(s), 2, 2), (Pixels{kBlue, kGreen, kRed, kWhite}));
}

TEST(BmpTrueColour, ThirtyTwoBitIgnoresTheFourthByte) {
    BmpSpec s = Spec(2, 1, 32);
    s.pixels = {0x33, 0x22, 0x11, 0xFF, 0xCC, 0xBB, 0xAA, 0x00};
    EXPECT_EQ(Decode(MakeBmp(s), 2, 1), (Pixels{0x112233, 0xAABBCC}));
}

TEST(BmpTrueColour, SixteenBitDefaultsToFiveFiveFive) {
    BmpSpec s = Spec(3, 1, 16);
    s.pixels = {0x00, 0x7C, 0xE0, 0x03, 0x10, 0x00, 0, 0};  // red, green, blue at 16/31
    EXPECT_EQ(Decode(MakeBmp(s), 3, 1), (Pixels{kRed, kGreen, 0x000084}));
}

TEST(BmpTrueColour, BitfieldsFiveSixFiveAndBrokenMasks) {
    BmpSpec s = Spec(3, 1, 16, 3);
    s.masks = {0xF800, 0x07E0, 0x001F};
    s.pixels = {0x00, 0xF8, 0x20, 0x00, 0xFF, 0xFF, 0, 0};  // red, green 1/63, white
    EXPECT_EQ(Decode(MakeBmp(s), 3, 1), (Pixels{kRed, 0x000400, kWhite}));
    s.masks[0] = 0xF00F;  // not one run of bits
    EXPECT_TRUE(Refused(MakeBmp(s)));
}

TEST(BmpTrueColour, BitfieldsInV4AndV5Headers) {
    for (uint32_t infoSize : {108u, 124u}) {
        BmpSpec s = Spec(1, 1, 32, 3, infoSize);
        s.masks = {0x0000FF00, 0x00FF0000, 0xFF000000};  // bytes stored X R G B
        s.pixels = {0x00, 0x11, 0x22, 0x33};
        EXPECT_EQ(Decode(MakeBmp(s), 1, 1), (Pixels{0x112233})) << infoSize;
        // Without BI_BITFIELDS the masks in the header do not apply.
        s.compression = 0;
        EXPECT_EQ(Decode(MakeBmp(s), 1, 1), (Pixels{0x221100})) << infoSize;
    }
}

TEST(BmpTrueColour, WideMasksKeepTheirTopEightBits) {
    BmpSpec s = Spec(1, 1, 32, 3);
    s.masks = {0x3FF00000, 0x000FFC00, 0x000003FF};  // 10-10-10
    s.pixels = {0xFF, 0x03, 0x00, 0x00};             // blue full, others zero
    EXPECT_EQ(Decode(MakeBmp(s), 1, 1), (Pixels{0x0000FF}));
}

// RLE8: run, absolute run with pad, end of line, delta, runs cut at the row
// end, skipped pixels black, end of bitmap.
TEST(BmpRle, Rle8AllCodes) {
    BmpSpec s = Spec(4, 3, 8, 1);
    s.palette = {kBlack, kRed, kGreen, kBlue};
    s.pixels = {
        6, 1,              // bottom row: four reds, the other two cut off
        0, 0,              // end of line
        0, 3, 2, 3, 2, 0,  // absolute: green blue green + pad
        0, 2, 0, 1,        // delta: down one row, x stays 3
        1, 3,              // top row, x 3: blue
        0, 1,              // end of bitmap
    };
    EXPECT_EQ(Decode(MakeBmp(s), 4, 3), (Pixels{kBlack, kBlack, kBlack, kBlue,  //
                                                 kGreen, kBlue, kGreen, kBlack,  //
                                                 kRed, kRed, kRed, kRed}));
}

TEST(BmpRle, Rle4AlternatesNibbles) {
    BmpSpec s = Spec(5, 2, 4, 2);
    s.palette = {kBlack, kRed, kGreen, kBlue};
    s.pixels = {
        5, 0x12,           // bottom: red green red green red
        0, 0,              // end of line
        0, 3, 0x31, 0x20,  // absolute, three nibbles: blue red green (two bytes, no pad)
        0, 1,
    };
    EXPECT_EQ(Decode(MakeBmp(s), 5, 2), (Pixels{kBlue, kRed, kGreen, kBlack, kBlack,  //
                                                 kRed, kGreen, kRed, kGreen, kRed}));
    // Five nibbles take three bytes plus a pad byte.
    s.pixels = {0, 5, 0x12, 0x31, 0x20, 0x00, 0, 1};
    s.height = 1;
    EXPECT_EQ(Decode(MakeBmp(s), 5, 1), (Pixels{kRed, kGreen, kBlue, kRed, kGreen}));
}

TEST(BmpRle, StreamEndingEarlyIsRefusedButFinishedRowsAreEnough) {
    BmpSpec s = Spec(2, 2, 8, 1);
    s.palette = {kBlack, kRed};
    s.pixels = {2, 1, 0, 0};  // bottom row only, then nothing
    EXPECT_TRUE(Refused(MakeBmp(s)));
    s.pixels = {2, 1, 0, 0, 2, 1};  // both rows written, no end code
    EXPECT_EQ(Decode(MakeBmp(s), 2, 2), (Pixels{kRed, kRed, kRed, kRed}));
    s.pixels = {0, 2, 0, 5};  // a delta past the top finishes the bitmap
    EXPECT_EQ(Decode(MakeBmp(s), 2, 2), (Pixels(4, kBlack)));
}

TEST(BmpRle, TopDownOrMismatchedDepthIsRefused) {
    BmpSpec s = Spec(2, -2, 8, 1);
    s.palette = {kBlack};
    s.pixels = {0, 1};
    EXPECT_TRUE(Refused(MakeBmp(s)));
    s.height = 2;
    s.bits = 4;  // RLE8 on a 4-bit bitmap
    EXPECT_TRUE(Refused(MakeBmp(s)));
}

TEST(BmpMalformed, EveryTruncationIsRefusedOrStaysInBounds) {
    std::vector<BmpSpec> specs;
    BmpSpec pal = Spec(3, 2, 8);
    pal.palette = {kRed, kGreen, kBlue};
    pal.colorsUsed = 3;
    pal.pixels = {0, 1, 2, 0, 2, 1, 0, 0};
    specs.push_back(pal);
    BmpSpec rle = Spec(4, 2, 8, 1);
    rle.palette = {kRed, kGreen};
    rle.pixels = {4, 1, 0, 0, 0, 4, 0, 1, 0, 1, 0, 2, 1, 0, 0, 1};
    specs.push_back(rle);
    BmpSpec masked = Spec(2, 2, 16, 3, 124);
    masked.masks = {0xF800, 0x07E0, 0x001F};
    masked.pixels = {1, 2, 3, 4, 5, 6, 7, 8};
    specs.push_back(masked);

    for (const BmpSpec& spec : specs) {
        const Bytes full = MakeBmp(spec);
        plat::DecodedBitmap whole;
        ASSERT_TRUE(plat::DecodeBmp(full.data(), full.size(), &whole));
        for (size_t n = 0; n < full.size(); ++n) {
            // An exact-size copy so that ASan sees any read past the end.
            Bytes cut(full.begin(), full.begin() + static_cast<long>(n));
            plat::DecodedBitmap bmp;
            if (plat::DecodeBmp(cut.data(), cut.size(), &bmp)) {
                EXPECT_EQ(bmp.width, whole.width) << n;
                EXPECT_EQ(bmp.height, whole.height) << n;
                EXPECT_EQ(bmp.pixels.size(), whole.pixels.size()) << n;
            }
        }
    }
    // Only the last row's padding may be missing from uncompressed data.
    Bytes noPad = MakeBmp(pal);
    noPad.resize(noPad.size() - 1);
    EXPECT_EQ(Decode(noPad, 3, 2), (Pixels{kBlue, kGreen, kRed, kRed, kGreen, kBlue}));
    noPad.resize(noPad.size() - 1);
    EXPECT_TRUE(Refused(noPad));
}

TEST(BmpMalformed, AbsurdSizesAreRefusedBeforeAllocating) {
    BmpSpec s = Spec(1, 1, 24);
    s.pixels = {0, 0, 0, 0};
    auto withSize = [&](int32_t w, int32_t h) {
        BmpSpec t = s;
        t.width = w;
        t.height = h;
        return MakeBmp(t);
    };
    EXPECT_TRUE(Refused(withSize(16385, 1)));
    EXPECT_TRUE(Refused(withSize(1, 16385)));
    EXPECT_TRUE(Refused(withSize(1, -16385)));
    EXPECT_TRUE(Refused(withSize(16384, 4097)));  // over 64 M pixels
    EXPECT_TRUE(Refused(withSize(0, 1)));
    EXPECT_TRUE(Refused(withSize(-1, 1)));
    EXPECT_TRUE(Refused(withSize(1, 0)));
    EXPECT_TRUE(Refused(withSize(1, INT32_MIN)));
    EXPECT_TRUE(Refused(withSize(16384, 4096)));  // at the limits, pixel data missing
    plat::BmpLimits small;
    small.maxPixels = 4;
    EXPECT_TRUE(Refused(withSize(3, 2), small));
}

TEST(BmpMalformed, HeadersAndOffsetsOutOfRange) {
    BmpSpec s = Spec(1, 1, 24);
    s.pixels = {1, 2, 3, 0};
    const Bytes good = MakeBmp(s);
    Bytes b = good;
    b[1] = 'A';
    EXPECT_TRUE(Refused(b)) << "signature";
    b = good;
    Put32(b, 10, 53);  // inside the info header
    EXPECT_TRUE(Refused(b)) << "offset too small";
    Put32(b, 10, static_cast<uint32_t>(b.size()) + 1);
    EXPECT_TRUE(Refused(b)) << "offset past the end";
    Put32(b, 10, 0xFFFFFFFF);
    EXPECT_TRUE(Refused(b)) << "offset wraps";
    b = good;
    Put32(b, 14, 64);
    EXPECT_TRUE(Refused(b)) << "unknown header size";
    b = good;
    Put32(b, 14, 0xFFFFFFF0);
    EXPECT_TRUE(Refused(b)) << "huge header size";
    b = good;
    Put32(b, 30, 4);
    EXPECT_TRUE(Refused(b)) << "JPEG";
    b = good;
    Put16(b, 28, 2);
    EXPECT_TRUE(Refused(b)) << "2 bits";
    // A gap between the headers and the pixels is fine.
    b = good;
    b.insert(b.begin() + 54, {9, 9, 9, 9});
    Put32(b, 10, 58);
    EXPECT_EQ(Decode(b, 1, 1), (Pixels{0x030201}));
    EXPECT_TRUE(Refused(Bytes{}));
    plat::DecodedBitmap none;
    EXPECT_FALSE(plat::DecodeBmp(nullptr, 100, &none));
}

}  // namespace
