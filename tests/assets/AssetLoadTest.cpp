// Loads every picture and sound the way the game does at start-up and checks
// what the game relies on: the numbers the loaders hand out, the sizes, the
// colour key, and where pictures are transparent.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "draw/kaDraw.h"
#include "game/Assets.h"
#include "platform/Options.h"
#include "sound/kaSound.h"

namespace {

struct SpriteCase {
    int* global;
    const char* name;
    int width, height;
};

const std::vector<SpriteCase>& SpriteCases() {
    static const std::vector<SpriteCase> kCases = {
        {&op, "op", 640, 480},           {&stage_select, "STAGE_SELECT", 640, 480}, {&stage_cursor, "CURSOR", 64, 64},
        {&stage_batu, "BATU", 32, 32},   {&block_g, "BLOCK_G", 32, 32},             {&block_c, "BLOCK_C", 32, 32},
        {&block_hosi, "BLOCK_HOSI", 32, 32}, {&block_y, "BLOCK_YARI", 32, 32},      {&p_left1, "P_LEFT1", 32, 32},
        {&p_left2, "P_LEFT2", 32, 32},   {&p_right1, "P_RIGHT1", 32, 32},           {&p_right2, "P_RIGHT2", 32, 32},
        {&p_up1, "P_USIRO1", 32, 32},    {&p_up2, "P_USIRO2", 32, 32},              {&p_up3, "P_USIRO3", 32, 32},
        {&p_down1, "P_MAE1", 32, 32},    {&p_down2, "P_MAE2", 32, 32},              {&p_down3, "P_MAE3", 32, 32},
        {&p_clear, "P_CLEAR", 32, 32},   {&s_g, "SURAIMU_G", 32, 32},               {&s_r, "SURAIMU_R", 32, 32},
        {&m_left, "M_LEFT", 32, 32},     {&m_right, "M_RIGHT", 32, 32},             {&m_usiro, "M_USIRO", 32, 32},
        {&m_mae, "M_MAE", 32, 32},       {&takara, "TAKARA", 32, 32},               {&takara2, "TAKARA2", 32, 32},
        {&ball_p, "BALL_P", 64, 64},     {&ball_g, "BALL_G", 64, 64},               {&ball_b, "BALL_B", 64, 64},
        {&ball_r, "BALL_R", 64, 64},     {&ball_s, "BALL_S", 64, 64},               {&window, "WINDOW", 640, 128},
        {&end1a, "END1A", 640, 480},     {&end1b, "END1B", 640, 480},               {&end2, "END2", 640, 480},
        {&staff, "STAFF", 640, 480},     {&event, "EVENT", 640, 480},
    };
    return kCases;
}

struct SoundCase {
    int* global;
    const char* path;
};

const std::vector<SoundCase>& SoundCases() {
    static const std::vector<SoundCase> kCases = {
        {&ds_op, "\\music\\op.WAV"},         {&ds_Main1, "\\music\\main.WAV"},  {&ds_select, "\\music\\select.WAV"},
        {&ds_boss, "\\music\\boss.WAV"},     {&ds_end1, "\\music\\end1.WAV"},   {&ds_end2, "\\music\\end2.WAV"},
        {&ds_staff, "\\music\\staff.WAV"},   {&ds_clear, "\\music\\clear.WAV"}, {&ds_cursor, "\\wave\\select.WAV"},
        {&ds_push, "\\wave\\start.WAV"},     {&ds_miss, "\\wave\\miss.WAV"},    {&ds_get, "\\wave\\get.WAV"},
        {&ds_genkyu, "\\wave\\genkyu.WAV"},
    };
    return kCases;
}

// Rows of a text strip that the game shows as one line each.
struct Band {
    int top, bottom;
};

class AssetLoadTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        plat::Options options;
        options.headless = true;
        plat::SetOptions(options);
        ASSERT_EQ(kaDraw::Screen(640, 480, 1), 1);
        kaDraw::ErrorCheck = 0;
        load_assets();
    }
    static void TearDownTestSuite() { kaDraw::DestroyObject(); }

    static uint16_t Pixel(int sprite, int x, int y) { return Sprite[sprite].Object->row(y)[x]; }
    static uint16_t Key(int sprite) { return Sprite[sprite].Object->colorKey(); }
    static bool Clear(int sprite, int x, int y) { return Pixel(sprite, x, y) == Key(sprite); }
    static int ClearCount(int sprite, int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += Clear(sprite, x, y);
        return n;
    }
    // Rows holding anything but the key.
    static std::vector<bool> InkedRows(int sprite) {
        std::vector<bool> rows(Sprite[sprite].SizeY, false);
        for (int y = 0; y < Sprite[sprite].SizeY; ++y)
            for (int x = 0; x < Sprite[sprite].SizeX; ++x)
                if (!Clear(sprite, x, y)) rows[size_t(y)] = true;
        return rows;
    }
    // Each band has ink, and every inked row lies in a band and in no other.
    static void ExpectLinesInBands(int sprite, const std::vector<Band>& bands) {
        const std::vector<bool> rows = InkedRows(sprite);
        for (const Band& b : bands) {
            bool any = false;
            for (int y = b.top; y < b.bottom; ++y) any = any || rows[size_t(y)];
            EXPECT_TRUE(any) << Sprite[sprite].FileName << " rows " << b.top << ".." << b.bottom << " are empty";
        }
        for (int y = 0; y < int(rows.size()); ++y) {
            int covering = 0;
            for (const Band& b : bands) covering += y >= b.top && y < b.bottom;
            if (rows[size_t(y)]) {
                EXPECT_EQ(covering, 1) << Sprite[sprite].FileName << " has ink in row " << y;
            }
        }
    }
};

