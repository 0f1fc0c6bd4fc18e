// Anti-aliased laid-out text: each line is rendered at twice the size into
// the Font buffer sprite (slot 3) and reduced into the Font sprite (slot 2)
// by DrawAA2, averaging 3 x 3 samples against the back surface.
#include <algorithm>
#include <cstring>

#include "draw/DrawInternal.h"
#include "draw/kaDraw.h"
#include "platform/TextDecode.h"
#include "text/TextInternal.h"

using kafont::ClampInt;

namespace {

constexpr int kFontSprite = 2;
constexpr int kLineBuffer = 3;

void OpenLineBuffer() {
    kaDraw::SpriteClear(kLineBuffer);
    kafont::OpenContext(kadraw::SpriteSurface(kLineBuffer));
    kafont::gOpen = kafont::OpenKind::AntiAliased;
    kaFont::FontDC->SetBkMode(plat::BackgroundMode::Transparent);
}

void BeginAAWithFace(int Size, uint8_t charSet) {
    plat::LogFont& f = *kaFont::FontInfo;
    const int height = ClampInt(int64_t{Size} * 2);
    kaFont::FontHeight = height;
    f.lfHeight = height;
    f.lfWidth = 0;
    f.lfWeight = 400;
    f.lfEscapement = 0;
    f.lfOrientation = 0;
    f.lfItalic = 0;
    f.lfUnderline = 0;
    f.lfCharSet = charSet;
    kafont::OpenContext(kadraw::SpriteSurface(kLineBuffer));
    kafont::gOpen = kafont::OpenKind::AntiAliased;
}

// One character at double scale into the line buffer at (x, 0).
void DrawCharacterAA(int64_t x64, char32_t code, unsigned effect) {
    plat::DrawContext& dc = *kaFont::FontDC;
    const int x = ClampInt(x64);
    if (effect & 0x100) {
        dc.SetTextColor(kaFont::FontBackColor);
        dc.TextOut(x + 2 + ((effect & 0x200) ? 1 : 0), 2 + ((effect & 0x400) ? 1 : 0), &code, 1);
    }
    dc.SetTextColor(kaFont::FontTextColor);
    dc.TextOut(x, 0, &code, 1);
    if (effect & 0x200) {
        dc.TextOut(x + 1, 0, &code, 1);
        if (effect & 0x400) dc.TextOut(x + 1, 1, &code, 1);
    }
    if (effect & 0x400) dc.TextOut(x, 1, &code, 1);
}

bool LayerSurfacesReady() {
    return kadraw::SpriteSurface(kFontSprite) != nullptr && kadraw::SpriteSurface(kLineBuffer) != nullptr;
}

}  // namespace

void kaFont::BeginAA(int Type, int Size) {
    if (!kafont::Ready() || !LayerSurfacesReady()) return;
    if (FontDC != nullptr) kafont::CloseContext();
    if (Type == 0) plat::CopyTextBounded(FontInfo->lfFaceName, sizeof FontInfo->lfFaceName, "標準明朝");
    if (Type == 1) plat::CopyTextBounded(FontInfo->lfFaceName, sizeof FontInfo->lfFaceName, "標準ゴシック");
    BeginAAWithFace(Size, plat::kShiftJisCharset);
}

void kaFont::BeginAA(const char* Type, int Size) {
    if (!kafont::Ready() || !LayerSurfacesReady()) return;
    if (FontDC != nullptr) kafont::CloseContext();
    plat::CopyTextBounded(FontInfo->lfFaceName, sizeof FontInfo->lfFaceName, Type);
    uint8_t charSet = plat::kShiftJisCharset;
    for (int i = 0; i < MaxFont && i < kFontDataCount; ++i) {
        if (std::strcmp(FontData[i].Name, FontInfo->lfFaceName) == 0) {
            charSet = FontData[i].CharSet;
            break;
        }
    }
    BeginAAWithFace(Size, charSet);
}

void kaFont::BeforeAA() {
    if (kafont::gOpen == kafont::OpenKind::AntiAliased) kafont::CloseContext();
}

