// Bitmap packs made by the converter and read back: entry layout, names and
// 15-bit colours, the spread onto the display's format, the record and key
// of a pack sprite, appending, swapping into a given slot, the reload after
// a surface loss, the reports, and a write that fails half-way.
#include <sys/resource.h>

#include <csignal>
#include <initializer_list>

#include "PackFixture.h"
#include "sound/kaSound.h"

using namespace drawtest;

namespace {

bool Has(const std::string& out, const char* text) { return out.find(text) != std::string::npos; }

// 3 x 2: (0,0,7) black white / (8,16,24) pure-blue (255,7,0).
std::string Colours() {
    return MakeBmp8(3, 2, {0x000007, 0x000000, 0xFFFFFF, 0x081018, 0x0000FF, 0xFF0700}, {0, 1, 2, 3, 4, 5});
}

std::string Bytes16(std::initializer_list<unsigned> values) {
    std::string b;
    for (unsigned v : values) b += {char(v & 0xFF), char(v >> 8)};
    return b;
}

}  // namespace

TEST_F(BitmapPackTest, ConvertStoresEveryBmpOfTheFolderSortedUpperCaseIn15Bits) {
    Put("b.BMP", Colours());
    Put("a.bmp", MakeBmp8(1, 1, {0x102030}, {0}));
    Put("note.txt", "not a picture");
    EXPECT_EQ(kaDraw::Convert(Rel("p.pak").c_str(), folder_.c_str(), 1), 1);
    const std::string pack = Get("p.pak");
    // Dark but not black keeps a blue of 1; only true black is 0.
    EXPECT_EQ(pack, Entry(1, 1, "A.BMP", (2 << 10) | (4 << 5) | 6) +
                        Entry(3, 2, "B.BMP", -1, Bytes16({0x0001, 0, 0x7FFF, (1 << 10) | (2 << 5) | 3, 0x1F, 31 << 10})));

    // Without Delete the converter appends, and the first copy of a name wins.
    Put("a.bmp", MakeBmp8(1, 1, {0xFFFFFF}, {0}));
    ConvertAndUse(0);
    EXPECT_EQ(Get("p.pak").size(), 2 * pack.size());
    const int a = kaDraw::LoadPack("a.bmp", 2);
    ASSERT_GT(a, 0);
    EXPECT_EQ(SpritePixel(a, 0, 0), (2 << 11) | (4 << 6) | 6);
    ConvertAndUse(1);
    EXPECT_EQ(Get("p.pak").size(), pack.size());
    EXPECT_EQ(kaDraw::Convert(Rel("q.pak").c_str(), Rel("none").c_str(), 1), 1) << "no pictures is no failure";
}

TEST_F(BitmapPackTest, LoadPackSpreadsTheColoursOverTheDisplayFormatAndKeysTheSprite) {
    Put("c.bmp", Colours());
    ConvertAndUse();
    for (bool rgb555 : {false, true}) {
        OpenScreen(rgb555);
        kaDraw::SetSpriteColor(0xFF0000);  // pure blue
        const int s = kaDraw::LoadPack("c.BMP", 2);
        ASSERT_EQ(s, 4);
        EXPECT_EQ(SlotsInUse(), 1) << "the scratch sprite is given back";
        EXPECT_STREQ(Sprite[s].FileName, "C.BMP");
        EXPECT_EQ(Sprite[s].PackData * 1000 + Sprite[s].Memory * 100 + Sprite[s].SizeX * 10 + Sprite[s].SizeY, 1232);
        EXPECT_EQ(Sprite[s].Color, 0xFF0000u);
        EXPECT_EQ(Sprite[s].Object->colorKey(), 0x001F);
        // On 5-6-5 green's lowest bit stays 0.
        EXPECT_EQ(Of(s, {{0, 0}, {1, 0}, {2, 0}, {1, 1}}), (Pixels{0x0001, 0, uint16_t(rgb555 ? 0x7FFF : 0xFFDF), 0x001F}));
        kaDraw::SetSpriteLeftTop();
        const int t = kaDraw::LoadPack("C.bmp", 2);
        EXPECT_EQ(Sprite[t].Color, 0xFFFFFFFFu);
        EXPECT_EQ(Sprite[t].Object->colorKey(), 0x0001);
        kaDraw::FreeObject(s);
        kaDraw::FreeObject(t);
    }
    OpenScreen(false);
}

