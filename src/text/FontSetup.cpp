// kaFont's statics, the face table, the Begin ... Before pair and the direct
// text functions on the back surface.
#include <algorithm>
#include <climits>
#include <cstring>

#include "draw/DrawInternal.h"
#include "draw/kaDraw.h"
#include "platform/TextDecode.h"
#include "text/TextInternal.h"

plat::LogFont* kaFont::FontInfo = nullptr;
plat::Font* kaFont::NewFont = nullptr;
plat::Font* kaFont::OldFont = nullptr;
plat::DrawContext* kaFont::FontDC = nullptr;
int kaFont::FontHeight = 0;
uint32_t kaFont::FontTextColor = 0;
uint32_t kaFont::FontBackColor = 0;
int kaFont::DrawAndShow = 1;
kaFont::_fontdata kaFont::FontData[kaFont::kFontDataCount];
int kaFont::MaxFont = 0;
int kaFont::FontCount = 0;
int kaFont::ShowCount = 0;
float kaFont::ShowWait = 0;
kaFont::_textpos kaFont::TextPos[kaFont::kTextPosCount];
const char* const kaFont::OutData[15] = {"、", "。", "，", "．", "・", "…", "‥", "”",
                                         "’", "（", "」", ",",  ".",  "　", " "};

namespace kafont {

OpenKind gOpen = OpenKind::None;

bool Ready() { return kaFont::FontInfo != nullptr && DDBack != nullptr; }

void OpenContext(plat::Surface16* surface) {
    kaFont::FontDC = new plat::DrawContext(surface, plat::GetPixelFormat());
    kaFont::NewFont = plat::CreateFont(*kaFont::FontInfo);
    kaFont::OldFont = kaFont::FontDC->SelectFont(kaFont::NewFont);
}

void CloseContext() {
    if (kaFont::FontDC != nullptr) kaFont::FontDC->SelectFont(kaFont::OldFont);
    plat::DeleteFont(kaFont::NewFont);
    delete kaFont::FontDC;
    kaFont::FontDC = nullptr;
    kaFont::NewFont = nullptr;
    kaFont::OldFont = nullptr;
    gOpen = OpenKind::None;
}

uint32_t GuardColor(uint32_t color) {
    const bool dark = (color & 0xFF) < 16 && ((color >> 8) & 0xFF) < 16 && ((color >> 16) & 0xFF) < 16;
    return dark ? 0x101010 : color;
}

bool IsOutData(char32_t code) {
    static const std::u32string kCodes = [] {
        std::u32string codes;
        for (const char* s : kaFont::OutData) codes += plat::DecodeCodes(s);
        return codes;
    }();
    return kCodes.find(code) != std::u32string::npos;
}

int ClampInt(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

void GrowTextPos0(int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
    kaFont::_textpos& t = kaFont::TextPos[0];
    t.X1 = ClampInt(std::min<int64_t>(t.X1, x1));
    t.Y1 = ClampInt(std::min<int64_t>(t.Y1, y1));
    t.X2 = ClampInt(std::max<int64_t>(t.X2, x2));
    t.Y2 = ClampInt(std::max<int64_t>(t.Y2, y2));
}

}  // namespace kafont

using kafont::gOpen;
using kafont::OpenKind;

void kaFont::Init() {
    if (FontInfo == nullptr) FontInfo = new plat::LogFont{};
    for (_fontdata& d : FontData) {
        d.Name[0] = '\0';
        d.Type = -1;
        d.CharSet = 0;
    }
    MaxFont = 0;
    kaDraw::GetDC();
    plat::EnumFonts(&SearchFont, 0);
    kaDraw::ReleaseDC();
    DrawAndShow = 1;
}

int kaFont::SearchFont(const plat::LogFont* Lf, const plat::TextMetric*, unsigned long, intptr_t) {
    if (MaxFont >= kFontDataCount) return 0;
    if (Lf == nullptr) return 1;
    _fontdata& d = FontData[MaxFont];
    char name[sizeof Lf->lfFaceName + 1] = {};
    std::memcpy(name, Lf->lfFaceName, sizeof Lf->lfFaceName);
    plat::CopyTextBounded(d.Name, sizeof d.Name, name);
    d.Type = Lf->lfCharSet == plat::kShiftJisCharset ? 1 : Lf->lfCharSet == plat::kSymbolCharset ? 3 : 2;
    d.CharSet = Lf->lfCharSet;
    ++MaxFont;
    return 1;
}

void kaFont::DestroyObject() {
    if (FontDC != nullptr) kafont::CloseContext();
    delete FontInfo;
    FontInfo = nullptr;
    plat::ReleaseFonts();
}

namespace {

// Steps 2 to 7 of both forms of Begin, once the face is set.
void BeginWithFace(int Size, int Round, int Bold, int Italic, int Line, uint8_t charSet) {
    plat::LogFont& f = *kaFont::FontInfo;
    kaFont::FontHeight = Size;
    f.lfHeight = Size;
    f.lfWidth = 0;
    f.lfWeight = Bold == 0 ? 400 : Bold == 1 ? 700 : 0;
    f.lfEscapement = kafont::ClampInt(int64_t{Round} * 10);
    f.lfOrientation = 0;
    f.lfItalic = static_cast<uint8_t>(Italic);
    f.lfUnderline = static_cast<uint8_t>(Line);
    f.lfCharSet = charSet;
    kafont::OpenContext(DDBack);
    gOpen = OpenKind::Direct;
}

}  // namespace

void kaFont::Begin(int Type, int Size, int Round, int Bold, int Italic, int Line) {
    if (!kafont::Ready()) return;
    if (FontDC != nullptr) kafont::CloseContext();
    if (Type == 0) plat::CopyTextBounded(FontInfo->lfFaceName, sizeof FontInfo->lfFaceName, "標準明朝");
    if (Type == 1) plat::CopyTextBounded(FontInfo->lfFaceName, sizeof FontInfo->lfFaceName, "標準ゴシック");
    BeginWithFace(Size, Round, Bold, Italic, Line, plat::kShiftJisCharset);
}

void kaFont::Begin(const char* Type, int Size, int Round, int Bold, int Italic, int Line) {
    if (!kafont::Ready()) return;
    if (FontDC != nullptr) kafont::CloseContext();
    plat::CopyTextBounded(FontInfo->lfFaceName, sizeof FontInfo->lfFaceName, Type);
    uint8_t charSet = plat::kShiftJisCharset;
    for (int i = 0; i < MaxFont && i < kFontDataCount; ++i) {
        if (std::strcmp(FontData[i].Name, FontInfo->lfFaceName) == 0) {
            charSet = FontData[i].CharSet;
            break;
        }
    }
    BeginWithFace(Size, Round, Bold, Italic, Line, charSet);
}

void kaFont::Before() {
    if (gOpen == OpenKind::Direct) kafont::CloseContext();
}

void kaFont::Color(uint32_t TextColor, uint32_t BackColor, int Mode) {
    if (FontDC == nullptr) return;
    FontDC->SetTextColor(TextColor);
    FontDC->SetBkColor(BackColor);
    FontTextColor = TextColor;
    FontBackColor = BackColor;
    FontDC->SetBkMode(Mode != 0 ? plat::BackgroundMode::Transparent : plat::BackgroundMode::Opaque);
}

void kaFont::Draw(int Px, int Py, const char* Str) {
    if (FontDC == nullptr || Str == nullptr) return;
    FontDC->TextOut(Px, Py, Str);
}

void kaFont::AreaDraw(int X1, int Y1, int X2, int Y2, const char* Str, int Pos) {
    if (FontDC == nullptr || Str == nullptr || Pos < 0 || Pos > 2) return;
    static constexpr unsigned kAlign[3] = {plat::kDtLeft, plat::kDtCenter, plat::kDtRight};
    plat::Rect r{X1, Y1, X2, Y2};
    FontDC->DrawText(Str, &r, plat::kDtWordBreak | plat::kDtNoPrefix | kAlign[Pos]);
}

int kaFont::GetHeight(int X1, int Y1, int X2, int Y2, const char* Str) {
    if (FontDC == nullptr || Str == nullptr) return 0;
    plat::Rect r{X1, Y1, X2, Y2};
    return FontDC->DrawText(Str, &r, plat::kDtCalcRect | plat::kDtWordBreak | plat::kDtNoPrefix);
}
