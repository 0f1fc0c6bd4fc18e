// The six-argument Draw: a string laid out character by character in a
// rectangle on the Font sprite, with line breaking, hanging punctuation,
// shadow and thickening, every character's cell kept in TextPos.
#include <algorithm>

#include "draw/DrawInternal.h"
#include "draw/kaDraw.h"
#include "platform/TextDecode.h"
#include "text/TextInternal.h"

using kafont::ClampInt;

namespace {

constexpr int kFontSprite = 2;

// One character with its effects, the top-left of its cell at (x, y).
void DrawCharacter(int64_t x64, int64_t y64, char32_t code, unsigned effect) {
    plat::DrawContext& dc = *kaFont::FontDC;
    const int x = ClampInt(x64), y = ClampInt(y64);
    if (effect & 0x100) {
        dc.SetTextColor(kaFont::FontBackColor);
        dc.TextOut(x + 1 + ((effect & 0x200) ? 1 : 0), y + 1 + ((effect & 0x400) ? 1 : 0), &code, 1);
    }
    dc.SetTextColor(kaFont::FontTextColor);
    dc.TextOut(x, y, &code, 1);
    if (effect & 0x200) {
        dc.TextOut(x + 1, y, &code, 1);
        if (effect & 0x400) dc.TextOut(x + 1, y + 1, &code, 1);
    }
    if (effect & 0x400) dc.TextOut(x, y + 1, &code, 1);
}

}  // namespace

void kaFont::Draw(int X1, int Y1, int X2, int Y2, const char* Str, unsigned short Effect) {
    plat::Surface16* fontSprite = kadraw::SpriteSurface(kFontSprite);
    if (!kafont::Ready() || kafont::gOpen != kafont::OpenKind::Direct || fontSprite == nullptr) return;
    const plat::BackgroundMode mode = FontDC->bkMode();
    kafont::CloseContext();
    kaDraw::SpriteClear(kFontSprite);
    kafont::OpenContext(fontSprite);
    FontDC->SetBkMode(plat::BackgroundMode::Transparent);

    int64_t dx = X1, dy = Y1;
    // At least one pixel, so that every new line moves down.
    int64_t sy = std::max<int64_t>(1, int64_t{FontHeight} + (Effect & 0xFF));
    FontTextColor = kafont::GuardColor(FontTextColor);
    FontBackColor = kafont::GuardColor(FontBackColor);
    TextPos[0] = {X1, Y1, X1, Y1};
    FontCount = 1;

    const std::vector<plat::TextUnit> units = plat::DecodeText(Str);
    for (size_t i = 0; i < units.size() && FontCount < kTextPosCount;) {
        const char32_t code = units[i].code;
        const bool newline = code == '\n';
        int64_t cx = 0, cy = 0;
        if (!newline) {
            const plat::TextSize size = FontDC->TextExtent(&code, 1);
            cx = size.cx, cy = size.cy;
            if (Effect & 0x100) ++cx, ++cy;
            if (Effect & 0x200) ++cx;
            if (Effect & 0x400) ++cy;
        }
        TextPos[FontCount] = {ClampInt(dx), ClampInt(dy), ClampInt(dx + cx), ClampInt(dy + cy)};
        ++FontCount;
        dx += cx;
        sy = std::max(sy, cy);
        if (dx <= X2 && !newline) {
            DrawCharacter(dx - cx, dy, code, Effect);
            kafont::GrowTextPos0(dx - cx, dy, dx, dy + cy);
            ++i;
            continue;
        }
        --FontCount;
        if (dx > X2 && kafont::IsOutData(code)) {
            // Hanging past the right edge: drawn here, covered by record 0
            // only, so that the final copy and Show bring it in.
            DrawCharacter(dx - cx, dy, code, Effect);
            kafont::GrowTextPos0(dx - cx, dy, dx, dy + cy);
            ++i;
        } else if (newline) {
            ++i;
        } else if (dx - cx == X1) {
            // Too wide for an empty line: it would move down line after line
            // without ever fitting, and nothing after it is reached.
            break;
        }
        dx = X1;
        dy += sy;
        if (dy + sy >= Y2) break;
    }

    kafont::CloseContext();
    if (DrawAndShow == 1) {
        const _textpos& t = TextPos[0];
        kaDraw::Layer(t.X1, t.Y1, kFontSprite, t.X1, t.Y1, t.X2, t.Y2);
    }
    kafont::OpenContext(DDBack);
    kafont::gOpen = kafont::OpenKind::Direct;
    FontDC->SetTextColor(FontTextColor);
    FontDC->SetBkColor(FontBackColor);
    FontDC->SetBkMode(mode);
    ShowCount = 0;
    ShowWait = 0;
    DrawAndShow = 1;
}

void kaFont::HideDraw(int X1, int Y1, int X2, int Y2, const char* Str, unsigned short Effect) {
    if (!kafont::Ready() || kafont::gOpen != kafont::OpenKind::Direct) return;
    DrawAndShow = 0;
    Draw(X1, Y1, X2, Y2, Str, Effect);
}
