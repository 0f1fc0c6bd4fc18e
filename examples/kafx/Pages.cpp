// The pages of the gallery: every member of the blend, geometric,
// distortion and screen-effect layers, animated from the page's time.
#include "Pages.h"

#include <cmath>

#include "draw/effects/kaEffect.h"
#include "draw/kaDraw.h"

namespace kafx_gallery {

namespace {

constexpr int X = kPicX, Y = kPicY, W = kPicW, H = kPicH;

// 0 .. 1 .. 0 over one period.
double Tri(double t, double period) {
    const double u = std::fmod(t / period, 1.0);
    return u < 0.5 ? 2 * u : 2 - 2 * u;
}
int Sweep(double t, double period, int lo, int hi) { return lo + static_cast<int>(std::lround(Tri(t, period) * (hi - lo))); }
int Sway(double t, int amplitude) { return static_cast<int>(std::lround(std::sin(t * 1.3) * amplitude)); }

void Back(const Frame& f) { kaDraw::DirectLayer(0, 0, f.pictures.back, 0, 0, 640, 480); }

// ---- Blend and brightness --------------------------------------------------------

void Blend(Frame& f) {
    Back(f);
    const int a = f.shown = Sweep(f.t, 4, 0, 31);
    const float w = a / 31.0f;
    const int pic = f.pictures.pic;
    switch (f.p) {
        case 0: kaDraw::BlendLayer(X, Y, pic, 0, 0, W, H); break;
        case 1: kaDraw::BlendLayer(X, Y, a, pic, 0, 0, W, H); break;
        case 2: kaDraw::BlendLayer(X, Y, w, pic, 0, 0, W, H); break;
        case 3: kaDraw::BlendLayer(X, Y, a, 31 - a, 16, pic, 0, 0, W, H); break;
        case 4: kaDraw::BlendLayer(X, Y, w, 1.0f - w, 0.5f, pic, 0, 0, W, H); break;
        case 5: kaDraw::BlendLayer(X, Y, 4, 4, 4, 0, a * 4, 3, pic, 0, 0, W, H); break;
        default: kaDraw::BlendLayer(X, Y, 0.1f, 0.1f, 0.1f, 1, a * 3, 2, pic, 0, 0, W, H); break;
    }
}

void AddBlend(Frame& f) {
    Back(f);
    const int a = f.shown = Sweep(f.t, 4, 0, 31);
    if (f.p == 0)
        kaDraw::AddBlendLayer(X + Sway(f.t, 60), Y, f.pictures.pic, 0, 0, W, H);
    else
        kaDraw::AddBlendLayer(X, Y, a / 31.0f, f.pictures.pic, 0, 0, W, H);
}

void DelBlend(Frame& f) {
    Back(f);
    kaDraw::DelBlendLayer(X + (f.shown = Sway(f.t, 80)), Y, f.pictures.map, 0, 0, W, H);
}

void EdgeBlend(Frame& f) {
    Back(f);
    kaDraw::EdgeBlendLayer(X + (f.shown = Sway(f.t, 80)), Y, f.pictures.pic, 0, 0, W, H);
}

void Plain(Frame& f) {
    Back(f);
    kaDraw::PlainLayer(X + (f.shown = Sway(f.t, 80)), Y, f.p & 1, f.p & 2, f.p & 4, f.pictures.pic, 0, 0, W, H);
}

void Bright(Frame& f) {
    Back(f);
    const int a = f.shown = Sweep(f.t, 4, 0, 31);
    const float w = a / 31.0f;
    const int pic = f.pictures.pic;
    switch (f.p) {
        case 0: kaDraw::BrightLayer(X, Y, a, pic, 0, 0, W, H); break;
        case 1: kaDraw::BrightLayer(X, Y, w, pic, 0, 0, W, H); break;
        case 2: kaDraw::BrightLayer(X, Y, a, 31 - a, 31, pic, 0, 0, W, H); break;
        default: kaDraw::BrightLayer(X, Y, w, 1.0f, 1.0f - w, pic, 0, 0, W, H); break;
    }
}

void ShadeL(Frame& f) {
    Back(f);
    kaDraw::ShadeLayer(X + (f.shown = Sway(f.t, 80)), Y, f.p, f.pictures.pic, 0, 0, W, H);
}

void Gray(Frame& f) {
    Back(f);
    kaDraw::GrayLayer(X + (f.shown = Sway(f.t, 80)), Y, f.pictures.pic, 0, 0, W, H);
}

// ---- Geometric -------------------------------------------------------------------

void Stretch(Frame& f, bool keyed) {
    Back(f);
    const int z = f.shown = Sweep(f.t, 3, 40, 250);
    const int sw = W * z / 100, sh = H * z / 100;
    if (keyed)
        kaDraw::StretchLayer(320 - sw / 2, 240 - sh / 2, f.pictures.pic, 0, 0, W, H, sw, sh);
    else
        kaDraw::DirectStretchLayer(320 - sw / 2, 240 - sh / 2, f.pictures.pic, 0, 0, W, H, sw, sh);
}
void StretchK(Frame& f) { Stretch(f, true); }
void StretchD(Frame& f) { Stretch(f, false); }

void Mirror(Frame& f) {
    Back(f);
    kaDraw::MirrorLayer(X + (f.shown = Sway(f.t, 80)), Y, f.p, f.pictures.pic, 0, 0, W, H);
}

void Mesh(Frame& f) {
    Back(f);
    const int a = f.shown = Sweep(f.t, 5, -20, 20);
    kaDraw::MeshLayer(X, Y - 30, 40, static_cast<int>(f.t * 4) % 12 + 4, f.p, 1.2f, a / 100.0f, f.pictures.pic, 0, 0,
                      W, H);
}

int Turn(Frame& f) { return f.shown = static_cast<int>(f.t * 45) % 360; }

void Rotate(Frame& f) {
    Back(f);
    kaDraw::RotateLayer(170, 90, 470, 390, Turn(f), f.pictures.pic, 0, 0, W, H);
}
void TileRotate(Frame& f) {
    Back(f);
    kaDraw::TileRotateLayer(120, 90, 520, 390, Turn(f), f.pictures.pic, 0, 0, W, H);
}
void ZoomRotate(Frame& f) {
    Back(f);
    const float z = static_cast<float>(f.p / 100.0 * (0.75 + 0.25 * std::sin(f.t * 2)));
    kaDraw::ZoomRotateLayer(120, 90, 520, 390, Turn(f), z, f.pictures.pic, 0, 0, W, H);
}
void TileZoomRotate(Frame& f) {
    Back(f);
    const float z = static_cast<float>(f.p / 100.0 * (0.75 + 0.25 * std::sin(f.t * 2)));
    kaDraw::TileZoomRotateLayer(120, 90, 520, 390, Turn(f), z, f.pictures.pic, 0, 0, W, H);
}
void Mystery(Frame& f) {
    Back(f);
    kaDraw::MysteryLayer(40, 60, 600, 420, Turn(f), 0.4f, f.p / 1000.0f, 0.6f, f.p / 2000.0f, 1.0f, 0.8f, 0.6f,
                         f.pictures.pic, 0, 0, W, H);
}

void Pick(Frame& f) {
    Back(f);
    const int start = f.shown = Sweep(f.t, 4, 0, (f.p < 2 ? W : H) - 1);
    kaDraw::PickLayer(X, Y, f.p, start, f.pictures.pic, 0, 0, W, H);
}

void Shift(Frame& f) {
    Back(f);
    kaDraw::Layer(X, Y, f.pictures.pic, 0, 0, W, H);
    const int a = f.shown = Sweep(f.t, 4, 0, 100);
    kaDraw::ShiftLayer(X, Y, a / 100.0f, f.pictures.map, 0, 0, W, H);
}

// ---- Distortion and pattern -------------------------------------------------------

void Wave(Frame& f) {
    Back(f);
    kaDraw::WaveLayer(X, Y, f.p, 0, static_cast<float>(f.shown = 180), f.pictures.pic, 0, 0, W, H, 0);
    kaDraw::WaveLayer(X, Y + H + 10, f.p / 2, 2, 120.0f, f.pictures.small, 0, 0, 64, 48, 1);
}

void Tile(Frame& f) {
    Back(f);
    kaDraw::TileLayer(static_cast<float>(f.p), static_cast<float>(f.shown = f.p / 2), f.pictures.small, 0, 0, 64, 48);
}

void RollWave(Frame& f) {
    Back(f);
    kaDraw::RollWaveLayer(X, Y, f.p, 0, 150.0f, static_cast<float>(f.shown = 40), f.pictures.pic, 0, 0, W, H);
}

void TileRollWave(Frame& f) {
    Back(f);
    kaDraw::TileRollWaveLayer(140, 340, f.p, 1, 150.0f, static_cast<float>(f.shown = 30), f.pictures.small, 0, 0, 64,
                              48);
}

void MosaicL(Frame& f) {
    Back(f);
    kaDraw::MosaicLayer(X + (f.shown = Sway(f.t, 80)), Y, f.p, f.pictures.pic, 0, 0, W, H);
}
void Line(Frame& f) {
    Back(f);
    kaDraw::LineLayer(X + (f.shown = Sway(f.t, 80)), Y, f.p, f.pictures.pic, 0, 0, W, H);
}
void Random(Frame& f) {
    Back(f);
    kaDraw::RandomLayer(X + (f.shown = Sway(f.t, 80)), Y, f.p, f.pictures.pic, 0, 0, W, H);
}
void Waterfall(Frame& f) {
    Back(f);
    kaDraw::WaterfallLayer(X, Y, f.p, static_cast<float>(f.shown = 60), f.pictures.pic, 0, 0, W, H);
}

// The table itself, shown as colours: red for the texture column (the
// angle), green for the row (the depth), over a 320x240 picture.
void Table(Frame& f) {
    Back(f);
    const int line = f.shown = static_cast<int>(f.t / 1.5) % 6;
    kaDraw::CreateTunnel(128, 128, 320, 240, -1, -1, -1, static_cast<int>(f.t / 9) % 5, f.p, line);
    void* bits;
    long pitch;
    if (DDBack->lock(&bits, &pitch) != plat::kOk) return;
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) {
            const kaDraw::_tunnellist& e = TunnelList[y * 320 + x];
            DDBack->row(120 + y)[160 + x] = Colour(e.x * 2, e.y * 2, 96);
        }
    DDBack->unlock();
}

void Tunnel(Frame& f) {
    if (f.frame == 0 || kaDraw::TunnelDisplayX != 640 || kaDraw::TunnelSpriteX != 128)
        kaDraw::CreateTunnel(128, 128, 640, 480, -1, -1, f.p, 0, 0, 0);
    const int rotate = f.shown = static_cast<int>(f.t * 40);
    kaDraw::TunnelLayer(0, 0, rotate, static_cast<int>(f.t * 90), f.pictures.texture);
}

// Over a darkened background, so that the rays show.
void Light(Frame& f) {
    Back(f);
    kaDraw::ColorBlend(0, 0, 640, 480, 0);
    kaDraw::ColorBlend(0, 0, 640, 480, 0);
    const int shift = f.shown = Sweep(f.t, 5, 0, 2);
    kaDraw::LightLayer(X, Y, shift, shift, shift, static_cast<uint16_t>(f.p), 1, f.pictures.light, 0, 0, W, H);
}

// ---- Screen effects ------------------------------------------------------------------

void Subject(const Frame& f) {
    Back(f);
    kaDraw::Layer(X + Sway(f.t, 60), Y, f.pictures.pic, 0, 0, W, H);
}

// Flames: fresh fuel along the bottom of the area every frame, and the
// picture above it rises and frays.
void Fire(Frame& f) {
    if (f.frame == 0) Subject(f);
    for (int x = 160; x < 480; x += 4)
        kaDraw::ColorFill(x, 400, x + 4, 404, Colour(255, 120 + (x * 37 + f.frame * 53) % 136, (x * 11) % 64));
    f.shown = 0;
    if (f.p == 0)
        kaEffect::Fire(160, 60, 320, 344);
    else
        kaEffect::Fire(f.p & 1, f.p & 2, f.p & 4, 160, 60, 320, 344);
}

// The plain blur is drawn afresh each frame (three passes); with fading
// channels it keeps working on its own previous frames, which fade out.
void ShadeE(Frame& f) {
    f.shown = 0;
    if (f.p == 0) {
        Subject(f);
        for (int i = 0; i < 3; ++i) kaEffect::Shade(120, 80, 400, 320);
        return;
    }
    if (f.frame == 0) Subject(f);
    kaEffect::Shade(f.p & 1, f.p & 2, f.p & 4, 120, 80, 400, 320);
}

void Zoom(Frame& f, int k) {
    Back(f);
    kaDraw::Layer(X, Y, f.pictures.pic, 0, 0, W, H);
    const int px = f.shown = 320 - 120 / k + Sway(f.t, 100);
    if (k == 2)
        kaEffect::Zoom2(px, 200, 120, 80, f.p);
    else
        kaEffect::Zoom4(px, 210, 60, 40, f.p);
}
void Zoom2(Frame& f) { Zoom(f, 2); }
void Zoom4(Frame& f) { Zoom(f, 4); }

void MosaicE(Frame& f) {
    Subject(f);
    kaEffect::Mosaic(320, 240, f.shown = Sweep(f.t, 4, 40, 220), f.p);
}

void Noise(Frame& f) {
    Subject(f);
    const int flags = f.shown = static_cast<int>(f.t / 2) % 8;
    if (flags == 0)
        kaEffect::Noise(f.p, 100, 60, 440, 360);
    else
        kaEffect::Noise(flags & 1, flags & 2, flags & 4, f.p, 100, 60, 440, 360);
}

}  // namespace

