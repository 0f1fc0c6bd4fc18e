// The frame-rate meter and the debug text, and the back surface's context
// of hdc.
#include <string>

#include "TextFixture.h"
#include "platform/Clock.h"
#include "platform/DrawContext.h"

namespace texttest {
namespace {

class DebugTextTest : public TextTest {
protected:
    void ResetMeter() {
        kaDraw::FpsTime = plat::TimeGetTime();
        kaDraw::FpsCnt = 0;
        kaDraw::FpsData = kaDraw::FpsDataMax = 0;
        kaDraw::FpsDataMin = 999.9f;
    }
};

TEST_F(DebugTextTest, TheMeterCountsFramesOverTwoSeconds) {
    ResetMeter();
    kaDraw::ShowFPS();
    EXPECT_EQ(kaDraw::FpsData, 0.0f);
    EXPECT_EQ(kaDraw::FpsDataMin, 999.9f) << "0 is not a minimum";
    for (int i = 1; i < 120; ++i) {
        plat::EndFrame();
        kaDraw::ShowFPS();
    }
    plat::SleepUntil(kaDraw::FpsTime);
    kaDraw::ShowFPS();
    EXPECT_FLOAT_EQ(kaDraw::FpsData, 60.0f);
    EXPECT_FLOAT_EQ(kaDraw::FpsDataMax, 60.0f);
    EXPECT_FLOAT_EQ(kaDraw::FpsDataMin, 60.0f);
    EXPECT_GT(Ink(*DDBack, 0, 0, 200, 12), 0);
}

TEST_F(DebugTextTest, TheFrameCountSaturatesAt999) {
    ResetMeter();
    for (int i = 0; i < 3000; ++i) kaDraw::ShowFPS();
    EXPECT_EQ(kaDraw::FpsCnt, 999);
    plat::SleepUntil(kaDraw::FpsTime);
    kaDraw::ShowFPS();
    EXPECT_FLOAT_EQ(kaDraw::FpsData, 499.5f);
}

TEST_F(DebugTextTest, FormattedTextIsWhiteOnDarkBlueAtItsPosition) {
    kaDraw::ShowFormat(0, 0, "%d", 5);
    const uint16_t blue = ToPixel(0x800000), white = ToPixel(0xFFFFFF);
    int whites = 0;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 6; ++x) {
            ASSERT_TRUE(BackAt(x, y) == blue || BackAt(x, y) == white) << x << "," << y;
            whites += BackAt(x, y) == white;
        }
    EXPECT_GT(whites, 5);
    EXPECT_EQ(Ink(*DDBack, 6, 0, 640, 480), 0);
    EXPECT_EQ(Ink(*DDBack, 0, 12, 640, 480), 0);
}

TEST_F(DebugTextTest, AnOverlongFormatIsCutAtACharacterAndStaysUtf8) {
    std::string wide;
    for (int i = 0; i < 200; ++i) wide += "あ";
    kaDraw::ShowFormat(0, 100, "%s", wide.c_str());  // 600 bytes into 256
    std::vector<uint16_t> formatted(DDBack->row(100), DDBack->row(100) + 640 * 12);
    kaDraw::Clear();
    kaDraw::ShowString(0, 100, wide.substr(0, 255 / 3 * 3).c_str());
    EXPECT_TRUE(std::equal(formatted.begin(), formatted.end(), DDBack->row(100)));
    kaDraw::ShowFormat(0, 0, nullptr);
    kaDraw::ShowString(0, 0, nullptr);
}

TEST_F(DebugTextTest, TheBackSurfaceContextDrawsOnTheBackSurfaceUntilReleased) {
    kaDraw::GetDC();
    ASSERT_NE(hdc, nullptr);
    EXPECT_EQ(hdc->surface(), DDBack);
    kaDraw::GetDC();  // replaces, does not leak
    kaDraw::ReleaseDC();
    EXPECT_EQ(hdc, nullptr);
    kaDraw::ReleaseDC();
    // A debug text inside a caller's own Begin pair closes that pair first.
    kaFont::Begin(0, 30, 0, 0, 0, 0);
    kaDraw::ShowString(0, 0, "x");
    EXPECT_EQ(kaFont::FontDC, nullptr);
}

}  // namespace
}  // namespace texttest
