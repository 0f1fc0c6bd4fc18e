// kaDraw::SaveBitmap byte for byte: the 58-byte header, bottom-up rows with
// their padding, channels times 8, the region limited to the back surface,
// and the cases that must leave no file behind.
#include "DrawFixture.h"

#include <fstream>
#include <iterator>

using namespace drawtest;

namespace {

std::string FolderPath(const std::string& name) { return std::string(kaSystem::Directory(0)) + name; }

std::string UniqueName(const char* tag) { return "save" + std::to_string(getpid()) + "_" + tag + ".bmp"; }

std::vector<uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Exists(const std::string& path) { return std::ifstream(path).good(); }

uint32_t Field(const std::vector<uint8_t>& d, size_t at, int size) {
    uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i) v = v << 8 | d.at(at + i);
    return v;
}

// Saves, reads the file back and removes it.
std::vector<uint8_t> Save(const char* tag, int w, int h, int* result = nullptr) {
    const std::string name = UniqueName(tag);
    const int r = kaDraw::SaveBitmap(name.c_str(), w, h);
    if (result != nullptr) *result = r;
    std::vector<uint8_t> bytes = ReadAll(FolderPath(name));
    std::remove(FolderPath(name).c_str());
    return bytes;
}

}  // namespace

TEST_F(DrawTest, SaveBitmapWritesTheHeaderAndBottomUpRowsTimesEight) {
    DDBack->row(0)[0] = 0xFFFF;                 // white
    DDBack->row(0)[1] = 0x07E0;                 // full green: 6 bits, saved from its top 5
    DDBack->row(1)[2] = (3 << 11) | (5 << 6) | 7;  // r 3, g 5, b 7
    int result = 0;
    const std::vector<uint8_t> d = Save("hdr", 3, 2, &result);
    EXPECT_EQ(result, 1);
    ASSERT_EQ(d.size(), 58u + 12 * 2);
    const struct {
        size_t at;
        int size;
        uint32_t value;
    } fields[] = {{0, 2, 0x4D42}, {2, 4, 82},  {6, 2, 0},  {8, 2, 0},      {10, 4, 58},     {14, 4, 40},
                  {18, 4, 3},     {22, 4, 2},  {26, 2, 1}, {28, 2, 24},    {30, 4, 0},      {34, 4, 24},
                  {38, 4, 2834},  {42, 4, 2834}, {46, 4, 0}, {50, 4, 0},   {54, 4, 0}};
    for (const auto& f : fields) EXPECT_EQ(Field(d, f.at, f.size), f.value) << "offset " << f.at;
    // Bottom row (y = 1) first: black, black, (r 3, g 5, b 7) as B, G, R.
    const std::vector<uint8_t> rows(d.begin() + 58, d.end());
    EXPECT_EQ(rows, (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 56, 40, 24, 0, 0, 0,  //
                                          248, 248, 248, 0, 248, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(DrawTest, SaveBitmapOfAWhiteScreenIs248InBothFormats) {
    for (bool rgb555 : {false, true}) {
        OpenScreen(rgb555);
        FillSurface(DDBack, static_cast<uint16_t>(kaDraw::WhiteRGB));
        const std::vector<uint8_t> d = Save("white", 640, 480);
        ASSERT_EQ(d.size(), 58u + 640 * 3 * 480);
        for (size_t i = 58; i < d.size(); ++i) ASSERT_EQ(d[i], 248) << "byte " << i << (rgb555 ? " 555" : " 565");
    }
    OpenScreen(false);
}

TEST_F(DrawTest, SaveBitmapPadsRowsAndLimitsTheRegionToTheBackSurface) {
    const struct {
        int surfaceW, surfaceH, w, h;
        uint32_t fileW, fileH, fileSize;
    } cases[] = {
        {800, 2, 641, 1, 641, 1, 1982},             // 1923 pixel bytes and 1 of padding
        {640, 480, 641, 1, 640, 1, 58 + 1920},      // a wider region is cut to the surface
        {640, 480, 5000, 3000, 640, 480, 58 + 640 * 3 * 480},
        {640, 480, 1, 481, 1, 480, 58 + 4 * 480},
    };
    plat::Surface16* const screen = DDBack;
    for (const auto& c : cases) {
        // A back surface of the case's size in place of the screen's.
        plat::Surface16 back(c.surfaceW, c.surfaceH);
        FillSurface(&back, 0xFFFF);
        DDBack = &back;
        const std::vector<uint8_t> d = Save("pad", c.w, c.h);
        DDBack = screen;
        ASSERT_EQ(d.size(), c.fileSize) << c.w << "x" << c.h;
        EXPECT_EQ(Field(d, 2, 4), c.fileSize);
        EXPECT_EQ(Field(d, 18, 4), c.fileW);
        EXPECT_EQ(Field(d, 22, 4), c.fileH);
        const size_t rowSize = (c.fileW * 3 + 3) & ~3u;
        EXPECT_EQ(Field(d, 34, 4), rowSize * c.fileH);
        EXPECT_EQ(d[58 + c.fileW * 3 - 1], 248);
        for (size_t i = c.fileW * 3; i < rowSize; ++i) EXPECT_EQ(d[58 + i], 0) << "padding";
    }
}

TEST_F(DrawTest, SaveBitmapThatSavesNothingReturnsZeroAndLeavesNoFile) {
    const struct {
        const char* name;
        int w, h;
    } cases[] = {
        {"zero width", 0, 10}, {"zero height", 10, 0}, {"negative", -5, -5}, {"no folder", 10, 10},
    };
    for (const auto& c : cases) {
        const std::string name = c.w == 10 && c.h == 10 ? "no/such/folder/" + UniqueName("x") : UniqueName("empty");
        EXPECT_EQ(kaDraw::SaveBitmap(name.c_str(), c.w, c.h), 0) << c.name;
        EXPECT_FALSE(Exists(FolderPath(name))) << c.name;
    }
    EXPECT_EQ(kaDraw::SaveBitmap(nullptr, 10, 10), 0);
    DDBack->markLost();
    const std::string lost = UniqueName("lost");
    EXPECT_EQ(kaDraw::SaveBitmap(lost.c_str(), 10, 10), 0);
    EXPECT_FALSE(Exists(FolderPath(lost)));
    DDBack->restore();
}
