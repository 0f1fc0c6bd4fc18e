// Anti-aliased text: the reduction against a plain per-pixel reference with
// clipping on every side, its arithmetic on a worked example, the double
// size and cell rounding of DrawAA, the cut at the bottom, and layouts that
// could not progress; the timed reveal of Show.
#include <climits>
#include <random>
#include <vector>

#include "TextFixture.h"

namespace texttest {
namespace {

// The reduction written out pixel by pixel, clipping included.
std::vector<uint16_t> Reference(const std::vector<uint16_t>& before, int Px, int Py, int X1, int Y1, int X2, int Y2) {
    std::vector<uint16_t> out = before;
    const plat::Surface16& src = *Sprite[3].Object;
    int64_t px = Px, py = Py, x1 = X1, y1 = Y1, x2 = X2, y2 = Y2;
    while (x1 < 0) x1 += 2, px += 1;
    while (y1 < 0) y1 += 2, py += 1;
    x2 = std::min<int64_t>(x2, 640), y2 = std::min<int64_t>(y2, 480);
    int64_t ex = (x2 - x1) / 2, ey = (y2 - y1) / 2;
    const int64_t right = std::min(kaDraw::Vx2, 640), bottom = std::min(kaDraw::Vy2, 480);
    const int64_t left = std::max(kaDraw::Vx1, 0), top = std::max(kaDraw::Vy1, 0);
    if (px + ex > right) ex = right - px;
    if (py + ey > bottom) ey = bottom - py;
    if (px < left) ex -= left - px, x1 += 2 * (left - px), px = left;
    if (py < top) ey -= top - py, y1 += 2 * (top - py), py = top;
    auto channel = [](unsigned p, unsigned shift) { return (p >> shift) & 31; };
    const unsigned shifts[3] = {kaDraw::ShiftR2, kaDraw::ShiftG2, kaDraw::ShiftB2};
    for (int64_t dy = 0; dy < ey; ++dy)
        for (int64_t dx = 0; dx < ex; ++dx) {
            const int64_t cx = x1 + 2 * dx, cy = y1 + 2 * dy;
            unsigned count = 0, sum[3] = {0, 0, 0};
            for (int64_t y = cy - 1; y <= cy + 1; ++y)
                for (int64_t x = cx - 1; x <= cx + 1; ++x) {
                    if (x < x1 || x >= x2 || y < y1 || y >= y2) continue;
                    const unsigned p = src.row(static_cast<int>(y))[x];
                    if (p == 0) continue;
                    ++count;
                    for (int c = 0; c < 3; ++c) sum[c] += channel(p, shifts[c]);
                }
            if (count == 0) continue;
            const unsigned bg = BackAt(static_cast<int>(px + dx), static_cast<int>(py + dy));
            unsigned pixel = 0;
            for (int c = 0; c < 3; ++c) {
                unsigned v = sum[c] + 31;
                if (count < 8) v += channel(bg, shifts[c]) * (8 - count);
                pixel |= std::min(v / 8, 31u) << shifts[c];
            }
            out[(py + dy) * 640 + px + dx] = static_cast<uint16_t>(pixel);
        }
    return out;
}

std::vector<uint16_t> Slot2() {
    std::vector<uint16_t> v(640 * 480);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) v[y * 640 + x] = At(2, x, y);
    return v;
}

class AntiAliasTest : public TextTest {
protected:
    void Fill(std::mt19937& rng) {
        // Bands of dense and of sparse text, so that pixels with no sample
        // nearby occur too; slot 2 holds noise that those must keep.
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) {
                const bool black = (y / 8) % 2 == 0 ? rng() % 3 == 0 : rng() % 12 != 0;
                Sprite[3].Object->row(y)[x] = black ? 0 : static_cast<uint16_t>(rng() | 1);
                DDBack->row(y)[x] = static_cast<uint16_t>(rng());
                Sprite[2].Object->row(y)[x] = static_cast<uint16_t>(rng());
            }
    }
};

