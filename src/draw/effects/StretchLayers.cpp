// The stretch layers: a sprite rectangle scaled to Sx x Sy, through the
// platform's scaled copy (clipped to what is visible), or, where the display
// cannot stretch, through the Buffer sprite and the plain layer copies.
#include <climits>

#include "draw/effects/LayerFrame.h"
#include "platform/Blit.h"

namespace {

void Stretch(int Px, int Py, int ObjDD, int X1, int Y1, int X2, int Y2, int Sx, int Sy, bool keyed) {
    plat::Surface16* src = kadraw::SpriteSurface(ObjDD);
    if (src == nullptr || DDBack == nullptr) return;
    const int64_t right = int64_t{Px} + Sx, bottom = int64_t{Py} + Sy;
    if (right > INT_MAX || bottom > INT_MAX || right < INT_MIN || bottom < INT_MIN) return;
    const plat::Rect srcRect{X1, Y1, X2, Y2};
    if (kaDraw::UseStretch != 0) {
        // The scaled copy keys on the sprite's own colour key. Only the part
        // inside the virtual screen and the surface is drawn, each pixel as
        // the whole stretch would have it.
        const plat::Rect clip = kafx::VisibleBounds(*DDBack);
        if (clip.right <= clip.left || clip.bottom <= clip.top) return;
        const plat::Rect dstRect{Px, Py, static_cast<int>(right), static_cast<int>(bottom)};
        if (plat::BltClipped(*DDBack, dstRect, clip, *src, srcRect, keyed) == plat::kErrSurfaceLost)
            kaDraw::ReloadObject();
        return;
    }
    // Fallback: stretch into the Buffer sprite's corner, then copy that with
    // the Buffer's key (black) or opaque. A copy that did not happen, or had
    // nothing to sample, must not let an old Buffer show.
    plat::Surface16* buffer = kadraw::SpriteSurface(0);
    if (buffer == nullptr || srcRect.width() <= 0 || srcRect.height() <= 0 || Sx <= 0 || Sy <= 0) return;
    if (plat::Blt(*buffer, {0, 0, Sx, Sy}, *src, srcRect, false) != plat::kOk) return;
    if (keyed)
        kaDraw::Layer(Px, Py, 0, 0, 0, Sx, Sy);
    else
        kaDraw::DirectLayer(Px, Py, 0, 0, 0, Sx, Sy);
}

}  // namespace

void kaDraw::StretchLayer(int Px, int Py, int ObjDD, int X1, int Y1, int X2, int Y2, int Sx, int Sy) {
    Stretch(Px, Py, ObjDD, X1, Y1, X2, Y2, Sx, Sy, true);
}

void kaDraw::DirectStretchLayer(int Px, int Py, int ObjDD, int X1, int Y1, int X2, int Y2, int Sx, int Sy) {
    Stretch(Px, Py, ObjDD, X1, Y1, X2, Y2, Sx, Sy, false);
}
