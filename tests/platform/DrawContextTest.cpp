// Text on a drawing context: the GDI-like cell metrics of the pinned faces,
// one-bit glyphs, background modes, clipping, bold, underline, escapement,
// and the word-wrapped text with its measure-only mode and alignment.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "platform/DrawContext.h"
#include "platform/Fonts.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
const plat::PixelFormat kFormat = plat::PixelFormat::Rgb565();

plat::LogFont Gothic(int height) {
    plat::LogFont lf{};
    lf.lfHeight = height;
    lf.lfWeight = 400;
    lf.lfCharSet = plat::kShiftJisCharset;
    std::strcpy(lf.lfFaceName, "標準ゴシック");
    return lf;
}

struct FontDeleter {
    void operator()(plat::Font* f) const { plat::DeleteFont(f); }
};
using FontPtr = std::unique_ptr<plat::Font, FontDeleter>;

int Ink(const plat::Surface16& s, int x1 = 0, int y1 = 0, int x2 = 1 << 20, int y2 = 1 << 20) {
    int n = 0;
    for (int y = std::max(0, y1); y < std::min(s.height(), y2); ++y)
        for (int x = std::max(0, x1); x < std::min(s.width(), x2); ++x) n += s.row(y)[x] != 0;
    return n;
}

class DrawContextTest : public testing::Test {
protected:
    void SetUp() override {
        surface_ = std::make_unique<plat::Surface16>(200, 100);
        dc_ = std::make_unique<plat::DrawContext>(surface_.get(), kFormat);
        dc_->SetTextColor(kWhite);
        dc_->SetBkMode(plat::BackgroundMode::Transparent);
    }
    void Use(const plat::LogFont& lf) {
        font_.reset(plat::CreateFont(lf));
        ASSERT_NE(font_, nullptr);
        dc_->SelectFont(font_.get());
    }
    std::unique_ptr<plat::Surface16> surface_;
    std::unique_ptr<plat::DrawContext> dc_;
    FontPtr font_;
};

TEST_F(DrawContextTest, APositiveHeightIsTheCellHeight) {
    struct Case {
        int height, ppem, wide, narrow;
    };
    // The IPA Gothic: full-width characters 1 em, ASCII 1/2 em.
    for (const Case& c : {Case{12, 11, 11, 6}, Case{16, 15, 15, 8}, Case{24, 22, 22, 11}, Case{32, 30, 30, 15}}) {
        Use(Gothic(c.height));
        EXPECT_EQ(plat::GetFontMetrics(font_.get()).ppem, c.ppem) << c.height;
        EXPECT_EQ(dc_->TextExtent("あ").cx, c.wide) << c.height;
        EXPECT_EQ(dc_->TextExtent("A").cx, c.narrow) << c.height;
        EXPECT_EQ(dc_->TextExtent("あ").cy, c.height);
    }
    // A negative height is the em size.
    Use(Gothic(-15));
    EXPECT_EQ(plat::GetFontMetrics(font_.get()).ppem, 15);
    EXPECT_EQ(plat::GetFontMetrics(font_.get()).cellHeight, 16);
    // CP932 and UTF-8 measure alike.
    EXPECT_EQ(dc_->TextExtent("\x82\xa0\x82\xa2").cx, dc_->TextExtent("あい").cx);
}

TEST_F(DrawContextTest, GlyphsAreOneColourWithNoInBetweenShades) {
    Use(Gothic(24));
    dc_->TextOut(4, 4, "漢字かな");
    const uint16_t white = plat::PixelFromColorRef(kFormat, kWhite);
    int ink = 0;
    for (int y = 0; y < surface_->height(); ++y)
        for (int x = 0; x < surface_->width(); ++x) {
            const uint16_t p = surface_->row(y)[x];
            ASSERT_TRUE(p == 0 || p == white) << x << "," << y;
            ink += p != 0;
        }
    EXPECT_GT(ink, 100);
    // Everything inside the cells the text measures.
    const plat::TextSize size = dc_->TextExtent("漢字かな");
    EXPECT_EQ(Ink(*surface_, 4, 4, 4 + size.cx, 4 + size.cy), ink);
}

TEST_F(DrawContextTest, AnOpaqueBackgroundFillsTheCellsAndATransparentOneLeavesThem) {
    Use(Gothic(16));
    const plat::TextSize size = dc_->TextExtent("AB");
    dc_->SetBkColor(0x800000);
    dc_->SetBkMode(plat::BackgroundMode::Opaque);
    dc_->TextOut(10, 10, "AB");
    const uint16_t blue = plat::PixelFromColorRef(kFormat, 0x800000);
    EXPECT_EQ(surface_->row(10)[10], blue);
    EXPECT_EQ(surface_->row(10 + size.cy - 1)[10 + size.cx - 1], blue);
    EXPECT_EQ(surface_->row(10 + size.cy)[10], 0);
    EXPECT_EQ(surface_->row(10)[10 + size.cx], 0);
    EXPECT_EQ(Ink(*surface_), size.cx * size.cy);
}