void DrawPlain(const Pictures& p) {
    kaDraw::DirectLayer(0, 0, p.back, 0, 0, 640, 480);
    kaDraw::Layer(X, Y, p.pic, 0, 0, W, H);
}

const std::vector<Page>& Pages() {
    static const std::vector<Page> pages = {
        {1, 0, 6, Blend},        {1, 0, 1, AddBlend},      {0, 0, 0, DelBlend},
        {0, 0, 0, EdgeBlend},    {5, 1, 7, Plain},         {0, 0, 3, Bright},
        {4, 1, 16, ShadeL},      {0, 0, 0, Gray},          {0, 0, 0, StretchK},
        {0, 0, 0, StretchD},     {1, 0, 3, Mirror},        {2, 1, 8, Mesh},
        {0, 0, 0, Rotate},       {0, 0, 0, TileRotate},    {150, 25, 400, ZoomRotate},
        {150, 25, 400, TileZoomRotate}, {4, 0, 20, Mystery}, {0, 0, 3, Pick},
        {0, 0, 0, Shift},        {12, 0, 60, Wave},        {60, 0, 300, Tile},
        {10, 0, 60, RollWave},   {10, 0, 60, TileRollWave}, {6, 1, 40, MosaicL},
        {3, -8, 8, Line},        {4, 0, 30, Random},       {1, 0, 1, Waterfall},
        {0, 0, 6, Table},        {8, 2, 32, Tunnel},       {255, 0, 255, Light},
        {6, 0, 7, Fire},          {0, 0, 7, ShadeE},         {0, 0, 1, Zoom2},
        {1, 0, 1, Zoom4},        {8, 1, 32, MosaicE},      {3, 0, 14, Noise},
    };
    return pages;
}

}  // namespace kafx_gallery
