// The sprite table: loading from files and resources, slot allocation,
// colour keys, replacing, checked sprite numbers and the rebuild of lost
// surfaces.
#include <string>

#include "DrawFixture.h"
#include "platform/Resources.h"

using namespace drawtest;

namespace {

// 4 x 3: top-left red, a blue column at x = 3, green and grey elsewhere.
std::string Picture() {
    return MakeBmp8(4, 3, {0xFF0000, 0x00FF00, 0x0000FF, 0x808080}, {0, 1, 3, 2, 1, 3, 1, 2, 3, 1, 3, 2});
}

uint16_t Px(uint32_t colorRef) { return plat::PixelFromColorRef(plat::GetPixelFormat(), colorRef); }

bool Has(const std::string& out, const char* text) { return out.find(text) != std::string::npos; }

}  // namespace

TEST_F(DrawTest, LoadsFromFilesAndResourcesWithTheirKeys) {
    std::string name = files.Write("pic", Picture());
    kaDraw::SetSpriteColor(0xFF0000);
    int s = kaDraw::LoadObject(name.c_str(), 2);
    ASSERT_EQ(s, 4);
    EXPECT_EQ(Sprite[s].SizeX * 10 + Sprite[s].SizeY, 43);
    EXPECT_EQ(Sprite[s].Color, 0xFF0000u);
    EXPECT_EQ(Sprite[s].Object->colorKey(), 0x001F);
    // Blue pixels are exactly the key.
    EXPECT_EQ(Of(s, {{0, 0}, {2, 0}, {3, 0}, {3, 2}}), (Pixels{Px(0x0000FF), Px(0x808080), 0x001F, 0x001F}));

    static const std::string bytes = MakeBmp8(2, 2, {0x0000FF, 0xFFFFFF}, {1, 0, 0, 0});
    static const plat::ResourceEntry entry = {"BITMAP", "DTRES", reinterpret_cast<const uint8_t*>(bytes.data()),
                                              bytes.size()};
    plat::RegisterResources(&entry, 1);
    kaDraw::SetSpriteLeftTop();
    int r = kaDraw::LoadObject("dtres", 2);  // no such file: the resource, whatever the case
    ASSERT_EQ(r, 5);
    EXPECT_EQ(Sprite[r].Color, 0xFFFFFFFFu);
    EXPECT_EQ(Sprite[r].Object->colorKey(), kaDraw::WhiteRGB);
    int t = kaDraw::LoadObject(name.c_str(), 2);
    EXPECT_EQ(Sprite[t].Object->colorKey(), Px(0x0000FF));
    int c = kaDraw::CreateObject(8, 8, 2);  // created black, so keyed black
    EXPECT_EQ(Sprite[c].Object->colorKey(), 0);
    EXPECT_STREQ(Sprite[c].FileName, "*");
}

TEST_F(DrawTest, SlotsAreTakenLowestFirstAndFailedLoadsKeepTheirSlot) {
    std::string name = files.Write("a", Picture());
    for (int expected : {4, 5, 6}) EXPECT_EQ(kaDraw::LoadObject(name.c_str(), 2), expected);
    kaDraw::FreeObject(5);
    EXPECT_EQ(kaDraw::LoadObject(name.c_str(), 2), 5);

    std::string out = Reports([] { EXPECT_EQ(kaDraw::LoadObject("nosuchbitmap", 2), 0); });
    EXPECT_TRUE(Has(out, "kaDraw::LoadObject : BMPファイルを読み込めません")) << out;
    kaDraw::FreeObject(7);  // no surface: stays taken
    EXPECT_STREQ(Sprite[7].FileName, "nosuchbitmap");

    // A swap keeps the number; a failing one has released the old image.
    std::string other = files.Write("b", MakeBmp8(2, 5, {0x00FF00}, std::vector<uint8_t>(10, 0)));
    EXPECT_EQ(kaDraw::SwapObject(other.c_str(), 5, 2), 1);
    EXPECT_EQ(SpritePixel(5, 1, 4), Px(0x00FF00));
    out = Reports([] { EXPECT_EQ(kaDraw::SwapObject("gone", 6, 2), 0); });
    EXPECT_TRUE(Has(out, "kaDraw::SwapObject : BMPファイルを読み込めません"));
    EXPECT_EQ(Sprite[6].Object, nullptr);
    EXPECT_STREQ(Sprite[6].FileName, "gone");
    EXPECT_EQ(kaDraw::CreateObject(2, 2, 2), 8);
}

