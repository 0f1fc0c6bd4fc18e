// The tunnel: kaDraw::CreateTunnel works out, once per picture size, which
// texture column (angle around the centre) and row (perspective depth) each
// picture pixel shows; kaDraw::TunnelLayer then copies texels through that
// table, turned by Rotate and moved along by Dist.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "draw/effects/EffectPixels.h"
#include "draw/effects/LayerFrame.h"

kaDraw::_tunnellist TunnelList[640 * 480];
int kaDraw::TunnelSpriteX = 0;
int kaDraw::TunnelSpriteY = 0;
int kaDraw::TunnelDisplayX = 0;
int kaDraw::TunnelDisplayY = 0;

namespace {

constexpr int64_t kTunnelEntries = 640 * 480;
constexpr int kMaxTexture = 32767;  // texel positions are signed 16-bit

// Distance of a pixel from the centre, by Type.
float Distance(int Type, double adx, double ady, int64_t cx) {
    switch (Type) {
        case 0: return static_cast<float>(std::sqrt(adx * adx + ady * ady));
        case 1: return static_cast<float>(std::max(adx, ady));
        case 2: return static_cast<float>((adx + ady) / 2.0);
        case 3: return static_cast<float>(std::min(adx, ady));
        case 4: return static_cast<float>(adx);
        case 5: return static_cast<float>(ady);
        default: return static_cast<float>(cx);
    }
}

// Depth factor, by Line; always positive.
float Depth(int Line, double p, double adx, double ady) {
    double f = 0;
    switch (Line) {
        case 0: f = p / 32; break;
        case 1: f = p / ((ady + 1) / 10.0); break;
        case 2: f = p / ((adx + 1) / 10.0); break;
        case 3: f = p / std::max(adx, ady); break;
        case 4: f = p / ((adx + ady) / 2.0); break;
        default: f = p / std::min(adx, ady); break;
    }
    const float f2 = static_cast<float>(f);
    return f2 < 0 ? -f2 : f2;
}

}  // namespace

void kaDraw::CreateTunnel(int Sx, int Sy, int Dx, int Dy, int Cx, int Cy, int Size, int Center, int Type, int Line) {
    // A table that does not fit, a texture whose positions would not fit in
    // 16 bits, or an unknown measure: refused, the previous table stays.
    if (Sx < 1 || Sx > kMaxTexture || Sy < 1 || Sy > kMaxTexture) return;
    if (Type < 0 || Type > 6 || Line < 0 || Line > 5) return;
    if (Dx < 0 || Dy < 0 || int64_t{Dx} * Dy > kTunnelEntries) return;
    TunnelSpriteX = Sx;
    TunnelSpriteY = Sy;
    TunnelDisplayX = Dx;
    TunnelDisplayY = Dy;

    int64_t cx = Cx == -1 ? Dx / 2 : Cx;
    int64_t cy = Cy == -1 ? Dy / 2 : Cy;
    if (Size == -1) Size = 8;
    if (Size < 2) Size = 2;
    if (Center == 1) cy = Dy;
    if (Center == 3) cx = Dx;
    if (Center == 4) cx = 0;
    const double p = Sy / (2 * std::tan(kafx::kPi / Size / 2));
    const double turn = Sx / (2 * kafx::kPi);
    for (int y = 0; y < Dy; ++y) {
        switch (Center) {
            case 1: cy -= 1; break;
            case 2: cx = Dx; break;
            case 3: cx = std::max<int64_t>(cx - 1, 0); break;
            case 4: cx = std::min<int64_t>(cx + 1, Dx); break;
            default: break;
        }
        for (int x = 0; x < Dx; ++x) {
            if (Center == 2) cx -= 1;
            const double dx = static_cast<double>(x - cx), dy = static_cast<double>(y - cy);
            const double adx = std::fabs(dx), ady = std::fabs(dy);
            const float f1 = Distance(Type, adx, ady, cx);
            const float f2 = Depth(Line, p, adx, ady);
            const double reach = std::sqrt(static_cast<double>(cx) * cx + static_cast<double>(cy) * cy);
            // At the centre (f1 = 0) or on an axis (a zero divisor) the
            // values are not finite: they saturate, and any texel will do.
            const int u = kafx::SaturatingInt(std::atan2(dy, dx) * turn);
            const int v = kafx::SaturatingInt((reach - f1) * f2 / f1);
            _tunnellist& e = TunnelList[static_cast<size_t>(y) * Dx + x];
            e.x = static_cast<int16_t>(kafx::PositiveMod(u, Sx));
            e.y = static_cast<int16_t>(kafx::PositiveMod(v, Sy));
        }
    }
}

int kaDraw::TunnelLayer(int Px, int Py, int Rotate, int Dist, int ObjDD) {
    plat::Surface16* sprite = kadraw::SpriteSurface(ObjDD);
    const int64_t sx = TunnelSpriteX, sy = TunnelSpriteY;
    // No table yet, or a texture the sprite does not hold: nothing to copy.
    if (sprite == nullptr || DDBack == nullptr || sx < 1 || sy < 1 || TunnelDisplayX < 1 || TunnelDisplayY < 1 ||
        sx > sprite->width() || sy > sprite->height())
        return kafx::kRefused;
    if (!kafx::LockPair(*sprite, *DDBack)) return kafx::kRefused;
    // The picture is cut to the back surface (the virtual screen does not
    // apply to the tunnel).
    const int64_t x0 = std::max<int64_t>(0, -int64_t{Px}), y0 = std::max<int64_t>(0, -int64_t{Py});
    const int64_t x1 = std::min<int64_t>(TunnelDisplayX, int64_t{DDBack->width()} - Px);
    const int64_t y1 = std::min<int64_t>(TunnelDisplayY, int64_t{DDBack->height()} - Py);
    const int rotate = static_cast<int>(kafx::PositiveMod(Rotate, sx));
    const int dist = static_cast<int>(kafx::PositiveMod(Dist, sy));
    const int texW = static_cast<int>(sx), texH = static_cast<int>(sy);
    const uint16_t* texture = sprite->row(0);
    const ptrdiff_t pitch = sprite->pitchPixels();
    for (int64_t y = y0; y < y1; ++y) {
        const kaDraw::_tunnellist* e = TunnelList + y * TunnelDisplayX;
        uint16_t* out = DDBack->row(static_cast<int>(Py + y)) + Px;
        for (int64_t x = x0; x < x1; ++x) {
            // Table entries lie in the texture; one subtraction wraps them.
            // An entry written by hand outside it takes the slow way.
            int u = e[x].x + rotate, v = e[x].y + dist;
            if (u >= texW) u -= texW;
            if (v >= texH) v -= texH;
            if (static_cast<unsigned>(u) >= static_cast<unsigned>(texW)) u = static_cast<int>(kafx::PositiveMod(u, texW));
            if (static_cast<unsigned>(v) >= static_cast<unsigned>(texH)) v = static_cast<int>(kafx::PositiveMod(v, texH));
            out[x] = texture[v * pitch + u];
        }
    }
    kafx::UnlockPair(*sprite, *DDBack);
    return kafx::kDone;
}
