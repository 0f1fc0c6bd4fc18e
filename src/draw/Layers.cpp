// The everyday drawing operations on the back surface and on sprites:
// keyed and opaque rectangle copies clipped to the virtual screen, fills,
// the half-mix tint, inversion and the snapshot of the back surface.
#include <algorithm>
#include <climits>

#include "draw/DrawInternal.h"
#include "platform/Blit.h"

namespace {

// The common body of the four layer copies. A lost surface is rebuilt; the
// copy itself is not repeated. Other refusals draw nothing.
void CopyLayer(plat::Surface16* dst, int Px, int Py, int ObjDD, int X1, int Y1, int X2, int Y2, bool keyed) {
    plat::Surface16* src = kadraw::SpriteSurface(ObjDD);
    if (dst == nullptr || src == nullptr) return;
    if (!kadraw::ClipLayer(&Px, &Py, &X1, &Y1, &X2, &Y2)) return;
    if (plat::BltFast(*dst, Px, Py, *src, {X1, Y1, X2, Y2}, keyed) == plat::kErrSurfaceLost) kaDraw::ReloadObject();
}

void FillBack(int X1, int Y1, int X2, int Y2, uint32_t value) {
    if (DDBack == nullptr) return;
    plat::Fill(*DDBack, {X1, Y1, X2, Y2}, static_cast<uint16_t>(value));
}

// The rectangle limited to the surface; false when nothing of it is left.
bool ClipToSurface(const plat::Surface16& s, int* X1, int* Y1, int* X2, int* Y2) {
    *X1 = std::max(*X1, 0);
    *Y1 = std::max(*Y1, 0);
    *X2 = std::min(*X2, s.width());
    *Y2 = std::min(*Y2, s.height());
    return *X1 < *X2 && *Y1 < *Y2;
}

}  // namespace

void kaDraw::Layer(int Px, int Py, int ObjDD, int X1, int Y1, int X2, int Y2) {
    CopyLayer(DDBack, Px, Py, ObjDD, X1, Y1, X2, Y2, true);
}

void kaDraw::SpriteLayer(int ObjDD1, int Px, int Py, int ObjDD2, int X1, int Y1, int X2, int Y2) {
    CopyLayer(kadraw::SpriteSurface(ObjDD1), Px, Py, ObjDD2, X1, Y1, X2, Y2, true);
}

void kaDraw::DirectLayer(int Px, int Py, int ObjDD, int X1, int Y1, int X2, int Y2) {
    CopyLayer(DDBack, Px, Py, ObjDD, X1, Y1, X2, Y2, false);
}

void kaDraw::DirectSpriteLayer(int ObjDD1, int Px, int Py, int ObjDD2, int X1, int Y1, int X2, int Y2) {
    CopyLayer(kadraw::SpriteSurface(ObjDD1), Px, Py, ObjDD2, X1, Y1, X2, Y2, false);
}

void kaDraw::Clear() { FillBack(0, 0, Width, Height, 0); }

void kaDraw::SpriteClear(int ObjDD) {
    plat::Surface16* surface = kadraw::SpriteSurface(ObjDD);
    if (surface == nullptr) return;
    plat::Fill(*surface, {0, 0, Sprite[ObjDD].SizeX, Sprite[ObjDD].SizeY}, 0);
}

void kaDraw::ClearArea(int X1, int Y1, int X2, int Y2) { FillBack(X1, Y1, X2, Y2, 0); }

void kaDraw::ClearFrame(int X1, int Y1, int X2, int Y2) {
    FillBack(X1, Y1, X2, Y1 + 1, 0);
    FillBack(X1, Y2 - 1, X2, Y2, 0);
    FillBack(X1, Y1, X1 + 1, Y2, 0);
    FillBack(X2 - 1, Y1, X2, Y2, 0);
}

void kaDraw::Flash() { FillBack(0, 0, Width, Height, WhiteRGB); }

void kaDraw::FlashArea(int X1, int Y1, int X2, int Y2) { FillBack(X1, Y1, X2, Y2, WhiteRGB); }

void kaDraw::ColorFill(int X1, int Y1, int X2, int Y2, uint16_t Color) { FillBack(X1, Y1, X2, Y2, Color); }

int kaDraw::ColorBlend(int X1, int Y1, int X2, int Y2, uint16_t Color) {
    X2 = std::min(X2, Vx2);
    Y2 = std::min(Y2, Vy2);
    X1 = std::max(X1, Vx1);
    Y1 = std::max(Y1, Vy1);
    if (X2 < X1 || Y2 < Y1) return 1;
    if (DDBack == nullptr) return 0;
    void* bits;
    long pitch;
    if (DDBack->lock(&bits, &pitch) != plat::kOk) return 0;
    // The virtual screen may reach past the surface; never walk outside it.
    ClipToSurface(*DDBack, &X1, &Y1, &X2, &Y2);
    const uint32_t mask = MaskRGB;
    for (int y = Y1; y < Y2; ++y) {
        uint16_t* p = DDBack->row(y);
        for (int x = X1; x < X2; ++x) p[x] = HalfMix(p[x], Color, mask);
    }
    DDBack->unlock();
    return 1;
}

void kaDraw::Reverse(int X1, int Y1, int X2, int Y2) {
    if (DDBack == nullptr || !ClipToSurface(*DDBack, &X1, &Y1, &X2, &Y2)) return;
    void* bits;
    long pitch;
    if (DDBack->lock(&bits, &pitch) != plat::kOk) return;
    for (int y = Y1; y < Y2; ++y) {
        uint16_t* p = DDBack->row(y);
        for (int x = X1; x < X2; ++x) p[x] = static_cast<uint16_t>(~p[x]);
    }
    DDBack->unlock();
}

void kaDraw::SpriteScreen(int ObjDD, int X1, int Y1, int X2, int Y2) {
    plat::Surface16* surface = kadraw::SpriteSurface(ObjDD);
    if (surface == nullptr || DDBack == nullptr) return;
    if (plat::BltFast(*surface, 0, 0, *DDBack, {X1, Y1, X2, Y2}, false) == plat::kErrSurfaceLost) ReloadObject();
}