TEST_F(DrawTest, NamesAreLimitedToThirtyBytesAndTheTableTo1020Sprites) {
    std::string thirty = "d" + std::to_string(getpid()) + "_";
    thirty += std::string(26 - thirty.size(), 'x') + ".bmp";
    files.WriteNamed(thirty, Picture());
    EXPECT_EQ(kaDraw::LoadObject(thirty.c_str(), 2), 4);
    std::string longer = "y" + thirty;
    std::string out = Reports([&] {
        EXPECT_EQ(kaDraw::LoadObject(longer.c_str(), 2), 0);
        EXPECT_EQ(kaDraw::SwapObject(longer.c_str(), 4, 2), 0);
    });
    EXPECT_TRUE(Has(out, "kaDraw::LoadObject : ファイル名またはリソース名が長すぎます")) << out;
    EXPECT_EQ(Sprite[5].FileName[0], '\0');
    EXPECT_NE(Sprite[4].Object, nullptr);  // refused before anything was released

    for (int i = 5; i < 1024; ++i) ASSERT_EQ(kaDraw::CreateObject(1, 1, 2), i);
    out = Reports([] { EXPECT_EQ(kaDraw::CreateObject(1, 1, 2) + kaDraw::LoadObject("whatever", 2), 0); });
    EXPECT_TRUE(Has(out, "kaDraw::CreateObject : オブジェクト数が多過ぎます")) << out;
    EXPECT_TRUE(Has(out, "kaDraw::LoadObject : オブジェクト数が多過ぎます")) << out;
}

TEST_F(DrawTest, SpriteNumbersOutsideTheTableOrWithoutSurfaceDoNothing) {
    int s = kaDraw::CreateObject(4, 4, 2);
    FillSurface(Sprite[s].Object, 0x1234);
    FillSurface(DDBack, 0x0F0F);
    for (int bad : {-1, -1000, 1024, 1 << 30, 900}) {  // 900: a free slot
        kaDraw::Layer(0, 0, bad, 0, 0, 4, 4);
        kaDraw::DirectLayer(0, 0, bad, 0, 0, 4, 4);
        kaDraw::SpriteLayer(bad, 0, 0, s, 0, 0, 4, 4);
        kaDraw::DirectSpriteLayer(s, 0, 0, bad, 0, 0, 4, 4);
        kaDraw::SpriteClear(bad);
        kaDraw::SpriteScreen(bad, 0, 0, 4, 4);
        kaDraw::FreeObject(bad);
        kaDraw::ChangeSpriteColor(bad, 0xFF);
        kaDraw::ChangeSpriteLeftTop(bad);
        kaDraw::CopySpriteColor(bad, s);
        kaDraw::CopySpriteColor(s, bad);
        EXPECT_EQ(kaDraw::SwapObject("x", bad == 900 ? 2000 : bad, 2), 0);
    }
    kaDraw::DirectLayer(0, 0, s, 0, 0, 5, 4);  // a source rectangle leaving its sprite
    EXPECT_EQ(BackPixel(0, 0), 0x0F0F);
    EXPECT_EQ(SpritePixel(s, 0, 0), 0x1234);
    EXPECT_EQ(Sprite[s].Object->colorKey(), 0);
}

TEST_F(DrawTest, ReloadRebuildsLostSprites) {
    std::string name = files.Write("rl", Picture());
    kaDraw::SetSpriteColor(0xFF0000);
    int blueKeyed = kaDraw::LoadObject(name.c_str(), 2);
    int created = kaDraw::CreateObject(4, 4, 2);
    kaDraw::SetSpriteLeftTop();
    int topLeft = kaDraw::LoadObject(name.c_str(), 2);
    kaDraw::SetSpriteColor(0x00FF00);

    FillSurface(Sprite[blueKeyed].Object, 0);
    plat::Surface16* createdSurface = Sprite[created].Object;
    for (int s : {blueKeyed, created, topLeft, 1}) Sprite[s].Object->markLost();
    DDBack->markLost();

    kaDraw::Layer(0, 0, blueKeyed, 0, 0, 4, 3);  // meets the lost surfaces
    EXPECT_FALSE(DDBack->isLost());
    for (int s : {blueKeyed, created, topLeft, 1}) EXPECT_FALSE(Sprite[s].Object->isLost()) << s;
    EXPECT_EQ(Sprite[created].Object, createdSurface);  // only restored
    EXPECT_EQ(SpritePixel(blueKeyed, 0, 0), Px(0x0000FF));
    EXPECT_EQ(Sprite[blueKeyed].Object->colorKey(), 0x001F);
    EXPECT_EQ(Sprite[topLeft].Object->colorKey(), Px(0x0000FF));
    EXPECT_EQ(kaDraw::SpriteColor, 0xFFFFFFFFu);  // the Color of the last slot reloaded
    EXPECT_EQ(kaDraw::SpriteLeftTop, 0);
    EXPECT_EQ(BackPixel(0, 0), 0);  // the interrupted copy is not repeated
}
