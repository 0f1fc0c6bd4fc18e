// Pieces shared by the kaFont source files: the open context and its kind,
// opening and closing it on a surface, the colour guard and the hanging
// punctuation test.
#pragma once

#include <cstdint>

#include "platform/DrawContext.h"
#include "text/kaFont.h"

namespace kafont {

enum class OpenKind { None, Direct, AntiAliased };

// What FontDC is open on: the back surface (Begin) or slot 3 (BeginAA).
extern OpenKind gOpen;

// FontInfo and the back surface exist.
bool Ready();
// A context on the surface with a new font made from FontInfo selected.
void OpenContext(plat::Surface16* surface);
// Selects OldFont back, deletes NewFont and the context.
void CloseContext();
// Raises a colour whose three bytes are all below 16 to 0x101010, so that it
// cannot become the colour key black.
uint32_t GuardColor(uint32_t color);
// One of the characters that may hang past the right edge of a line.
bool IsOutData(char32_t code);
// Grows TextPos[0] to cover the rectangle.
void GrowTextPos0(int64_t x1, int64_t y1, int64_t x2, int64_t y2);
int ClampInt(int64_t v);

}  // namespace kafont
