// Display set-up: pixel-format statics, start-up tables, mode fall-back,
// the error report and the shutdown.
#include <array>
#include <cstring>

#include "DrawFixture.h"
#include "draw/DrawInternal.h"
#include "draw/effects/kaEffect.h"

using namespace drawtest;

TEST_F(DrawTest, PixelFormatStaticsAndChannelSplitIn565And555) {
    using Statics = std::array<uint32_t, 15>;
    const std::pair<bool, Statics> cases[] = {
        {false, {0xF800, 0x07E0, 0x1F, 0x1F, 0x3F, 0x1F, 11, 5, 0, 11, 6, 0, 0x7BEF, 0x7BEF7BEF, 0xFFFF}},
        {true, {0x7C00, 0x03E0, 0x1F, 0x1F, 0x1F, 0x1F, 10, 5, 0, 10, 5, 0, 0x3DEF, 0x3DEF3DEF, 0x7FFF}}};
    for (const auto& [rgb555, expected] : cases) {
        SCOPED_TRACE(rgb555 ? "5-5-5" : "5-6-5");
        drawtest::OpenScreen(rgb555);
        using D = kaDraw;
        EXPECT_EQ((Statics{D::MaskR, D::MaskG, D::MaskB, D::BitR, D::BitG, D::BitB, D::ShiftR, D::ShiftG, D::ShiftB,
                           D::ShiftR2, D::ShiftG2, D::ShiftB2, D::MaskRGB, D::MaskRGB2, D::WhiteRGB}),
                  expected);

        // Every five-bit colour packed at the top-five positions splits back.
        int bad = 0;
        for (int r = 0; r < 32; ++r)
            for (int g = 0; g < 32; ++g)
                for (int b = 0; b < 32; ++b) {
                    const _getrgb& e = GetRGB[(r << D::ShiftR2) | (g << D::ShiftG2) | b];
                    bad += e.r != r || e.g != g || e.b != b;
                }
        EXPECT_EQ(bad, 0);
        // 5-5-5 never reaches bit 15; 5-6-5 drops the lowest green bit.
        EXPECT_EQ(GetRGB[0x0020].g, rgb555 ? 1 : 0);
        EXPECT_EQ(GetRGB[0xFFFF].r, rgb555 ? 0 : 31);
        // Bitmap pixels are reduced exactly as colour keys are made.
        EXPECT_EQ(kadraw::RgbPacker(plat::GetPixelFormat())(0x7F80FF),
                  plat::PixelFromColorRef(plat::GetPixelFormat(), 0xFF807F));
    }
}

TEST_F(DrawTest, StartUpTablesHoldTheirRules) {
    const int* r = kaDraw::RotateData;
    EXPECT_EQ((std::array<int, 6>{r[0], r[30], r[90], r[180], r[270], r[449]}),
              (std::array<int, 6>{0, 179, 360, 0, -360, 359}));

    const int shift[3] = {kaDraw::ShiftR2, kaDraw::ShiftG2, kaDraw::ShiftB2};
    for (int c = 0; c < 3; ++c) {
        for (int a = 0; a < 32; ++a)
            for (int b = 0; b < 32; ++b) {
                ASSERT_EQ(kaDraw::BlendList[c][0][a][b], a << shift[c]);
                ASSERT_EQ(kaDraw::BlendList[c][31][a][b], b << shift[c]);
            }
        EXPECT_EQ((Pixels{kaDraw::BlendList[c][10][20][25], kaDraw::AddBlendList[c][0][31][31],
                          kaDraw::AddBlendList[c][5][3][4], kaDraw::DelBlendList[c][3][5], kaDraw::DelBlendList[c][5][3]}),
                  (Pixels{static_cast<uint16_t>(14 << shift[c]), static_cast<uint16_t>(31 << shift[c]),
                          static_cast<uint16_t>(4 << shift[c]), 0, static_cast<uint16_t>(2 << shift[c])}));
    }
    EXPECT_EQ(kaDraw::GrayList[93], 31);
    EXPECT_EQ(kaDraw::GrayList[94] + kaDraw::GrayList[95], 0);
    int seen[3] = {};
    for (char n : kaEffect::FireRandomList) {
        ASSERT_TRUE(n >= 0 && n <= 2);
        ++seen[static_cast<int>(n)];
    }
    EXPECT_TRUE(seen[0] > 0 && seen[1] > 0 && seen[2] > 0);
}

TEST_F(DrawTest, DisplayModeFallsBackToTheRetryDepths) {
    kaDraw::DestroyObject();
    kaDraw::SetFullColor(32, 24, 16);
    ASSERT_EQ(kaDraw::Screen(640, 480, 1), 1);
    EXPECT_EQ(kaDraw::ColorBit, 16);

    kaDraw::DestroyObject();
    kaDraw::SetFullColor(32, 0, 16);
    std::string out = Reports([] { EXPECT_EQ(kaDraw::Screen(640, 480, 1), 0); });
    EXPECT_NE(out.find("kaDraw::Screen : 解像度が変更できません"), std::string::npos) << out;
    EXPECT_EQ(kaDraw::ErrorCheck, 1);
    kaDraw::DestroyObject();
    kaDraw::SetFullColor(16, 0, 0);
}

TEST_F(DrawTest, ErrorTextIsBoundedCutBetweenCharactersAndCarriesNoCode) {
    std::string out = Reports([] { EXPECT_EQ(kaDraw::Error("kaDraw::Test", "テスト", 987654), 0); });
    EXPECT_TRUE(out.find("エラー発生") != std::string::npos && out.find("kaDraw::Test : テスト") != std::string::npos)
        << out;
    EXPECT_EQ(out.find("987654"), std::string::npos);
    EXPECT_EQ(kaDraw::Error(), 1);

    char text[256];
    std::string longMessage;
    for (int i = 0; i < 200; ++i) longMessage += "画";  // 3 bytes each
    for (const char* function : {"f", "fu", "fun"}) {
        size_t n = kadraw::FormatErrorText(text, sizeof text, function, longMessage.c_str());
        EXPECT_TRUE(n == std::strlen(text) && n >= 253 && n <= 255) << n;
        EXPECT_EQ((n - std::strlen(function) - 3) % 3, 0u) << function;  // whole characters only
    }
}

TEST_F(DrawTest, ExitTearsDownOnce) {
    _CloseEvent = 0;
    _Mutex = 1;
    EXPECT_EQ(kaDraw::Exit(), 1);
    EXPECT_TRUE(DDObject == nullptr && Sprite[1].Object == nullptr && _Mutex == 0 && _CloseEvent == 2);
    _CloseEvent = 0;
    EXPECT_EQ(kaDraw::Exit(), 1);
    EXPECT_EQ(_CloseEvent, 0);  // the second call does nothing
}
