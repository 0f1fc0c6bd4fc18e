// kaFont: text with the platform's fonts. Begin ... Before brackets direct
// text on the back surface (Color, the three-argument Draw, AreaDraw,
// GetHeight); the six-argument Draw lays a string out in a rectangle on the
// Font sprite (slot 2), recording every character's cell in TextPos, and
// DrawAA does the same anti-aliased from a double-size rendering in the Font
// buffer sprite (slot 3). Show reveals laid-out text one character at a time.
//
// Strings are UTF-8, or CP932 when they are not valid UTF-8; one character of
// either is one layout unit. Every function does nothing before Init, after
// DestroyObject and without a back surface.
//
// DrawAA blends the edges of its glyphs against what the back surface holds
// at the moment of the call: the text looks right only over that picture.
#pragma once

#include <cstdint>

#include "platform/DrawContext.h"
#include "platform/Fonts.h"

class kaFont {
public:
    struct _textpos {
        int X1, Y1, X2, Y2;
    };
    struct _fontdata {
        char Name[33];
        int Type;         // 1 Japanese, 2 other, 3 symbol, -1 empty
        unsigned char CharSet;
    };
    static constexpr int kTextPosCount = 3200;
    static constexpr int kFontDataCount = 200;

    static plat::LogFont* FontInfo;
    static plat::Font* NewFont;
    static plat::Font* OldFont;
    static plat::DrawContext* FontDC;
    static int FontHeight;
    static uint32_t FontTextColor, FontBackColor;
    static int DrawAndShow;
    static _fontdata FontData[kFontDataCount];
    static int MaxFont;
    static int FontCount;
    static int ShowCount;
    static float ShowWait;
    static _textpos TextPos[kTextPosCount];
    static const char* const OutData[15];

    static void Init();
    static int SearchFont(const plat::LogFont* Lf, const plat::TextMetric* Tm, unsigned long Type, intptr_t Data);
    static void DestroyObject();

    static void Begin(int Type, int Size, int Round, int Bold, int Italic, int Line);
    static void Begin(const char* Type, int Size, int Round, int Bold, int Italic, int Line);
    static void Before();
    static void Color(uint32_t TextColor, uint32_t BackColor, int Mode);
    static void Draw(int Px, int Py, const char* Str);
    static void Draw(int X1, int Y1, int X2, int Y2, const char* Str, unsigned short Effect);
    static void HideDraw(int X1, int Y1, int X2, int Y2, const char* Str, unsigned short Effect);
    static void AreaDraw(int X1, int Y1, int X2, int Y2, const char* Str, int Pos);
    static int GetHeight(int X1, int Y1, int X2, int Y2, const char* Str);

    static void BeginAA(int Type, int Size);
    static void BeginAA(const char* Type, int Size);
    static void BeforeAA();
    static void DrawAA(int X1, int Y1, int X2, int Y2, const char* Str, unsigned short Effect);
    static void HideDrawAA(int X1, int Y1, int X2, int Y2, const char* Str, unsigned short Effect);
    static int DrawAA2(int Px, int Py, int X1, int Y1, int X2, int Y2);
    static int Show(float Wait);
};
