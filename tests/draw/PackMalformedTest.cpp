// Packs that lie about their sizes: the lookup stops at the first entry that
// cannot be whole, still finds what lies before it, never reads past the end
// of the file or allocates for sizes the file does not hold, and a refused
// load gives back every slot it took.
#include "PackFixture.h"

using namespace drawtest;

TEST_F(BitmapPackTest, AnEntryThatCannotBeWholeEndsTheScan) {
    const std::string good = Entry(2, 1, "GOOD.BMP", 0x7FFF), later = Entry(1, 1, "LATER.BMP", 0x001F);
    const struct {
        const char* what;
        std::string bytes;  // after the good entry
        bool laterFollows;
    } cases[] = {
        {"pixels past the end", Entry(100, 100, "BAD.BMP", 1).substr(0, 40), true},
        {"giant sizes", Entry(0xFFFF, 0xFFFF, "BAD.BMP"), true},
        {"name of 31 characters", Entry(1, 1, std::string(31, 'N'), 1), true},
        {"name without its 0 byte", std::string("\1\0\1\0BAD.BMP", 11), false},
        {"a size cut short", "\1", false},
    };
    for (const auto& c : cases) {
        UsePack(good + c.bytes + (c.laterFollows ? later : ""));
        const int g = kaDraw::LoadPack("good.bmp", 2);
        ASSERT_EQ(g, 4) << c.what;
        EXPECT_EQ(SpritePixel(g, 1, 0), 0xFFDF) << c.what;
        for (const char* name : {"later.bmp", "bad.bmp"}) {
            const std::string out = Reports([name] { EXPECT_EQ(kaDraw::LoadPack(name, 2), 0); });
            EXPECT_NE(out.find("kaDraw::LoadPack : BMPファイルを読み込めません"), std::string::npos) << c.what << name;
        }
        EXPECT_EQ(SlotsInUse(), 1) << c.what;
        kaDraw::FreeObject(g);
    }
}

// Also an entry too wide for any surface: whole, but refused when made.
TEST_F(BitmapPackTest, AnEmptyOrTooWideEntryIsRefusedWhenAskedForAndSkippedOtherwise) {
    UsePack(Entry(0, 5, "FLAT.BMP") + Entry(7, 0, "THIN.BMP") + Entry(0xFFFF, 1, "WIDE.BMP", 1) +
            Entry(1, 1, "LATER.BMP", 0x001F));
    const std::string out = Reports([] {
        EXPECT_EQ(kaDraw::LoadPack("flat.bmp", 2) + kaDraw::SwapPack("thin.bmp", 9, 2), 0);
        EXPECT_EQ(kaDraw::LoadPack("wide.bmp", 2) + kaDraw::SwapPack("wide.bmp", 9, 2), 0);
    });
    EXPECT_NE(out.find("スプライトを作成できません"), std::string::npos) << out;
    EXPECT_NE(out.find("kaDraw::LoadPack : BMPファイルを読み込めません"), std::string::npos) << out;
    EXPECT_NE(out.find("kaDraw::SwapPack : BMPファイルを読み込めません"), std::string::npos) << out;
    // Only the slot of the failed swap stays taken, without a surface, as
    // after a failed SwapObject.
    EXPECT_EQ(SlotsInUse(), 1);
    EXPECT_EQ(Sprite[9].Object, nullptr);
    const int later = kaDraw::LoadPack("later.bmp", 2);
    ASSERT_EQ(later, 4);
    EXPECT_EQ(SpritePixel(later, 0, 0), 0x001F);
}
