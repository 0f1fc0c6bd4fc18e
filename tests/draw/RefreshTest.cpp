// Presentation: the copy to the visible surface, the mask fades, the
// transitions from the Screen sprite and the scrolling help page.
#include <cstdlib>

#include "DrawFixture.h"

using namespace drawtest;

namespace {

uint16_t S(int x, int y) { return static_cast<uint16_t>(1 + x + 1000 * (y % 60)); }

// Draws one transition frame of the numbered Screen sprite onto black.
void Transition(int type, int fadeNo, int fadeMax) {
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) Sprite[1].Object->row(y)[x] = S(x, y);
    FillSurface(DDBack, 0);
    kaDraw::FadeType = type;
    kaDraw::FadeNo = fadeNo;
    kaDraw::FadeMax = fadeMax;
    kaDraw::Refresh();
}

}  // namespace

TEST_F(DrawTest, RefreshPresentsAndRecoversLostSurfaces) {
    FillSurface(DDBack, 0x2345);
    kaDraw::Refresh();
    ASSERT_NE(plat::LastPresentedFrame(), nullptr);
    EXPECT_EQ(plat::LastPresentedFrame()->row(479)[639], 0x2345);
    DDBack->markLost();
    kaDraw::Refresh();
    EXPECT_FALSE(DDBack->isLost());
}

TEST_F(DrawTest, FadesDrawTheTenMaskFramesInOrder) {
    kaDraw::MaskBMP = kaDraw::CreateObject(640, 48, 2);
    for (int x = 0; x < 640; ++x)
        for (int y = 0; y < 48; ++y) Sprite[kaDraw::MaskBMP].Object->row(y)[x] = static_cast<uint16_t>(x / 64 + 1);
    for (bool out : {true, false}) {
        out ? kaDraw::FadeOut() : kaDraw::FadeIn();
        for (int call = 0; call < 11; ++call) {
            FillSurface(DDBack, 0);
            kaDraw::Refresh();
            uint16_t frame = call == 10 ? 0 : out ? call + 1 : 10 - call;
            EXPECT_EQ(Back({{0, 0}, {639, 479}}), Pixels(2, frame)) << out << call;
        }
        EXPECT_EQ(kaDraw::FadeNo + kaDraw::FadeAdd, 0);
    }
}

TEST_F(DrawTest, TransitionsCopyTheirPartOfTheScreenSprite) {
    Transition(1, 3, 0);  // every row but each third
    EXPECT_EQ(Back({{5, 1}, {5, 3}}), (Pixels{S(5, 1), 0}));
    Transition(2, 2, 8);  // bands of N + 1 rows every M rows
    EXPECT_EQ(Back({{7, 10}, {7, 11}}), (Pixels{S(7, 10), 0}));
    Transition(5, 10, 10);  // shifted up by H / M
    EXPECT_EQ(Back({{9, 0}, {9, 432}}), (Pixels{S(9, 48), 0}));
    Transition(10, 10, 10);  // halves moved apart by 32 pixels each
    EXPECT_EQ(Back({{0, 50}, {300, 50}, {352, 50}}), (Pixels{S(32, 50), 0, S(320, 50)}));
    Transition(11, 4, 10);  // the left 256 columns
    EXPECT_EQ(Back({{255, 70}, {256, 70}}), (Pixels{S(255, 70), 0}));
    Transition(12, 4, 10);  // from column 448 on
    EXPECT_EQ(Back({{447, 70}, {448, 70}}), (Pixels{0, S(448, 70)}));
    std::srand(3);
    Transition(3, 3, 10);  // rows shaken by -8..7 pixels
    for (int y : {1, 2, 4, 100}) {
        int shift = 320 - (BackPixel(320, y) - S(0, y));
        EXPECT_TRUE(shift >= -8 && shift <= 7) << y << ": " << shift;
    }
}

TEST_F(DrawTest, TransitionsWithoutEnoughStepsDrawNothing) {
    const std::pair<int, int> cases[] = {{2, 0}, {2, -4}, {5, 0}, {6, 0}, {7, 0}, {8, 0},
                                         {9, 0}, {10, 0}, {11, 0}, {12, 0}, {3, 9}, {4, 9}};
    for (auto [type, fadeMax] : cases) {
        Transition(type, 10, fadeMax);
        int lit = 0;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) lit += BackPixel(x, y) != 0;
        EXPECT_EQ(lit, 0) << type << "/" << fadeMax;
    }
}

TEST_F(DrawTest, HelpPageScrollsWithTheArrowKeysWithinItsLength) {
    kaDraw::Help();
    EXPECT_EQ(kaDraw::HelpOn, 0);  // nothing loaded
    kaDraw::HelpBMP[0] = kaDraw::CreateObject(640, 2000, 2);
    kaDraw::HelpBMP[1] = kaDraw::CreateObject(64, 48, 2);
    for (int y = 0; y < 2000; ++y)
        for (int x = 0; x < 640; ++x) Sprite[kaDraw::HelpBMP[0]].Object->row(y)[x] = static_cast<uint16_t>(1 + y);
    kaDraw::HelpSize = 2000;
    kaDraw::Help();
    kaDraw::HelpY = 100;
    kaDraw::Refresh();
    EXPECT_EQ(Back({{0, 0}, {5, 479}}), (Pixels{101, 580}));

    FrameTime = 1.0f;
    const std::pair<unsigned, float> keys[] = {{VK_DOWN, 1520}, {VK_UP, 0}, {VK_RIGHT, 1520}};
    for (auto [key, end] : keys) {
        HelpKey = key;
        for (int i = 0; i < 20; ++i) kaDraw::Refresh();
        EXPECT_EQ(kaDraw::HelpY, end) << key;
    }
    // 60 one-second frames of drift at 10 pixels per second, kept in the tile.
    EXPECT_EQ(kaDraw::HelpBackX + kaDraw::HelpBackY, -48.0f);
}

TEST_F(DrawTest, LoadHelpReusesItsSlotsAndSparesTheBufferSprite) {
    std::string page = files.Write("hp", MakeBmp8(4, 8, {0xFFFFFF}, std::vector<uint8_t>(32, 0)));
    std::string tile = files.Write("ht", MakeBmp8(2, 2, {0x00FF00}, std::vector<uint8_t>(4, 0)));
    Reports([&] { kaDraw::LoadHelp(page.c_str(), "missingtile", 960); });
    EXPECT_EQ(kaDraw::HelpBMP[0] * 10 + kaDraw::HelpBMP[1], 40);  // the tile failed: 0
    kaDraw::HelpY = 50;
    kaDraw::LoadHelp(tile.c_str(), page.c_str(), 480);
    EXPECT_EQ(kaDraw::HelpBMP[0] * 10 + kaDraw::HelpBMP[1], 46);  // slot 5 keeps the failed name
    EXPECT_EQ(Sprite[4].SizeX, 2);
    EXPECT_STREQ(Sprite[0].FileName, "内部用１");
    EXPECT_EQ(Sprite[0].SizeX, 640);
    EXPECT_EQ(kaDraw::HelpY + kaDraw::HelpSize, 480.0f);
}
