// Fonts of the platform: enumeration of the installed faces (fontconfig),
// fonts made from a LOGFONT-like description, rendered by FreeType as crisp
// one-bit glyphs with GDI-like cell metrics. The faces "標準ゴシック" and
// "標準明朝" are the IPA Gothic and IPA Mincho files, pinned so that pictures
// are the same whatever else is installed.
#pragma once

#include <cstdint>

namespace plat {

constexpr uint8_t kAnsiCharset = 0;
constexpr uint8_t kSymbolCharset = 2;
constexpr uint8_t kShiftJisCharset = 128;
constexpr unsigned long kTrueTypeFontType = 4;

// A font description. A positive height is the character cell height in
// pixels, a negative one the em size; 0 is the default size. Weight 0 is the
// default (normal), 600 and above are bold; escapement is in tenths of a
// degree, counter-clockwise.
struct LogFont {
    int32_t lfHeight;
    int32_t lfWidth;
    int32_t lfEscapement;
    int32_t lfOrientation;
    int32_t lfWeight;
    uint8_t lfItalic;
    uint8_t lfUnderline;
    uint8_t lfStrikeOut;
    uint8_t lfCharSet;
    uint8_t lfOutPrecision;
    uint8_t lfClipPrecision;
    uint8_t lfQuality;
    uint8_t lfPitchAndFamily;
    char lfFaceName[32];
};

// Metrics of an enumerated face at its default size.
struct TextMetric {
    int32_t tmHeight;
    int32_t tmAscent;
    int32_t tmDescent;
    int32_t tmAveCharWidth;
    int32_t tmMaxCharWidth;
    int32_t tmWeight;
    uint8_t tmItalic;
    uint8_t tmUnderlined;
    uint8_t tmCharSet;
};

// Called once per installed face family; returns 0 to stop the enumeration.
using FontEnumProc = int (*)(const LogFont* lf, const TextMetric* tm, unsigned long fontType, intptr_t data);
// The two pinned faces first, then every other family fontconfig knows.
void EnumFonts(FontEnumProc proc, intptr_t data);

class Font;

// A font for the description. Never fails while a Japanese face is
// installed: unknown names fall back (a face without Japanese asked for with
// character set 128 becomes the Gothic). nullptr only when no face loads.
Font* CreateFont(const LogFont& description);
void DeleteFont(Font* font);

// Cell metrics of a font in pixels.
struct FontMetrics {
    int cellHeight;
    int ascent;
    int ppem;
};
FontMetrics GetFontMetrics(const Font* font);

// Releases the glyph cache, the faces, FreeType, fontconfig and the text
// decoder (at exit; everything opens again when used again).
void ReleaseFonts();

}  // namespace plat
