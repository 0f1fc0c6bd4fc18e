// kaDraw: the display, the sprite table, the basic blits and fills, and the
// presentation of each frame with its fades, wipes and help page.
#pragma once

#include <cstdint>

#include "platform/Bmp.h"
#include "platform/Display.h"
#include "platform/Surface16.h"

// The display objects.
extern plat::DisplayDevice* DDObject;
extern plat::Surface16* DDFront;
extern plat::Surface16* DDBack;
extern void* DDClip;            // windowed clipping: the window itself clips here

// One channel split of a 16-bit pixel, each channel 0..31.
struct _getrgb {
    uint8_t r, g, b;
};
extern _getrgb GetRGB[65536];

class kaDraw {
public:
    struct _sprite {
        plat::Surface16* Object;
        char FileName[31];
        int PackData;
        int Memory;
        uint32_t Color;
        uint16_t SizeX, SizeY;
    };

    // Display set-up, pixel format, tables, errors and shutdown.
    static int Width, Height;
    static int ColorBit, RetryColorBit1, RetryColorBit2;
    static int SearchVideoCard, UseStretch, ErrorCheck;
    static int Vx1, Vy1, Vx2, Vy2;
    static plat::Rect RefreshSize, RefreshPos;
    static uint32_t MaskR, MaskG, MaskB;
    static uint32_t BitR, BitG, BitB;
    static uint16_t ShiftR, ShiftG, ShiftB;
    static uint16_t ShiftR2, ShiftG2, ShiftB2;
    static uint32_t MaskRGB, MaskRGB2, WhiteRGB;
    static int RotateData[450];
    static uint16_t BlendList[3][32][32][32];
    static uint16_t AddBlendList[3][32][32][32];
    static uint16_t DelBlendList[3][32][32];
    static uint16_t GrayList[96];
    static uint32_t FpsTime;

    static int Screen(int Width, int Height, int Memory);
    static void VirtualScreen(int X1, int Y1, int X2, int Y2);
    static void SetFullColor(int ColorBit1, int ColorBit2, int ColorBit3);
    static int Exit();
    static int Error(const char* Function, const char* Message, long Code);
    static int Error();
    static int ErrorExit();

    // Sprite table and bitmap loading.
    static uint32_t SpriteColor;
    static int SpriteLeftTop;
    static int LoadObject(const char* FileName, int Memory);
    static int CreateObject(int Sx, int Sy, int Memory);
    static void FreeObject(int ObjDD);
    static int SwapObject(const char* FileName, int ObjDD, int Memory);
    static int SwapPack(const char* FileName, int ObjDD, int Memory);
    static void ReloadObject();
    static void DestroyObject();
    static void SetSpriteColor(uint32_t Color);
    static void SetSpriteLeftTop();
    static void CopySpriteColor(int ObjDD1, int ObjDD2);
    static void ChangeSpriteColor(int ObjDD, uint32_t Color);
    static void ChangeSpriteLeftTop(int ObjDD);

    // Bitmap pack files.
    static char PackFileName[256];
    static void SetPack(const char* PackName);
    static int LoadPack(const char* FileName, int Memory);
    static int Convert(const char* PackName, const char* BmpDir, int Delete);
    static void ConvertFile(const char* PackName, const char* BmpName);

    // Basic blits and fills.
    static void Layer(int Px, int Py, int ObjDD, int X1, int Y1, int X2, int Y2);
    static void SpriteLayer(int ObjDD1, int Px, int Py, int ObjDD2, int X1, int Y1, int X2, int Y2);
    static void DirectLayer(int Px, int Py, int ObjDD, int X1, int Y1, int X2, int Y2);
    static void DirectSpriteLayer(int ObjDD1, int Px, int Py, int ObjDD2, int X1, int Y1, int X2, int Y2);
    static void Clear();
    static void SpriteClear(int ObjDD);
    static void ClearArea(int X1, int Y1, int X2, int Y2);
    static void ClearFrame(int X1, int Y1, int X2, int Y2);
    static void Flash();
    static void FlashArea(int X1, int Y1, int X2, int Y2);
    static void ColorFill(int X1, int Y1, int X2, int Y2, uint16_t Color);
    static int ColorBlend(int X1, int Y1, int X2, int Y2, uint16_t Color);
    static void Reverse(int X1, int Y1, int X2, int Y2);
    static void SpriteScreen(int ObjDD, int X1, int Y1, int X2, int Y2);

    // Presentation, fades, wipes and help page.
    static int RefreshMode;
    static int FadeNo, FadeAdd, FadeType, FadeMax, MaskBMP;
    static int HelpOn, HelpBMP[2], HelpSize;
    static float HelpY, HelpBackX, HelpBackY;
    static int EffectOn, EffectInOut, EffectType, EffectSize;
    static float EffectSpeed;
    static int Wx1, Wy1, Wx2, Wy2;
    static int WipeIn, WipeOut;

    static void Refresh();
    static void SetRefreshMode(int Mode);
    static void FadeOut();
    static void FadeIn();
    static void LoadMask(const char* FileName);
    static void LoadHelp(const char* FileName1, const char* FileName2, int Size);
    static void Help();
    static int SetWipe(int InOut, int Type, float Speed, int Size);
    static void SetWipeOut();
    static int Wipe();
};

extern kaDraw::_sprite Sprite[1024];

// Bitmap helpers.
plat::Surface16* DDLoadBitmap(plat::DisplayDevice* pdd, const char* szBitmap, uint16_t* dx, uint16_t* dy,
                              int Memory);
// Copies the bitmap rectangle (x, y, dx, dy) onto the whole surface, scaling
// when the sizes differ; dx, dy of 0 mean the bitmap's own size.
plat::Result DDCopyBitmap(plat::Surface16* pdds, const plat::DecodedBitmap* hbm, int x, int y, int dx, int dy);
uint32_t DDColorMatch(plat::Surface16* pdds, uint32_t rgb);
plat::Result DDSetColorKey(plat::Surface16* pdds, uint32_t rgb);

// Half mix of two pixels: every channel becomes floor(a / 2) + floor(b / 2),
// so no channel can carry into its neighbour. maskRGB is kaDraw::MaskRGB.
inline uint16_t HalfMix(uint16_t a, uint16_t b, uint32_t maskRGB) {
    return static_cast<uint16_t>(((a >> 1) & maskRGB) + ((b >> 1) & maskRGB));
}