TEST_F(BitmapPackTest, SwapPackFillsTheGivenSlotEvenWhenItIsTheLowestFree) {
    Put("c.bmp", Colours());
    ConvertAndUse();
    EXPECT_EQ(kaDraw::SwapPack("c.bmp", 7, 2), 7) << "slots 4 to 6 are free";
    EXPECT_EQ(SpritePixel(7, 2, 0), 0xFFDF);
    EXPECT_EQ(kaDraw::SwapPack("c.bmp", 4, 2), 4);
    ASSERT_NE(Sprite[4].Object, nullptr) << "the image is not thrown away with the scratch";
    EXPECT_EQ(SpritePixel(4, 0, 0), 0x0001);
    EXPECT_EQ(SlotsInUse(), 2);
    const int other = kaDraw::CreateObject(50, 40, 2);
    EXPECT_EQ(kaDraw::SwapPack("C.BMP", other, 2), other);
    EXPECT_EQ(Sprite[other].Object->width() * 10 + Sprite[other].SizeY, 32);
    EXPECT_EQ(Sprite[other].PackData, 1);
    EXPECT_EQ(kaDraw::SwapPack("c.bmp", -1, 2) + kaDraw::SwapPack("c.bmp", 1024, 2), 0);
}

TEST_F(BitmapPackTest, AReloadRebuildsALostPackSpriteWithItsKey) {
    Put("c.bmp", Colours());
    ConvertAndUse();
    kaDraw::SetSpriteColor(0xFF0000);
    const int s = kaDraw::LoadPack("c.bmp", 2);
    kaDraw::SetSpriteColor(0);
    FillSurface(Sprite[s].Object, 0x1234);
    Sprite[s].Object->markLost();
    kaDraw::ReloadObject();
    ASSERT_NE(Sprite[s].Object, nullptr);
    EXPECT_EQ(Of(s, {{0, 0}, {2, 0}, {1, 1}}), (Pixels{0x0001, 0xFFDF, 0x001F}));
    EXPECT_EQ(Sprite[s].Object->colorKey(), 0x001F);
    EXPECT_EQ(kaDraw::SpriteColor, 0xFF0000u);
    EXPECT_EQ(SlotsInUse(), 1);
}

TEST_F(BitmapPackTest, RefusalsNameTheFunctionAndTheReason) {
    Put("c.bmp", Colours());
    kaDraw::Convert(Rel("p.pak").c_str(), folder_.c_str(), 1);
    std::string out = Reports([] { EXPECT_EQ(kaDraw::LoadPack("c.bmp", 2) + kaDraw::SwapPack("c.bmp", 9, 2), 0); });
    EXPECT_TRUE(Has(out, "kaDraw::LoadPack : パックファイル名が指定されていません")) << out;
    EXPECT_TRUE(Has(out, "kaDraw::SwapPack : パックファイル名が指定されていません")) << out;
    kaDraw::SetPack(Rel("p.pak").c_str());
    for (const char* name : {"d.bmp", "c", "", "ccccccccccccccccccccccccccc.bmp"}) {
        out = Reports([name] { EXPECT_EQ(kaDraw::LoadPack(name, 2), 0); });
        EXPECT_TRUE(Has(out, "kaDraw::LoadPack : BMPファイルを読み込めません")) << name << out;
    }
    // The converter refuses as LoadObject would, and writes nothing then.
    Put("broken.bmp", "BM not really");
    for (std::string name : {Rel("none.bmp"), Rel("broken.bmp"), std::string(31, 'n')}) {
        out = Reports([&] { kaDraw::ConvertFile(Rel("p.pak").c_str(), name.c_str()); });
        EXPECT_TRUE(Has(out, name.size() > 30 ? "kaDraw::LoadObject : ファイル名またはリソース名が長すぎます"
                                              : "kaDraw::LoadObject : BMPファイルを読み込めません"))
            << out;
    }
    EXPECT_EQ(Get("p.pak").size(), 10u + 12);
    EXPECT_EQ(SlotsInUse(), 0);

    // A pack path too long to keep names no pack, never a shortened one.
    const std::string deep(300, 'x');
    kaDraw::SetPack(deep.c_str());
    kaSound::SetPack(deep.c_str());
    EXPECT_STREQ(kaDraw::PackFileName, "");
    EXPECT_STREQ(kaSound::PackFileName, "");
}

// A write that fails half-way (the file may grow no further) must not leave a
// half entry: the pack is cut back, and what is added later can be found.
TEST_F(BitmapPackTest, AFailedWriteLeavesThePackAsItWas) {
    Put("c.bmp", Colours());
    Put("big.bmp", MakeBmp8(64, 64, {0x336699}, std::vector<uint8_t>(64 * 64, 0)));
    Put("d.bmp", MakeBmp8(1, 1, {0xFFFFFF}, {0}));
    kaDraw::ConvertFile(Rel("p.pak").c_str(), Rel("c.bmp").c_str());
    const std::string before = Get("p.pak");
    struct rlimit old, limit;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    limit = old;
    limit.rlim_cur = before.size() + 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    kaDraw::ConvertFile(Rel("p.pak").c_str(), Rel("big.bmp").c_str());
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(Get("p.pak"), before);

    kaDraw::ConvertFile(Rel("p.pak").c_str(), Rel("d.bmp").c_str());
    kaDraw::SetPack(Rel("p.pak").c_str());
    const int d = kaDraw::LoadPack("d.bmp", 2);
    ASSERT_GT(d, 0);
    EXPECT_EQ(SpritePixel(d, 0, 0), 0xFFDF);
}