TEST_F(AssetLoadTest, SpritesGetNumbersFourToFortyOneInTableOrderWithTheirSizes) {
    int expected = 4;
    for (const SpriteCase& c : SpriteCases()) {
        EXPECT_EQ(*c.global, expected) << c.name;
        ASSERT_GT(*c.global, 0) << c.name;
        EXPECT_STREQ(Sprite[*c.global].FileName, c.name);
        ASSERT_NE(Sprite[*c.global].Object, nullptr) << c.name;
        EXPECT_EQ(Sprite[*c.global].SizeX, c.width) << c.name;
        EXPECT_EQ(Sprite[*c.global].SizeY, c.height) << c.name;
        ++expected;
    }
}

TEST_F(AssetLoadTest, EverySpriteIsKeyedOnPureBlue) {
    for (const SpriteCase& c : SpriteCases()) {
        const int n = *c.global;
        ASSERT_GT(n, 0);
        EXPECT_EQ(Sprite[n].Color, 0xFF0000u) << c.name;
        EXPECT_TRUE(Sprite[n].Object->hasColorKey()) << c.name;
        EXPECT_EQ(Key(n), 0x001F) << c.name;  // blue on the 5-6-5 screen
    }
}

TEST_F(AssetLoadTest, SoundsGetNumbersZeroToTwelveFromTheirFiles) {
    int expected = 0;
    for (const SoundCase& c : SoundCases()) {
        EXPECT_EQ(*c.global, expected) << c.path;
        ASSERT_GE(*c.global, 0) << c.path;
        EXPECT_EQ(kaSound::ListUse[*c.global], 1) << c.path;
        EXPECT_EQ(kaSound::ListMix[*c.global], 1) << c.path;
        EXPECT_STREQ(kaSound::ListName[*c.global], c.path);
        ++expected;
    }
}

TEST_F(AssetLoadTest, TilesAndFullScreenPicturesHaveNoHoles) {
    for (int n : {op, stage_select, block_g, block_c, block_hosi, block_y, takara})
        EXPECT_EQ(ClearCount(n, 0, 0, Sprite[n].SizeX, Sprite[n].SizeY), 0) << Sprite[n].FileName;
}