TEST_F(DrawContextTest, TextIsClippedToTheSurfaceOnEverySide) {
    Use(Gothic(32));
    for (auto [x, y] : {std::pair{-20, 10}, {190, 10}, {50, -25}, {50, 95}, {-100000, -100000}, {INT32_MAX, INT32_MAX},
                        {INT32_MIN, 5}})
        dc_->TextOut(x, y, "あいう");
    dc_->SetBkMode(plat::BackgroundMode::Opaque);
    dc_->TextOut(INT32_MAX - 5, INT32_MIN, "あ");
    // Opaque cells beside the surface, on rows it has.
    const int before = Ink(*surface_);
    dc_->TextOut(-100, 10, "あ");
    dc_->TextOut(300, 10, "あ");
    EXPECT_EQ(Ink(*surface_), before);
    // Parts inside the surface were drawn; nothing crashed or wrapped round.
    EXPECT_GT(Ink(*surface_, 0, 0, 20, 100), 0);
    EXPECT_GT(Ink(*surface_, 190, 0, 200, 100), 0);
}

TEST_F(DrawContextTest, BoldAddsAPixelOfAdvanceAndUnderlineDrawsUnderTheBaseline) {
    plat::LogFont lf = Gothic(16);
    Use(lf);
    const int normal = dc_->TextExtent("あ").cx;
    dc_->TextOut(0, 0, "あ");
    const int normalInk = Ink(*surface_);
    lf.lfWeight = 700;
    Use(lf);
    EXPECT_EQ(dc_->TextExtent("あ").cx, normal + 1);
    plat::Surface16 bold(40, 40);
    plat::DrawContext boldDc(&bold, kFormat);
    boldDc.SelectFont(font_.get());
    boldDc.SetBkMode(plat::BackgroundMode::Transparent);
    boldDc.SetTextColor(kWhite);
    boldDc.TextOut(0, 0, "あ");
    EXPECT_GT(Ink(bold), normalInk);

    lf.lfWeight = 400;
    lf.lfUnderline = 1;
    Use(lf);
    plat::Surface16 lined(40, 40);
    plat::DrawContext linedDc(&lined, kFormat);
    linedDc.SelectFont(font_.get());
    linedDc.SetTextColor(kWhite);
    linedDc.SetBkMode(plat::BackgroundMode::Transparent);
    linedDc.TextOut(0, 0, "  ");  // spaces: only the line
    const plat::FontMetrics m = plat::GetFontMetrics(font_.get());
    int row = -1;
    for (int y = 0; y < 40; ++y)
        if (Ink(lined, 0, y, 40, y + 1) == linedDc.TextExtent("  ").cx) row = row < 0 ? y : row;
    EXPECT_GE(row, m.ascent);
    EXPECT_LT(row, m.cellHeight);
}

TEST_F(DrawContextTest, EscapementTurnsTheLineAboutItsReferencePoint) {
    plat::LogFont lf = Gothic(16);
    lf.lfEscapement = 900;  // upwards
    Use(lf);
    dc_->TextOut(50, 90, "ああああ");
    // The text runs up from (50, 90), to the right of x = 50 by at most a cell.
    EXPECT_GT(Ink(*surface_, 50, 20, 50 + 16, 90), 100);
    EXPECT_EQ(Ink(*surface_, 0, 0, 50, 100), 0);
    EXPECT_EQ(Ink(*surface_, 70, 0, 200, 100), 0);
    EXPECT_EQ(Ink(*surface_, 0, 91, 200, 100), 0);
}

TEST_F(DrawContextTest, ItalicLeansTheTopOfTheGlyphsRight) {
    plat::LogFont lf = Gothic(32);
    Use(lf);
    dc_->TextOut(0, 0, "l");
    auto leftmost = [this](int y) {
        for (int x = 0; x < surface_->width(); ++x)
            if (surface_->row(y)[x] != 0) return x;
        return -1;
    };
    const int uprightTop = leftmost(8), uprightBottom = leftmost(22);
    EXPECT_EQ(uprightTop, uprightBottom);
    surface_ = std::make_unique<plat::Surface16>(200, 100);
    dc_ = std::make_unique<plat::DrawContext>(surface_.get(), kFormat);
    dc_->SetTextColor(kWhite);
    dc_->SetBkMode(plat::BackgroundMode::Transparent);
    lf.lfItalic = 1;
    Use(lf);
    dc_->TextOut(0, 0, "l");
    EXPECT_GT(leftmost(8), leftmost(22) + 1);
}

