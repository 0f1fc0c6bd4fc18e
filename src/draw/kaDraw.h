// kaDraw: the display, the sprite table, the basic blits and fills, and the
// presentation of each frame with its fades, wipes and help page.
#pragma once

#include <cstdint>

#include "platform/Bmp.h"
#include "platform/Display.h"
#include "platform/Surface16.h"

namespace plat {
class DrawContext;
}

// The display objects.
extern plat::DisplayDevice* DDObject;
extern plat::Surface16* DDFront;
extern plat::Surface16* DDBack;
extern void* DDClip;            // windowed clipping: the window itself clips here
// The back surface's drawing context between kaDraw::GetDC and ReleaseDC.
extern plat::DrawContext* hdc;

// One channel split of a 16-bit pixel, each channel 0..31.
struct _getrgb {
    uint8_t r, g, b;
};
extern _getrgb GetRGB[65536];

// A point of the drawing functions: 32-bit x and y.
struct tagPOINT {
    int32_t x;
    int32_t y;
};

class kaDraw {
public:
    using _getrgb = ::_getrgb;
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

    // Frame-rate meter and debug text (white on dark blue, 12-pixel Gothic).
    static int FpsCnt;
    static float FpsData, FpsDataMax, FpsDataMin;
    static void ShowFPS();
    static void ShowString(int x, int y, const char* Str);
    static void ShowFormat(int x, int y, const char* Format, ...) __attribute__((format(printf, 3, 4)));
    // A context of the back surface into hdc, for a caller's own drawing.
    static void GetDC();
    static void ReleaseDC();

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

    // Distortion and pattern layers: row-by-row copies that sway, roll,
    // tile, thin out or jitter a sprite (each keeps its own animation phase,
    // advanced by FrameTime on every call), the tunnel drawn from a table
    // made by CreateTunnel, and light rays cast from a sprite's pixels.
    struct _tunnellist {
        int16_t x, y;
    };
    static int TunnelSpriteX, TunnelSpriteY, TunnelDisplayX, TunnelDisplayY;
    static void WaveLayer(int Px, int Py, int Width, int Size, float Speed, int ObjDD, int X1, int Y1, int X2, int Y2,
                          int Mode);
    static void TileLayer(float PxSpeed, float PySpeed, int ObjDD, int X1, int Y1, int X2, int Y2);
    static void RollWaveLayer(int Px, int Py, int Width, int Size, float WaveSpeed, float RollSpeed, int ObjDD, int X1,
                              int Y1, int X2, int Y2);
    static void TileRollWaveLayer(int Py1, int Py2, int Width, int Size, float WaveSpeed, float RollSpeed, int ObjDD,
                                  int X1, int Y1, int X2, int Y2);
    static void MosaicLayer(int Px, int Py, int Size, int ObjDD, int X1, int Y1, int X2, int Y2);
    static void LineLayer(int Px, int Py, int Size, int ObjDD, int X1, int Y1, int X2, int Y2);
    static void RandomLayer(int Px, int Py, int Size, int ObjDD, int X1, int Y1, int X2, int Y2);
    static void WaterfallLayer(int Px, int Py, int Type, float Speed, int ObjDD, int X1, int Y1, int X2, int Y2);
    static void CreateTunnel(int Sx, int Sy, int Dx, int Dy, int Cx, int Cy, int Size, int Center, int Type, int Line);
    static int TunnelLayer(int Px, int Py, int Rotate, int Dist, int ObjDD);
    static int LightLayer(int Px, int Py, int Red, int Green, int Blue, uint16_t Dir, int Show, int ObjDD, int X1,
                          int Y1, int X2, int Y2);
    // Vector drawing on the back surface (RGB colours 0x00BBGGRR, clipped to
    // the surface only) and the screen saver.
    static void GetColor(int x, int y, int* Red, int* Green, int* Blue);
    static void Pixel(int Px, int Py, uint32_t Color);
    static void Line(int X1, int Y1, int X2, int Y2, uint32_t Color, int Size);
    static void Box(int X1, int Y1, int X2, int Y2, uint32_t Color1, uint32_t Color2, int Size);
    static void FillPattern(tagPOINT* Point, int Count, uint32_t FrontColor, uint32_t BackColor, int PenSize,
                            int DrawFlag);
    static void Bezier(tagPOINT* Point, int Count, uint32_t Color, int Size);
    static int SaveBitmap(const char* FileName, int Width, int Height);

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

