// The six-argument Draw: wrapping, the two-byte unit, hanging punctuation,
// newlines, effect spacing, the colour guard, the table bound, and layouts
// that could not progress; Begin's font description and the face table.
#include <climits>
#include <cstring>
#include <string>

#include "TextFixture.h"
#include "platform/TextDecode.h"
#include "shell/kaSystem.h"

namespace texttest {
namespace {

using Pos = kaFont::_textpos;

void ExpectPos(int i, Pos expected) {
    const Pos& p = kaFont::TextPos[i];
    EXPECT_EQ(p.X1, expected.X1) << "record " << i;
    EXPECT_EQ(p.Y1, expected.Y1) << "record " << i;
    EXPECT_EQ(p.X2, expected.X2) << "record " << i;
    EXPECT_EQ(p.Y2, expected.Y2) << "record " << i;
}

class LayoutTest : public TextTest {
protected:
    // Gothic 16: kana 15 x 16, ASCII 8 x 16.
    void Lay(int x1, int y1, int x2, int y2, const char* text, unsigned short effect = 0) {
        kaFont::Begin(1, 16, 0, 0, 0, 0);
        kaFont::Color(0xFFFFFF, 0x0000FF, 1);
        kaFont::Draw(x1, y1, x2, y2, text, effect);
        kaFont::Before();
    }
};

TEST_F(LayoutTest, ACharacterPastTheRightEdgeMovesWholeToTheNextLine) {
    struct Case {
        const char* name;
        const char* text;
    };
    // The same four kana in both encodings: one unit per character.
    for (const Case& c : {Case{"utf8", "あいうえ"}, Case{"cp932", "\x82\xa0\x82\xa2\x82\xa4\x82\xa6"}}) {
        Lay(0, 0, 40, 100, c.text);
        ASSERT_EQ(kaFont::FontCount, 5) << c.name;
        ExpectPos(1, {0, 0, 15, 16});
        ExpectPos(2, {15, 0, 30, 16});
        ExpectPos(3, {0, 16, 15, 32});  // reached X2 = 40 in its middle
        ExpectPos(4, {15, 16, 30, 32});
        ExpectPos(0, {0, 0, 30, 32});
    }
    // Exactly at X2 still fits.
    Lay(0, 0, 45, 100, "あいうえ");
    ExpectPos(3, {30, 0, 45, 16});
}

TEST_F(LayoutTest, PunctuationHangsPastTheEdgeAndOtherCharactersWrap) {
    Lay(10, 0, 40, 100, "あい、う");
    ASSERT_EQ(kaFont::FontCount, 4);  // 、 has no record of its own
    ExpectPos(3, {10, 16, 25, 32});
    EXPECT_EQ(kaFont::TextPos[0].X2, 55) << "record 0 grows over the hanging cell";
    EXPECT_GT(Ink(*Sprite[2].Object, 40, 0, 55, 16), 0) << "drawn beyond the edge";
    EXPECT_GT(Ink(*DDBack, 40, 0, 55, 16), 0) << "and copied with the rest";

    Lay(10, 0, 40, 100, "あいかう");
    ASSERT_EQ(kaFont::FontCount, 5);
    ExpectPos(3, {10, 16, 25, 32});
    EXPECT_EQ(Ink(*Sprite[2].Object, 40, 0, 640, 16), 0);
}

TEST_F(LayoutTest, ANewlineRecordsNoCellAndStartsTheNextLine) {
    Lay(5, 7, 600, 400, "AB\nC");
    ASSERT_EQ(kaFont::FontCount, 4);
    ExpectPos(3, {5, 7 + 16, 13, 7 + 32});
}

TEST_F(LayoutTest, EffectsWidenCellsAndTheLineSpacingGrowsWithATallerCell) {
    Lay(0, 0, 600, 400, "A\nB", 0x0104);  // shadow, 4 pixels of spacing
    ExpectPos(1, {0, 0, 9, 17});
    ExpectPos(2, {0, 20, 9, 37});
    Lay(0, 0, 600, 400, "A\nB\nC", 0x0100);  // the shadowed cell is taller than 16
    ExpectPos(2, {0, 17, 9, 34});
    ExpectPos(3, {0, 34, 9, 51});
    Lay(0, 0, 600, 400, "A", 0x0600);  // both thickenings
    ExpectPos(1, {0, 0, 9, 17});
}

TEST_F(LayoutTest, TheColourGuardKeepsTextOffTheColourKeyAndTheContextGetsItBack) {
    struct Case {
        uint32_t color, drawn;
    };
    for (const Case& c : {Case{0x080808, 0x101010}, Case{0x000000, 0x101010}, Case{0xC80808, 0xC80808}}) {
        kaFont::Begin(1, 16, 0, 0, 0, 0);
        kaFont::Color(c.color, 0x000000, 1);
        kaFont::HideDraw(0, 0, 600, 400, "■", 0);
        EXPECT_EQ(kaFont::FontTextColor, c.drawn);
        EXPECT_EQ(kaFont::FontBackColor, 0x101010u);
        ASSERT_NE(kaFont::FontDC, nullptr);
        EXPECT_EQ(kaFont::FontDC->surface(), DDBack) << "the pair goes on on the back surface";
        EXPECT_EQ(kaFont::FontDC->textColor(), c.drawn);
        EXPECT_EQ(kaFont::FontDC->bkMode(), plat::BackgroundMode::Transparent);
        kaFont::Before();
        EXPECT_EQ(At(2, 7, 8), ToPixel(c.drawn));
    }
}

TEST_F(LayoutTest, LayoutStopsWhenTheRecordTableIsFull) {
    const std::string many(10000, 'i');
    kaFont::Begin(1, 4, 0, 0, 0, 0);
    kaFont::Draw(0, 0, 640, 480, many.c_str(), 0);
    kaFont::Before();
    EXPECT_EQ(kaFont::FontCount, kaFont::kTextPosCount);
}

TEST_F(LayoutTest, ABrokenTrailingCharacterIsDropped) {
    Lay(0, 0, 600, 400, "\x82\xa0\x82");
    EXPECT_EQ(kaFont::FontCount, 2);
    Lay(0, 0, 600, 400, "A\x82");
    EXPECT_EQ(kaFont::FontCount, 2);
}

TEST_F(LayoutTest, LinesBelowTheBottomAreDroppedButTheFirstLineIsAlwaysLaidOut) {
    Lay(0, 0, 30, 40, "ああああああ");  // two per line; the second line ends at 32 + 16 >= 40
    EXPECT_EQ(kaFont::FontCount, 5);
    Lay(0, 100, 30, 50, "ああああ");
    EXPECT_EQ(kaFont::FontCount, 3);
}

TEST_F(LayoutTest, LayoutsThatCouldNotProgressEnd) {
    // Right edge left of the left edge, a huge bottom, a character wider than
    // the line, no line height: each returns, with what fits laid out.
    Lay(100, 0, 50, INT_MAX, "あいう");
    EXPECT_EQ(kaFont::FontCount, 1);
    Lay(0, 0, 10, INT_MAX, "あいう");
    EXPECT_EQ(kaFont::FontCount, 1);
    Lay(0, 0, 10, INT_MAX, "、い");  // hangs, then い never fits
    EXPECT_EQ(kaFont::FontCount, 1);
    EXPECT_EQ(kaFont::TextPos[0].X2, 15);
    kaFont::Begin(1, -20, 0, 0, 0, 0);
    kaFont::Draw(0, 0, 20, INT_MAX, "あいうえおかきくけこ", 0);
    kaFont::Before();
    EXPECT_EQ(kaFont::FontCount, 11);
    Lay(INT_MAX - 20, INT_MAX - 20, INT_MAX, INT_MAX, "あいう");
    Lay(INT_MIN, INT_MIN, INT_MIN + 30, INT_MIN + 100, "あいう");
}

TEST_F(LayoutTest, HiddenTextReachesTheBackSurfaceOnlyThroughShow) {
    kaFont::Begin(1, 16, 0, 0, 0, 0);
    kaFont::Color(0xFFFFFF, 0, 1);
    kaFont::HideDraw(0, 0, 600, 400, "あいう", 0);
    kaFont::Before();
    EXPECT_EQ(Ink(*DDBack, 0, 0, 640, 480), 0);
    EXPECT_GT(Ink(*Sprite[2].Object, 0, 0, 640, 480), 0);
    EXPECT_EQ(kaFont::DrawAndShow, 1);
    EXPECT_EQ(kaFont::Show(0), 1);
    EXPECT_EQ(Ink(*DDBack, 0, 0, 640, 480), Ink(*Sprite[2].Object, 0, 0, 640, 480));
}

TEST_F(LayoutTest, CallsOutOfOrderDoNothing) {
    kaFont::FontCount = 77;
    kaFont::Draw(0, 0, 100, 100, "あ", 0);  // no Begin
    kaFont::HideDraw(0, 0, 100, 100, "あ", 0);
    kaFont::Before();
    kaFont::Color(0xFFFFFF, 0, 0);
    kaFont::Draw(0, 0, "あ");
    EXPECT_EQ(kaFont::FontCount, 77);
    EXPECT_EQ(kaFont::DrawAndShow, 1);
    EXPECT_EQ(Ink(*DDBack, 0, 0, 640, 480), 0);

    kaFont::Begin(1, 16, 0, 0, 0, 0);
    kaFont::Begin(0, 24, 0, 0, 0, 0);  // closes the first context
    EXPECT_EQ(kaFont::FontHeight, 24);
    kaFont::Before();
    EXPECT_EQ(kaFont::FontDC, nullptr);

    kaFont::DestroyObject();  // from here on nothing has a font description
    kaFont::Begin(1, 16, 0, 0, 0, 0);
    kaFont::BeginAA(1, 16);
    kaFont::Draw(0, 0, 100, 100, "あ", 0);
    kaFont::DrawAA(0, 0, 100, 100, "あ", 0);
    EXPECT_EQ(kaFont::FontDC, nullptr);
    EXPECT_EQ(kaFont::Show(0.5f), 1);
    kaFont::Init();
}

TEST_F(LayoutTest, BeginDescribesTheFont) {
    struct Case {
        int type, size, round, bold, italic, line;
        const char* face;
        int weight, escapement;
    };
    const Case cases[] = {
        {1, 12, 0, 0, 0, 0, "標準ゴシック", 400, 0},
        {0, 16, 90, 1, 0, 0, "標準明朝", 700, 900},
        {7, 20, 0, 2, 1, 1, "標準明朝", 0, 0},  // any other number keeps the face
    };
    for (const Case& c : cases) {
        kaFont::Begin(c.type, c.size, c.round, c.bold, c.italic, c.line);
        const plat::LogFont& f = *kaFont::FontInfo;
        EXPECT_STREQ(f.lfFaceName, c.face);
        EXPECT_EQ(f.lfHeight, c.size);
        EXPECT_EQ(kaFont::FontHeight, c.size);
        EXPECT_EQ(f.lfWeight, c.weight);
        EXPECT_EQ(f.lfEscapement, c.escapement);
        EXPECT_EQ(f.lfItalic, c.italic);
        EXPECT_EQ(f.lfUnderline, c.line);
        EXPECT_EQ(f.lfCharSet, plat::kShiftJisCharset);
        kaFont::Before();
    }
}

TEST_F(LayoutTest, TheFaceTableHoldsTheInstalledFacesWithTheirCharacterSets) {
    ASSERT_GE(kaFont::MaxFont, 3);
    EXPECT_STREQ(kaFont::FontData[0].Name, "標準ゴシック");
    EXPECT_EQ(kaFont::FontData[0].Type, 1);
    bool latin = false;
    for (int i = 0; i < kaFont::MaxFont; ++i) {
        if (std::strcmp(kaFont::FontData[i].Name, "DejaVu Sans") != 0) continue;
        latin = true;
        EXPECT_EQ(kaFont::FontData[i].Type, 2);
        // The string form takes the face's own character set.
        kaFont::Begin("DejaVu Sans", 16, 0, 0, 0, 0);
        EXPECT_EQ(kaFont::FontInfo->lfCharSet, kaFont::FontData[i].CharSet);
        kaFont::Before();
    }
    EXPECT_TRUE(latin);
    for (int i = kaFont::MaxFont; i < kaFont::kFontDataCount; ++i) EXPECT_EQ(kaFont::FontData[i].Type, -1);

    // The table stops at 200; long names are cut at a character boundary.
    plat::LogFont lf{};
    plat::CopyTextBounded(lf.lfFaceName, sizeof lf.lfFaceName, "あいうえおかきくけこさ");
    kaFont::MaxFont = 0;
    EXPECT_EQ(kaFont::SearchFont(&lf, nullptr, 4, 0), 1);
    EXPECT_STREQ(kaFont::FontData[0].Name, "あいうえおかきくけこ");
    for (int i = 1; i < kaFont::kFontDataCount; ++i) kaFont::SearchFont(&lf, nullptr, 4, 0);
    EXPECT_EQ(kaFont::SearchFont(&lf, nullptr, 4, 0), 0);
    EXPECT_EQ(kaFont::MaxFont, kaFont::kFontDataCount);
    kaFont::Begin("あいうえおかきくけこさしすせそ", 16, 0, 0, 0, 0);
    EXPECT_STREQ(kaFont::FontInfo->lfFaceName, "あいうえおかきくけこ");
    kaFont::Before();
}

TEST_F(LayoutTest, AreaTextWrapsInItsRectangleAndGetHeightMeasuresIt) {
    kaFont::Begin(1, 16, 0, 0, 0, 0);
    kaFont::Color(0xFFFFFF, 0, 1);
    EXPECT_EQ(kaFont::GetHeight(0, 0, 45, 0, "あいうえおか"), 32);
    EXPECT_EQ(Ink(*DDBack, 0, 0, 640, 480), 0);
    kaFont::AreaDraw(0, 0, 45, 100, "あいうえおか", 3);  // no such alignment
    EXPECT_EQ(Ink(*DDBack, 0, 0, 640, 480), 0);
    kaFont::AreaDraw(0, 0, 45, 100, "あいうえおか", 2);
    EXPECT_GT(Ink(*DDBack, 0, 16, 45, 32), 0);
    EXPECT_EQ(Ink(*DDBack, 45, 0, 640, 480), 0);
    kaFont::Before();
}

TEST_F(LayoutTest, TheWeekdayIsOneCp932CharacterInThreeBytes) {
    char week[3] = {'x', 'x', 'x'};
    int year = 0, month = 0, day = 0;
    kaSystem::GetDate(&year, &month, &day, week);
    EXPECT_EQ(week[2], '\0');
    const std::u32string code = plat::DecodeCodes(week);
    ASSERT_EQ(code.size(), 1u);
    EXPECT_NE(std::u32string(U"日月火水木金土").find(code[0]), std::u32string::npos);
}

}  // namespace
}  // namespace texttest