void kaFont::DrawAA(int X1, int Y1, int X2, int Y2, const char* Str, unsigned short Effect) {
    if (!kafont::Ready() || kafont::gOpen != kafont::OpenKind::AntiAliased || !LayerSurfacesReady()) return;
    kaDraw::SpriteClear(kFontSprite);
    kafont::CloseContext();
    OpenLineBuffer();

    const int64_t lineWidth = kadraw::SpriteSurface(kLineBuffer)->width();
    // Two pixels at least: every new line moves down one screen pixel.
    const int64_t lineHeight = std::max<int64_t>(2, int64_t{FontHeight} + (Effect & 0xFF));
    int64_t dx = X1, dy = Y1, sx = 0, sy = lineHeight;
    FontTextColor = kafont::GuardColor(FontTextColor);
    FontBackColor = kafont::GuardColor(FontBackColor);
    TextPos[0] = {X1, Y1, X1, Y1};
    FontCount = 1;

    // Converts the piece in the line buffer at (dx, dy); the record grows by
    // the height cut at Y2, the conversion covers `convertHeight`.
    auto convert = [&](int64_t convertHeight, int64_t cutHeight) {
        kafont::CloseContext();
        kafont::GrowTextPos0(dx + sx / 2, dy + cutHeight / 2, dx + sx / 2, dy + cutHeight / 2);
        DrawAA2(ClampInt(dx), ClampInt(dy), 0, 0, ClampInt(sx), ClampInt(convertHeight));
        OpenLineBuffer();
    };
    auto cutHeight = [&]() { return dy + sy / 2 > Y2 ? sy - 2 * (dy + sy / 2 - Y2) : sy; };

    const std::vector<plat::TextUnit> units = plat::DecodeText(Str);
    for (size_t i = 0; i < units.size() && FontCount < kTextPosCount;) {
        const char32_t code = units[i].code;
        const bool newline = code == '\n';
        int64_t cx = 0, cy = 0;
        if (!newline) {
            DrawCharacterAA(sx, code, Effect);
            const plat::TextSize size = FontDC->TextExtent(&code, 1);
            cx = size.cx + (size.cx & 1), cy = size.cy + (size.cy & 1);
            if (Effect & 0x100) cx += 2, cy += 2;
            if (Effect & 0x200) ++cx;
            if (Effect & 0x400) ++cy;
        }
        TextPos[FontCount] = {ClampInt(dx + sx / 2), ClampInt(dy), ClampInt(dx + sx / 2 + cx / 2),
                              ClampInt(dy + cy / 2)};
        ++FontCount;
        sx += cx;
        sy = std::max(sy, cy);
        const bool past = dx + sx / 2 >= X2;
        if (!past && sx < lineWidth && !newline) {
            ++i;
            continue;
        }
        --FontCount;
        const bool alone = sx == cx;
        if ((past && kafont::IsOutData(code)) || newline) {
            ++i;  // hangs on this line, or ends it
        } else if (alone && !past) {
            // Fills the line buffer by itself: a piece of its own.
            ++FontCount;
            ++i;
        } else if (alone && dx == X1) {
            // Too wide for an empty line: it would never fit on any line.
            sx = 0;
            break;
        } else {
            sx -= cx;  // laid out again in the next piece
        }
        convert(cutHeight(), cutHeight());
        dx += sx / 2;
        if (dx + cx / 2 >= X2 || newline) {
            dx = X1;
            dy += sy / 2;
        }
        sx = 0;
        sy = lineHeight;
        if (dy >= Y2) break;
    }
    if (sx != 0) convert(sy, cutHeight());

    if (DrawAndShow == 1) {
        const _textpos& t = TextPos[0];
        kaDraw::Layer(t.X1, t.Y1, kFontSprite, t.X1, t.Y1, t.X2, t.Y2);
    }
    ShowCount = 0;
    ShowWait = 0;
    DrawAndShow = 1;
}

void kaFont::HideDrawAA(int X1, int Y1, int X2, int Y2, const char* Str, unsigned short Effect) {
    if (!kafont::Ready() || kafont::gOpen != kafont::OpenKind::AntiAliased) return;
    DrawAndShow = 0;
    DrawAA(X1, Y1, X2, Y2, Str, Effect);
}
