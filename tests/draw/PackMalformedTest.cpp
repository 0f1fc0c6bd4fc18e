// Packs that lie about their sizes: the lookup stops at the first entry that
// cannot be whole, still finds what lies before it, never reads past the end
// of the file or allocates for sizes the file does not hold, and a refused
// load gives back every slot it took.
#include <cstdio>
#include <vector>

#include "PackFixture.h"
#include "draw/PackLookup.h"

using namespace drawtest;

namespace {

const std::string kGood = PackEntryBytes(2, 1, "GOOD.BMP", Pixels15(2, 1, 0x7FFF));
const std::string kLater = PackEntryBytes(1, 1, "LATER.BMP", Pixels15(1, 1, 0x001F));

struct Malformed {
    const char* what;
    std::string bytes;  // follows kGood; kLater comes after it
};

std::vector<Malformed> Cases() {
    return {
        {"pixels past the end", PackEntryBytes(100, 100, "BAD.BMP", Pixels15(2, 2, 1))},
        {"giant sizes", PackEntryBytes(0xFFFF, 0xFFFF, "BAD.BMP", "")},
        {"name without its 0 byte", std::string("\1\0\1\0BAD.BMP", 11)},
        {"name of 31 characters", PackEntryBytes(1, 1, std::string(31, 'N'), Pixels15(1, 1, 1))},
        {"a size cut short", std::string("\1", 1)},
    };
}

}  // namespace

TEST_F(BitmapPackTest, AnEntryThatCannotBeWholeEndsTheScan) {
    for (const Malformed& c : Cases()) {
        // The broken entry is last: nothing follows to be found.
        const bool last = c.what == std::string("name without its 0 byte") || c.what == std::string("a size cut short");
        UsePack(kGood + c.bytes + (last ? "" : kLater));
        const int good = kaDraw::LoadPack("good.bmp", 2);
        ASSERT_EQ(good, 4) << c.what;
        EXPECT_EQ(SpritePixel(good, 1, 0), 0xFFDF) << c.what;
        for (const char* name : {"later.bmp", "bad.bmp", "missing.bmp"}) {
            const std::string out = Reports([name] { EXPECT_EQ(kaDraw::LoadPack(name, 2), 0); });
            EXPECT_NE(out.find("kaDraw::LoadPack : BMPファイルを読み込めません"), std::string::npos) << c.what << name;
        }
        EXPECT_EQ(SlotsInUse(), 1) << c.what;
        kaDraw::FreeObject(good);
    }
}

TEST_F(BitmapPackTest, AnEmptyEntryIsRefusedWhenAskedForAndSkippedOtherwise) {
    UsePack(PackEntryBytes(0, 5, "FLAT.BMP", "") + PackEntryBytes(7, 0, "THIN.BMP", "") + kLater);
    const std::string out = Reports([] {
        EXPECT_EQ(kaDraw::LoadPack("flat.bmp", 2), 0);
        EXPECT_EQ(kaDraw::SwapPack("thin.bmp", 9, 2), 0);
    });
    EXPECT_NE(out.find("kaDraw::LoadPack : BMPファイルを読み込めません"), std::string::npos) << out;
    EXPECT_NE(out.find("kaDraw::SwapPack : BMPファイルを読み込めません"), std::string::npos) << out;
    EXPECT_EQ(SlotsInUse(), 0);
    const int later = kaDraw::LoadPack("later.bmp", 2);
    ASSERT_EQ(later, 4);
    EXPECT_EQ(SpritePixel(later, 0, 0), 0x001F);
}

// The scanner alone, over packs held in memory: found entries lie inside.
TEST(BitmapPackLookupTest, FoundEntriesLieWhollyInsideTheFile) {
    std::string bytes = kGood + PackEntryBytes(3, 2, "X.BMP", Pixels15(3, 2, 5)) + kLater;
    for (size_t cut = 0; cut <= bytes.size(); ++cut) {
        FILE* f = fmemopen(bytes.data(), cut, "rb");
        ASSERT_NE(f, nullptr);
        for (const char* name : {"GOOD.BMP", "X.BMP", "LATER.BMP"}) {
            kadraw::PackEntry entry;
            if (kadraw::FindPackImage(f, name, &entry) != kadraw::PackFind::kFound) continue;
            EXPECT_LE(entry.pixelOffset + entry.width * entry.height * 2, static_cast<long>(cut)) << name << cut;
        }
        std::fclose(f);
    }
    FILE* f = fmemopen(bytes.data(), bytes.size(), "rb");
    kadraw::PackEntry entry;
    ASSERT_EQ(kadraw::FindPackImage(f, "X.BMP", &entry), kadraw::PackFind::kFound);
    EXPECT_EQ(entry.width * 10 + entry.height, 32);
    EXPECT_EQ(entry.pixelOffset, static_cast<long>(kGood.size() + 4 + 6));
    EXPECT_EQ(kadraw::FindPackImage(f, "x.bmp", &entry), kadraw::PackFind::kMissing) << "names are upper case";
    std::fclose(f);
}