TEST_F(AssetLoadTest, FiguresStandOnTransparentCorners) {
    for (int n : {stage_cursor, stage_batu, p_left1, p_left2, p_right1, p_right2, p_up1, p_up2, p_up3, p_down1,
                  p_down2, p_down3, p_clear, s_g, s_r, m_left, m_right, m_usiro, m_mae, takara2, ball_p, ball_g,
                  ball_b, ball_r, ball_s, window}) {
        const int w = Sprite[n].SizeX, h = Sprite[n].SizeY;
        EXPECT_TRUE(Clear(n, 0, 0) && Clear(n, w - 1, 0) && Clear(n, 0, h - 1) && Clear(n, w - 1, h - 1))
            << Sprite[n].FileName;
        // ...and the figure itself is there: at least a quarter of the square.
        EXPECT_LT(ClearCount(n, 0, 0, w, h), w * h * 3 / 4) << Sprite[n].FileName;
    }
    // The cursor frames a stage box: open in the middle, solid at its edges.
    EXPECT_EQ(ClearCount(stage_cursor, 12, 12, 52, 52), 40 * 40);
    EXPECT_FALSE(Clear(stage_cursor, 1, 32));
    EXPECT_FALSE(Clear(stage_cursor, 32, 62));
    // Balls are round and filled.
    for (int n : {ball_p, ball_g, ball_b, ball_r, ball_s}) EXPECT_EQ(ClearCount(n, 16, 16, 48, 48), 0);
    // The window is solid inside its rounded frame.
    EXPECT_EQ(ClearCount(window, 8, 8, 632, 120), 0);
}

TEST_F(AssetLoadTest, EndingAndStaffLinesSitInTheRowsTheScenesShow) {
    ExpectLinesInBands(end1a, {{0, 25}, {25, 49}, {49, 74}, {73, 97}, {98, 121}, {122, 145}, {146, 169}});
    ExpectLinesInBands(end1b, {{0, 24}, {24, 48}, {48, 72}, {72, 96}, {96, 120}, {120, 144}, {144, 168}, {168, 192}});
    ExpectLinesInBands(end2, {{0, 26}, {26, 52}, {53, 76}, {76, 100}, {100, 125}, {126, 148}, {150, 175}});
    ExpectLinesInBands(staff, {{0, 99}, {99, 198}, {198, 295}, {295, 332}, {332, 367}});
    // A scrolling staff strip is swapped for the next when it reaches
    // y = -66, with its lower rows still on screen: they must be empty, or
    // a line would vanish halfway up.
    const std::vector<bool> rows = InkedRows(staff);
    for (int start : {0, 99, 198})
        for (int y = start + 66; y < start + 99 && y < 295; ++y) EXPECT_FALSE(rows[size_t(y)]) << "staff row " << y;
}

TEST_F(AssetLoadTest, IntroBannersFillTheirRowsAndNothingElse) {
    // Banner 1 is rows 0..64, banner 2 rows 65..129, both drawn at y 208.
    std::vector<bool> rows = InkedRows(event);
    for (int y = 0; y < 480; ++y) EXPECT_EQ(rows[size_t(y)], y < 130) << "row " << y;
    EXPECT_EQ(ClearCount(event, 8, 8, 632, 57), 0);
    EXPECT_EQ(ClearCount(event, 8, 73, 632, 122), 0);
}

TEST_F(AssetLoadTest, StageNumbersSitUnderTheirClearedMarks) {
    // The bright ink of each number must be covered by the 32x32 mark drawn
    // at the mark position, and the cursor cell around it must hold it all.
    const int marks[12][2] = {{112, 144}, {176, 144}, {240, 144}, {304, 144}, {368, 144}, {432, 144},
                              {496, 144}, {112, 208}, {176, 208}, {245, 208}, {309, 208}, {373, 208}};
    for (int stage = 0; stage < 12; ++stage) {
        const int cellX = stage < 7 ? 96 + 64 * stage : 96 + 64 * (stage - 7);
        const int cellY = stage < 7 ? 128 : 192;
        int bright = 0, outside = 0;
        for (int y = cellY; y < cellY + 64; ++y) {
            for (int x = cellX; x < cellX + 64; ++x) {
                const _getrgb c = GetRGB[Pixel(stage_select, x, y)];
                if (c.r + c.g + c.b < 80) continue;
                ++bright;
                const bool covered = x >= marks[stage][0] && x < marks[stage][0] + 32 && y >= marks[stage][1] &&
                                     y < marks[stage][1] + 32;
                outside += !covered;
            }
        }
        EXPECT_GT(bright, 20) << "stage " << stage + 1;
        EXPECT_EQ(outside, 0) << "stage " << stage + 1;
    }
}

}  // namespace