TEST_F(AntiAliasTest, TheReductionMatchesThePlainRuleWithClippingOnEverySide) {
    std::mt19937 rng(7);
    struct Case {
        int px, py, x1, y1, x2, y2;
        int vx1, vy1, vx2, vy2;
    };
    const Case cases[] = {
        {10, 20, 0, 0, 200, 100, 0, 0, 640, 480},
        {0, 0, 0, 0, 640, 480, 0, 0, 640, 480},     // the whole buffer
        {5, 7, 3, 1, 98, 51, 0, 0, 640, 480},       // odd sizes and starts
        {-7, -3, 10, 10, 100, 60, 0, 0, 640, 480},  // past the left and top
        {600, 460, 0, 0, 200, 100, 0, 0, 640, 480}, // past the right and bottom
        {10, 10, 0, 0, 300, 200, 40, 30, 100, 90},  // a small virtual screen
        {10, 10, -9, -5, 60, 40, 0, 0, 640, 480},   // source before slot 3
        {10, 10, 600, 440, 900, 700, 0, 0, 640, 480}, // source past slot 3
        {10, 10, 0, 0, 300, 200, -100, -100, 5000, 5000}, // virtual screen larger than the surfaces
        {10, 10, 50, 50, 40, 40, 0, 0, 640, 480},   // empty
        {INT_MAX, INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MIN, 0, 0, 640, 480},
        {3, 4, 1, 1, 22, 9, 0, 0, 640, 480},        // narrower than one block of 16
        {3, 4, 2, 0, 34, 40, 0, 0, 640, 480},       // exactly one block
        {3, 4, 2, 0, 37, 40, 0, 0, 640, 480},       // one block and one more pixel
    };
    for (bool rgb555 : {false, true}) {
        if (rgb555) {
            kaDraw::DestroyObject();
            plat::Options options;
            options.headless = true;
            options.rgb555 = true;
            plat::SetOptions(options);
            ASSERT_EQ(kaDraw::Screen(640, 480, 1), 1);
            ASSERT_EQ(kaDraw::ShiftG2, 5u);
        }
        for (const Case& c : cases) {
            Fill(rng);
            kaDraw::VirtualScreen(c.vx1, c.vy1, c.vx2, c.vy2);
            const std::vector<uint16_t> expected = Reference(Slot2(), c.px, c.py, c.x1, c.y1, c.x2, c.y2);
            EXPECT_EQ(kaFont::DrawAA2(c.px, c.py, c.x1, c.y1, c.x2, c.y2), 1);
            const std::vector<uint16_t> got = Slot2();
            int wrong = 0;
            for (size_t i = 0; i < got.size(); ++i) wrong += got[i] != expected[i];
            EXPECT_EQ(wrong, 0) << (rgb555 ? "5-5-5 " : "5-6-5 ") << c.px << "," << c.py << " " << c.x1 << "," << c.y1
                                << "," << c.x2 << "," << c.y2;
        }
    }
}

TEST_F(AntiAliasTest, FourWhiteSamplesOverBlueMixInEighths) {
    // Samples around source (2, 2): four white, five black.
    for (auto [x, y] : {std::pair{1, 1}, {2, 1}, {1, 2}, {2, 2}}) Sprite[3].Object->row(y)[x] = 0xFFFF;
    DDBack->row(1)[1] = ToPixel(0xFF0000);  // pure blue
    ASSERT_EQ(kaFont::DrawAA2(0, 0, 0, 0, 10, 10), 1);
    const uint16_t p = At(2, 1, 1);
    EXPECT_EQ((p >> kaDraw::ShiftR2) & 31, 19);
    EXPECT_EQ((p >> kaDraw::ShiftG2) & 31, 19);
    EXPECT_EQ((p >> kaDraw::ShiftB2) & 31, 31);
    EXPECT_EQ(p & 0x20, 0) << "the lowest green bit stays 0";
    EXPECT_EQ(At(2, 3, 3), 0) << "no text nearby: transparent";
}

TEST_F(AntiAliasTest, TextIsRenderedAtDoubleSizeAndShownAtItsOwn) {
    kaFont::BeginAA(1, 12);
    EXPECT_EQ(kaFont::FontHeight, 24);
    EXPECT_EQ(kaFont::FontInfo->lfHeight, 24);
    EXPECT_EQ(kaFont::FontInfo->lfWeight, 400);
    kaFont::Color(0xFFFFFF, 0, 1);
    kaFont::DrawAA(100, 100, 600, 400, "あA", 0);
    kaFont::BeforeAA();
    ASSERT_EQ(kaFont::FontCount, 3);
    // 'あ' 22 x 24 at double size; 'A' 11 wide, rounded up to 12.
    EXPECT_EQ(kaFont::TextPos[1].X2 - kaFont::TextPos[1].X1, 11);
    EXPECT_EQ(kaFont::TextPos[1].Y2 - kaFont::TextPos[1].Y1, 12);
    EXPECT_EQ(kaFont::TextPos[2].X1, 111);
    EXPECT_EQ(kaFont::TextPos[2].X2, 117);
    EXPECT_GT(Ink(*DDBack, 100, 100, 117, 112), 40);
    EXPECT_EQ(Ink(*DDBack, 0, 0, 640, 480), Ink(*DDBack, 100, 100, 117, 112));
    EXPECT_EQ(kaFont::FontDC, nullptr);
}

TEST_F(AntiAliasTest, APieceReachingTheBottomIsCutThereUnlessItIsTheLast) {
    kaFont::BeginAA(1, 16);
    kaFont::Color(0xFFFFFF, 0, 1);
    kaFont::DrawAA(0, 0, 640, 8, "ああ\nい", 0);
    EXPECT_GT(Ink(*Sprite[2].Object, 0, 0, 640, 8), 0);
    EXPECT_EQ(Ink(*Sprite[2].Object, 0, 8, 640, 480), 0);
    EXPECT_EQ(kaFont::TextPos[0].Y2, 8);
    kaFont::DrawAA(0, 0, 640, 8, "ああ", 0);
    EXPECT_GT(Ink(*Sprite[2].Object, 0, 8, 640, 480), 0) << "the last piece is converted whole";
    EXPECT_EQ(kaFont::TextPos[0].Y2, 8);
    kaFont::BeforeAA();
}

