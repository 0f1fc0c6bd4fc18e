// DrawAA2: a double-size piece of the Font buffer sprite reduced into the
// Font sprite, each pixel the mean of its 3 x 3 samples filled up with the
// back surface's pixel. Surfaces are 16-bit on this platform, so only the
// 16-bit channel rule exists.
#include <algorithm>
#include <vector>

#include "draw/DrawInternal.h"
#include "draw/kaDraw.h"
#include "text/TextInternal.h"

namespace {

struct Locked {
    plat::Surface16* surface = nullptr;
    uint8_t* bits = nullptr;
    long pitch = 0;
    bool lock(plat::Surface16* s) {
        void* p = nullptr;
        if (s == nullptr || s->lock(&p, &pitch) != plat::kOk) return false;
        surface = s;
        bits = static_cast<uint8_t*>(p);
        return true;
    }
    uint16_t* row(int64_t y) const { return reinterpret_cast<uint16_t*>(bits + y * pitch); }
    ~Locked() {
        if (surface != nullptr) surface->unlock();
    }
};

}  // namespace

int kaFont::DrawAA2(int Px, int Py, int X1, int Y1, int X2, int Y2) {
    plat::Surface16* src = kadraw::SpriteSurface(3);
    plat::Surface16* dst = kadraw::SpriteSurface(2);
    if (src == nullptr || dst == nullptr || DDBack == nullptr) return 0;
    int64_t px = Px, py = Py, x1 = X1, y1 = Y1, x2 = X2, y2 = Y2;
    // The source rectangle stays inside slot 3, moved by whole source pixel
    // pairs so that the sampling grid does not shift.
    if (x1 < 0) {
        const int64_t d = (-x1 + 1) / 2;
        x1 += 2 * d, px += d;
    }
    if (y1 < 0) {
        const int64_t d = (-y1 + 1) / 2;
        y1 += 2 * d, py += d;
    }
    x2 = std::min<int64_t>(x2, src->width());
    y2 = std::min<int64_t>(y2, src->height());
    int64_t ex = (x2 - x1) / 2, ey = (y2 - y1) / 2;
    // The destination: the virtual screen, slot 2 and the back surface.
    const int64_t right = std::min<int64_t>({kaDraw::Vx2, dst->width(), DDBack->width()});
    const int64_t bottom = std::min<int64_t>({kaDraw::Vy2, dst->height(), DDBack->height()});
    const int64_t left = std::max<int64_t>(kaDraw::Vx1, 0), top = std::max<int64_t>(kaDraw::Vy1, 0);
    if (px + ex > right) ex = right - px;
    if (py + ey > bottom) ey = bottom - py;
    if (px < left) {
        ex -= left - px, x1 += 2 * (left - px), px = left;
    }
    if (py < top) {
        ey -= top - py, y1 += 2 * (top - py), py = top;
    }
    if (ex <= 0 || ey <= 0) return 1;

    Locked s, d, b;
    if (!s.lock(src) || !d.lock(dst) || !b.lock(DDBack)) return 0;

    const unsigned shiftR = kaDraw::ShiftR2, shiftG = kaDraw::ShiftG2, shiftB = kaDraw::ShiftB2;
    constexpr unsigned kMax = 31;
    // Per source column of the three rows: zero when all three are black,
    // so that empty neighbourhoods are skipped at once.
    const int64_t width = x2 - x1;
    std::vector<uint16_t> any(static_cast<size_t>(width));
    for (int64_t oy = 0; oy < ey; ++oy) {
        const int64_t sy = y1 + 2 * oy;
        const uint16_t* rows[3] = {sy - 1 >= y1 ? s.row(sy - 1) + x1 : nullptr, s.row(sy) + x1,
                                   sy + 1 < y2 ? s.row(sy + 1) + x1 : nullptr};
        for (int64_t x = 0; x < width; ++x) any[x] = rows[1][x];
        for (int k : {0, 2})
            if (rows[k] != nullptr)
                for (int64_t x = 0; x < width; ++x) any[x] |= rows[k][x];

        uint16_t* out = d.row(py + oy) + px;
        const uint16_t* back = b.row(py + oy) + px;
        for (int64_t ox = 0; ox < ex; ++ox) {
            const int64_t sx = 2 * ox;
            const int64_t c0 = sx > 0 ? sx - 1 : sx, c1 = sx + 1 < width ? sx + 1 : sx;
            if ((any[c0] | any[sx] | any[c1]) == 0) continue;
            unsigned count = 0, r = 0, g = 0, bl = 0;
            for (const uint16_t* row : rows) {
                if (row == nullptr) continue;
                for (int64_t x = c0; x <= c1; ++x) {
                    const unsigned p = row[x];
                    if (p == 0) continue;
                    ++count;
                    r += (p >> shiftR) & kMax;
                    g += (p >> shiftG) & kMax;
                    bl += (p >> shiftB) & kMax;
                }
            }
            r += kMax, g += kMax, bl += kMax;
            if (count < 8) {
                const unsigned q = back[ox], n = 8 - count;
                r += ((q >> shiftR) & kMax) * n;
                g += ((q >> shiftG) & kMax) * n;
                bl += ((q >> shiftB) & kMax) * n;
            }
            out[ox] = static_cast<uint16_t>((std::min(r >> 3, kMax) << shiftR) | (std::min(g >> 3, kMax) << shiftG) |
                                            (std::min(bl >> 3, kMax) << shiftB));
        }
    }
    return 1;
}