TEST_F(DrawContextTest, WrappedTextBreaksBetweenWordsAndBetweenJapaneseCharacters) {
    Use(Gothic(16));  // ASCII 8 px, kana 15 px, cell 16
    struct Case {
        const char* text;
        int width;
        int height;  // lines x 16
        int widest;
    };
    const Case cases[] = {
        {"aaa bbb", 1000, 16, 56},
        {"aaa bbb", 40, 32, 24},          // breaks at the space, which is not counted
        {"aaaaaaaa", 40, 32, 40},         // a word wider than the line is broken inside
        {"あいうえお", 45, 32, 45},        // three kana to a line
        {"a\nb\r\nc", 1000, 48, 8},       // newlines always break
        {"", 100, 16, 0},
        {"あいう", 0, 48, 15},             // every character on its own line
    };
    for (const Case& c : cases) {
        plat::Rect r{10, 20, 10 + c.width, 20};
        EXPECT_EQ(dc_->DrawText(c.text, &r, plat::kDtCalcRect | plat::kDtWordBreak), c.height) << c.text;
        EXPECT_EQ(r.bottom, 20 + c.height) << c.text;
        EXPECT_EQ(r.right, 10 + c.widest) << c.text;
    }
    EXPECT_EQ(Ink(*surface_), 0) << "measuring draws nothing";
}

TEST_F(DrawContextTest, AlignmentPlacesEachLineLeftCentredOrRightAndClipsToTheRectangle) {
    Use(Gothic(16));
    const unsigned formats[] = {plat::kDtLeft, plat::kDtCenter, plat::kDtRight};
    const int expectedLeft[] = {20, 20 + (100 - 16) / 2, 120 - 16};
    for (int i = 0; i < 3; ++i) {
        surface_ = std::make_unique<plat::Surface16>(200, 100);
        dc_ = std::make_unique<plat::DrawContext>(surface_.get(), kFormat);
        dc_->SelectFont(font_.get());
        dc_->SetTextColor(0x0000FF);
        dc_->SetBkColor(kWhite);
        dc_->SetBkMode(plat::BackgroundMode::Opaque);  // cells show exactly
        plat::Rect r{20, 10, 120, 20};                // one line high: the second is clipped
        EXPECT_EQ(dc_->DrawText("ab\ncd", &r, plat::kDtWordBreak | formats[i]), 32);
        EXPECT_EQ(Ink(*surface_), 16 * 10) << i;
        EXPECT_NE(surface_->row(10)[expectedLeft[i]], 0) << i;
        EXPECT_EQ(surface_->row(10)[expectedLeft[i] - 1], 0) << i;
    }
}

TEST_F(DrawContextTest, NamesResolveToThePinnedFacesOrFallBack) {
    plat::LogFont mincho = Gothic(24);
    std::strcpy(mincho.lfFaceName, "標準明朝");
    plat::LogFont unknown = Gothic(24);
    std::strcpy(unknown.lfFaceName, "NoSuchFace");
    plat::LogFont latin = Gothic(24);
    std::strcpy(latin.lfFaceName, "DejaVu Sans");
    // Drawn pictures of one kanji tell the faces apart.
    auto picture = [&](const plat::LogFont& lf) {
        plat::Surface16 s(40, 40);
        plat::DrawContext dc(&s, kFormat);
        FontPtr f(plat::CreateFont(lf));
        dc.SelectFont(f.get());
        dc.SetTextColor(kWhite);
        dc.SetBkMode(plat::BackgroundMode::Transparent);
        dc.TextOut(0, 0, "永");
        std::string bits;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) bits += s.row(y)[x] ? '#' : '.';
        return bits;
    };
    const std::string gothic = picture(Gothic(24));
    EXPECT_NE(picture(mincho), gothic);
    EXPECT_EQ(picture(unknown), gothic);  // no Japanese, character set 128: the Gothic
    EXPECT_EQ(picture(latin), gothic);
    std::strcpy(mincho.lfFaceName, "\x95\x57\x8f\x80\x96\xbe\x92\xa9");  // 標準明朝 in CP932
    EXPECT_NE(picture(mincho), gothic);
}

TEST(FontEnumerationTest, ThePinnedFacesComeFirstAndEveryFaceHasACharacterSet) {
    struct Seen {
        std::vector<std::string> names;
        std::vector<int> charsets;
    } seen;
    plat::EnumFonts(
        [](const plat::LogFont* lf, const plat::TextMetric*, unsigned long, intptr_t data) {
            auto* s = reinterpret_cast<Seen*>(data);
            s->names.push_back(lf->lfFaceName);
            s->charsets.push_back(lf->lfCharSet);
            return 1;
        },
        reinterpret_cast<intptr_t>(&seen));
    ASSERT_GE(seen.names.size(), 3u);
    EXPECT_EQ(seen.names[0], "標準ゴシック");
    EXPECT_EQ(seen.names[1], "標準明朝");
    EXPECT_EQ(seen.charsets[0], plat::kShiftJisCharset);
    EXPECT_NE(std::find(seen.names.begin(), seen.names.end(), "IPAGothic"), seen.names.end());
    // Stopping after one face is honoured.
    int calls = 0;
    plat::EnumFonts([](const plat::LogFont*, const plat::TextMetric*, unsigned long, intptr_t data) {
        ++*reinterpret_cast<int*>(data);
        return 0;
    }, reinterpret_cast<intptr_t>(&calls));
    EXPECT_EQ(calls, 1);
    plat::ReleaseFonts();
}

}  // namespace