    // Blend and brightness layers: a sprite rectangle drawn in software onto
    // the back surface; source pixels of value 0 are transparent. The
    // overloads are told apart by their argument types, so callers pass
    // weights as float literals (0.5f): a double literal matches the int and
    // the float forms equally and does not compile. Int levels are 0..31,
    // float weights 0.0..1.0. Results: 1 done (also when nothing was
    // visible or a value was clamped), 0 refused or a surface not lockable.
    static int BlendLayer(int Px, int Py, int ObjDD, int X1, int Y1, int X2, int Y2);
    static int BlendLayer(int Px, int Py, float Blend, int ObjDD, int X1, int Y1, int X2, int Y2);
    static int BlendLayer(int Px, int Py, float BlendR, float BlendG, float BlendB, int ObjDD, int X1, int Y1, int X2,
                          int Y2);
    static int BlendLayer(int Px, int Py, int Blend, int ObjDD, int X1, int Y1, int X2, int Y2);
    static int BlendLayer(int Px, int Py, int BlendR, int BlendG, int BlendB, int ObjDD, int X1, int Y1, int X2, int Y2);
    static int BlendLayer(int Px, int Py, float BlendR, float BlendG, float BlendB, int Mode, int Start, int Size,
                          int ObjDD, int X1, int Y1, int X2, int Y2);
    static int BlendLayer(int Px, int Py, int BlendR, int BlendG, int BlendB, int Mode, int Start, int Size, int ObjDD,
                          int X1, int Y1, int X2, int Y2);
    static int AddBlendLayer(int Px, int Py, int ObjDD, int X1, int Y1, int X2, int Y2);
    static int AddBlendLayer(int Px, int Py, float Blend, int ObjDD, int X1, int Y1, int X2, int Y2);
    static int DelBlendLayer(int Px, int Py, int ObjDD, int X1, int Y1, int X2, int Y2);
    static int EdgeBlendLayer(int Px, int Py, int ObjDD, int X1, int Y1, int X2, int Y2);
    static int PlainLayer(int Px, int Py, int PlainR, int PlainG, int PlainB, int ObjDD, int X1, int Y1, int X2, int Y2);
    static int BrightLayer(int Px, int Py, float Bright, int ObjDD, int X1, int Y1, int X2, int Y2);
    static int BrightLayer(int Px, int Py, float BrightR, float BrightG, float BrightB, int ObjDD, int X1, int Y1, int X2,
                           int Y2);
    static int BrightLayer(int Px, int Py, int Bright, int ObjDD, int X1, int Y1, int X2, int Y2);
    static int BrightLayer(int Px, int Py, int BrightR, int BrightG, int BrightB, int ObjDD, int X1, int Y1, int X2,
                           int Y2);
    static int ShadeLayer(int Px, int Py, int Shade, int ObjDD, int X1, int Y1, int X2, int Y2);
    static int GrayLayer(int Px, int Py, int ObjDD, int X1, int Y1, int X2, int Y2);

    // Geometric layers: stretched, mirrored, rotated, meshed, smeared and
    // displaced sprites. Angles of the rotation family are whole degrees.
    static void StretchLayer(int Px, int Py, int ObjDD, int X1, int Y1, int X2, int Y2, int Sx, int Sy);
    static void DirectStretchLayer(int Px, int Py, int ObjDD, int X1, int Y1, int X2, int Y2, int Sx, int Sy);
    static int MirrorLayer(int Px, int Py, int Mirror, int ObjDD, int X1, int Y1, int X2, int Y2);
    static int MeshLayer(int Px, int Py, int WaveSize, int WaveCount, int Step, float Zoom, float Angle, int ObjDD, int X1,
                         int Y1, int X2, int Y2);
    static int RotateLayer(int Px1, int Py1, int Px2, int Py2, int Angle, int ObjDD, int X1, int Y1, int X2, int Y2);
    static int TileRotateLayer(int Px1, int Py1, int Px2, int Py2, int Angle, int ObjDD, int X1, int Y1, int X2, int Y2);
    static int ZoomRotateLayer(int Px1, int Py1, int Px2, int Py2, int Angle, float Zoom, int ObjDD, int X1, int Y1,
                               int X2, int Y2);
    static int TileZoomRotateLayer(int Px1, int Py1, int Px2, int Py2, int Angle, float Zoom, int ObjDD, int X1, int Y1,
                                   int X2, int Y2);
    static int MysteryLayer(int Px1, int Py1, int Px2, int Py2, int Angle, float ZoomStartX, float ZoomAddX,
                            float ZoomStartY, float ZoomAddY, float Red, float Green, float Blue, int ObjDD, int X1,
                            int Y1, int X2, int Y2);
    static int PickLayer(int Px, int Py, int Mode, int Start, int ObjDD, int X1, int Y1, int X2, int Y2);
    static int ShiftLayer(int Px, int Py, float Shift, int ObjDD, int X1, int Y1, int X2, int Y2);
};

extern kaDraw::_sprite Sprite[1024];
// The tunnel table: texture column and row for each picture pixel.
extern kaDraw::_tunnellist TunnelList[640 * 480];

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
