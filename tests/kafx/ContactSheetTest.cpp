// The gallery end to end: the contact sheet is written headless, holds one
// cell per caption line, and every cell shows something other than the
// unprocessed picture: none of the pages is a no-op at the settings the
// sheet uses.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/Bmp.h"

namespace {

constexpr int kColumns = 4, kCellW = 320, kCellH = 260;

std::vector<uint8_t> Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int CaptionLines() {
    std::ifstream in(std::string(KA_SOURCE_DIR) + "/examples/kafx/captions.txt");
    int n = 0;
    for (std::string line; std::getline(in, line);) n += !line.empty();
    return n;
}

// Pixels of a cell's thumbnail that differ between the two sheets, below the
// small copy of the caption strip (its first ten rows).
int Differing(const plat::DecodedBitmap& a, const plat::DecodedBitmap& b, int cell) {
    const int cx = cell % kColumns * kCellW, cy = cell / kColumns * kCellH;
    int n = 0;
    for (int y = 10; y < 240; ++y)
        for (int x = 0; x < kCellW; ++x) {
            const size_t i = static_cast<size_t>(cy + y) * a.width + cx + x;
            n += a.pixels[i] != b.pixels[i];
        }
    return n;
}

}  // namespace

TEST(KafxGallery, ContactSheetShowsEveryMemberChanged) {
    char dir[] = "/tmp/kafx-sheet-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string sheet = std::string(dir) + "/sheet.bmp", plain = std::string(dir) + "/sheet-plain.bmp";
    const std::string command = "SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy " + std::string(KA_BINARY_DIR) +
                                "/bin/kafx --headless --contact-sheet " + sheet;
    ASSERT_EQ(std::system(command.c_str()), 0);

    plat::DecodedBitmap a, b;
    const std::vector<uint8_t> fa = Read(sheet), fb = Read(plain);
    ASSERT_TRUE(plat::DecodeBmp(fa.data(), fa.size(), &a));
    ASSERT_TRUE(plat::DecodeBmp(fb.data(), fb.size(), &b));
    const int cells = CaptionLines();
    EXPECT_EQ(cells, 36);  // every member name of the four families
    EXPECT_EQ(a.width, kColumns * kCellW);
    EXPECT_EQ(a.height, (cells + kColumns - 1) / kColumns * kCellH);
    ASSERT_EQ(a.width, b.width);
    ASSERT_EQ(a.height, b.height);
    for (int cell = 0; cell < cells; ++cell) EXPECT_GT(Differing(a, b, cell), 200) << "cell " << cell;
    std::remove(sheet.c_str());
    std::remove(plain.c_str());
    rmdir(dir);
}