TEST_F(AntiAliasTest, HangingPunctuationAndWrappingFollowTheReachedEdge) {
    kaFont::BeginAA(1, 16);  // kana 15 wide on screen
    kaFont::Color(0xFFFFFF, 0, 1);
    kaFont::DrawAA(0, 0, 30, 400, "あい", 0);  // い reaches X2 exactly: it wraps
    ASSERT_EQ(kaFont::FontCount, 3);
    EXPECT_EQ(kaFont::TextPos[2].X1, 0);
    EXPECT_EQ(kaFont::TextPos[2].Y1, 16);
    kaFont::DrawAA(0, 0, 40, 400, "あい、う", 0);
    ASSERT_EQ(kaFont::FontCount, 4);
    EXPECT_EQ(kaFont::TextPos[0].X2, 45) << "、 hangs past the edge";
    EXPECT_EQ(kaFont::TextPos[3].X1, 0);
    EXPECT_EQ(kaFont::TextPos[3].Y1, 16);
    EXPECT_GT(Ink(*DDBack, 30, 0, 45, 16), 0) << "drawn on the first line";
    kaFont::BeforeAA();
}

TEST_F(AntiAliasTest, LayoutsThatCouldNotProgressEnd) {
    kaFont::BeginAA(1, 400);  // one character fills the line buffer by itself
    kaFont::Color(0xFFFFFF, 0, 1);
    kaFont::DrawAA(0, 0, 640, 480, "ああ", 0);
    EXPECT_EQ(kaFont::FontCount, 3) << "each on a line of its own";
    kaFont::DrawAA(0, 0, 640, INT_MAX, "あいう", 0);
    kaFont::BeginAA(1, 16);
    kaFont::DrawAA(100, 0, 50, INT_MAX, "あいう", 0);
    EXPECT_EQ(kaFont::FontCount, 1);
    kaFont::DrawAA(0, 0, 5, INT_MAX, "あいう", 0);
    EXPECT_EQ(kaFont::FontCount, 1);
    kaFont::BeginAA(1, 0);
    kaFont::DrawAA(0, 0, 640, 480, "あ\n\n\nい", 0);
    kaFont::BeginAA(1, -30);
    kaFont::DrawAA(0, 0, 640, 480, "あいう", 0);
    kaFont::BeforeAA();
    const std::string many(10000, 'i');
    kaFont::BeginAA(1, 3);
    kaFont::DrawAA(0, 0, 640, 480, many.c_str(), 0);
    EXPECT_EQ(kaFont::FontCount, kaFont::kTextPosCount);
    kaFont::BeforeAA();
}

class ShowTest : public TextTest {};

TEST_F(ShowTest, CharactersAppearOneStepAtATimeAndTheWholeTextOneStepAfterTheLast) {
    kaFont::Begin(1, 16, 0, 0, 0, 0);
    kaFont::Color(0xFFFFFF, 0, 1);
    kaFont::HideDraw(0, 0, 600, 400, "あいうえおかきくけこ", 0);
    kaFont::Before();
    ASSERT_EQ(kaFont::FontCount, 11);
    FrameTime = 0.25f;  // two frames per step of 0.5 s
    int firstShown = -1, allShown = -1, done = -1;
    for (int frame = 0; frame < 40 && done < 0; ++frame) {
        kaDraw::Clear();
        const int result = kaFont::Show(0.5f);
        int cells = 0;
        for (int i = 1; i <= 10; ++i) cells += Ink(*DDBack, 15 * (i - 1), 0, 15 * i, 16) > 0;
        if (cells >= 1 && firstShown < 0) firstShown = frame;
        if (cells == 10 && allShown < 0) allShown = frame;
        if (result == 1) done = frame;
    }
    // In seconds before the call: 1.0, 5.5 and 6.0.
    EXPECT_EQ(firstShown, 4);
    EXPECT_EQ(allShown, 22);
    EXPECT_EQ(done, 24);
    EXPECT_EQ(kaFont::Show(0.5f), 1);
}

TEST_F(ShowTest, ZeroWaitShowsEverythingAtOnceAndScribbledCountsStayInTheTable) {
    kaFont::Begin(1, 16, 0, 0, 0, 0);
    kaFont::Color(0xFFFFFF, 0, 1);
    kaFont::HideDraw(0, 0, 600, 400, "あいう", 0);
    kaFont::Before();
    EXPECT_EQ(kaFont::Show(0), 1);
    EXPECT_EQ(Ink(*DDBack, 0, 0, 640, 480), Ink(*Sprite[2].Object, 0, 0, 640, 480));
    kaFont::FontCount = 100000;
    kaFont::ShowCount = 50000;
    kaFont::Show(1.0f);
    kaFont::FontCount = -5;
    EXPECT_EQ(kaFont::Show(1.0f), 1);
}

}  // namespace
}  // namespace texttest
