// The picture sources: palette legend, sprite grids and their variants, text
// strips whose lines keep out of rows another band shows, and the BMP form.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>

#include <unistd.h>

#include "assetgen/Bmp.h"
#include "assetgen/Palette.h"
#include "assetgen/PixelArt.h"
#include "assetgen/TextSheet.h"

namespace {

using namespace assetgen;

// A file of this test process's own: ctest runs the cases as separate
// processes at the same time, and one case rewriting a shared file while
// another reads it made the reader see an empty legend.
std::string OwnFile(const std::string& name) {
    return std::string(KA_BINARY_DIR) + "/test-assets-" + std::to_string(getpid()) + "-" + name;
}

Palette TestPalette() {
    const std::string path = OwnFile("palette.txt");
    std::ofstream(path) << "# legend\n.  0000ff key\nK  000000 ink\nw  ffffff snow\nr  ff0000 red\n";
    Palette palette = Palette::Load(path);
    std::remove(path.c_str());
    return palette;
}

std::string LoadError(const std::string& text) {
    SpriteBook book;
    try {
        book.LoadText(text, "grid", TestPalette());
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}

TEST(PictureSourceTest, ThePaletteMustStartWithTheBlueKey) {
    const std::string path = OwnFile("bad-palette.txt");
    std::ofstream(path) << "K 000000 ink\n. 0000ff key\n";
    EXPECT_THROW(Palette::Load(path), std::runtime_error);
    std::remove(path.c_str());
    EXPECT_EQ(TestPalette().IndexOfCode('.'), kKeyIndex);
}

TEST(PictureSourceTest, GridsBecomeIndexedPicturesAndVariantsFollowThem) {
    SpriteBook book;
    book.LoadText("sprite A 3x2\nKw.\n.rK\ncopy B from A mirror swap wr rw\nsprite C 2x1 scale 2\nwK\n", "grid",
                  TestPalette());
    const Image& a = book.Get("A");
    EXPECT_EQ(a.At(0, 0), 1);
    EXPECT_EQ(a.At(2, 0), kKeyIndex);
    const Image& b = book.Get("B");  // mirrored, with white and red exchanged
    EXPECT_EQ(b.At(2, 0), 1);
    EXPECT_EQ(b.At(1, 0), 3);
    EXPECT_EQ(b.At(1, 1), 2);
    const Image& c = book.Get("C");
    EXPECT_EQ(c.width, 4);
    EXPECT_EQ(c.height, 2);
    EXPECT_EQ(c.At(1, 1), 2);
    EXPECT_EQ(c.At(2, 0), 1);
}

TEST(PictureSourceTest, GridFaultsNameTheLine) {
    EXPECT_NE(LoadError("sprite A 3x1\nKw\n").find("grid:2: row of 2 codes"), std::string::npos);
    EXPECT_NE(LoadError("sprite A 2x1\nKz\n").find("unknown colour code 'z'"), std::string::npos);
    EXPECT_NE(LoadError("sprite A 2x2\nKw\n").find("ends early"), std::string::npos);
    EXPECT_NE(LoadError("copy B from A\n").find("KNOWN_SPRITE"), std::string::npos);
    EXPECT_NE(LoadError("sprite A 1x1\nK\nsprite A 1x1\nK\n").find("defined twice"), std::string::npos);
}

TEST(PictureSourceTest, SharedRowsOfOverlappingBandsStayEmpty) {
    const Palette palette = TestPalette();
    const SheetSpec spec = ParseSheet("font gothic\nsize 16\ncolour snow\nband 0 25 あいう\nband 24 48 えお\n"
                                      "band 50 90\nline 14 red かき\nline 14 snow くけ\n",
                                      "sheet", palette);
    ASSERT_EQ(spec.bands.size(), 3u);
    EXPECT_EQ(PrivateRows(spec, 0).back(), 23);
    EXPECT_EQ(PrivateRows(spec, 1).front(), 25);
    TextRenderer text(KA_FONT_GOTHIC, KA_FONT_MINCHO);
    const Image sheet = ComposeSheet(spec, 200, 100, text, palette.IndexOfName("ink"));
    bool red = false;
    for (int y = 0; y < sheet.height; ++y) {
        bool inked = false;
        for (int x = 0; x < sheet.width; ++x) {
            inked = inked || sheet.At(x, y) != kKeyIndex;
            red = red || sheet.At(x, y) == palette.IndexOfName("red");
        }
        if (y == 24 || y == 48 || y == 49 || y >= 90) {
            EXPECT_FALSE(inked) << "row " << y;
        }
    }
    EXPECT_TRUE(red);
}

TEST(PictureSourceTest, TextThatCannotFitItsBandStopsTheBuild) {
    const Palette palette = TestPalette();
    TextRenderer text(KA_FONT_GOTHIC, KA_FONT_MINCHO);
    const SheetSpec tall = ParseSheet("band 0 12 たかい\n", "sheet", palette);
    EXPECT_THROW(ComposeSheet(tall, 200, 40, text, 1), std::runtime_error);
    const SheetSpec wide = ParseSheet("band 0 30 ながいながいながいながいながい\n", "sheet", palette);
    EXPECT_THROW(ComposeSheet(wide, 100, 40, text, 1), std::runtime_error);
    EXPECT_THROW(ParseSheet("band 0 30\n", "sheet", palette), std::runtime_error);
    EXPECT_THROW(ParseSheet("colour mauve\n", "sheet", palette), std::runtime_error);
}

TEST(PictureSourceTest, BmpFilesRoundTripAndTruncatedOnesAreRefused) {
    Image img(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) img.Set(x, y, uint8_t((x + y) % 4));
    const std::vector<Rgb> palette = {{0, 0, 255}, {0, 0, 0}, {255, 255, 255}, {255, 0, 0}};
    std::vector<uint8_t> bytes = EncodeBmp8(img, palette);
    EXPECT_EQ(bytes.size(), 14u + 40u + 16u + 8u * 3u);  // rows padded to 8 bytes
    Image back;
    std::vector<Rgb> backPalette;
    ASSERT_TRUE(DecodeBmp8(bytes, &back, &backPalette));
    EXPECT_EQ(back.pixels, img.pixels);
    EXPECT_EQ(backPalette, palette);
    bytes.resize(bytes.size() - 1);
    EXPECT_FALSE(DecodeBmp8(bytes, &back, &backPalette));
}

}  // namespace
