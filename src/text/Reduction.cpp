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

// The reduction of the clipped area, the channel positions fixed at compile
// time for the two display formats (and given at run time for any other).
template <typename Shifts>
void Reduce(const Shifts& shifts, const Locked& s, const Locked& d, const Locked& b, int64_t px, int64_t py,
            int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t ex, int64_t ey) {
    const unsigned shiftR = shifts.r(), shiftG = shifts.g(), shiftB = shifts.b();
    // Every source row is split once into channel rows (5-bit values, and
    // 1 for a pixel that is not black), even and odd columns apart: a
    // centre column 2k has its neighbours at odd k - 1 and k, so all loops
    // below walk their arrays one step at a time and vectorise. Odd rows
    // carry a zero in front and zeros past the end, which stand for the
    // samples left out at the edges of the source rectangle; missing rows
    // are zero rows. Sums stay below 9 x 31 + 31 + 8 x 31 = 558: 16 bits.
    constexpr uint16_t kMax = 31;
    const size_t width = static_cast<size_t>(x2 - x1);
    const size_t half = (width + 1) / 2;
    struct Plane {
        std::vector<uint16_t> even, odd;  // odd[k + 1] is column 2k + 1
        explicit Plane(size_t half) : even(half, 0), odd(half + 1, 0) {}
    };
    struct Planes {
        Plane r, g, b, c;
        explicit Planes(size_t half) : r(half), g(half), b(half), c(half) {}
    };
    Planes rows[3] = {Planes(half), Planes(half), Planes(half)};
    const Planes zero(half);
    Planes cols(half);
    auto splitHalf = [&](const uint16_t* in, size_t n, uint16_t* r, uint16_t* g, uint16_t* b, uint16_t* c) {
        for (size_t k = 0; k < n; ++k) {
            const uint16_t p = in[2 * k];
            r[k] = static_cast<uint16_t>((p >> shiftR) & kMax);
            g[k] = static_cast<uint16_t>((p >> shiftG) & kMax);
            b[k] = static_cast<uint16_t>((p >> shiftB) & kMax);
            c[k] = static_cast<uint16_t>(p != 0);
        }
    };
    auto split = [&](int64_t y, Planes& out) {
        const uint16_t* in = s.row(y) + x1;
        splitHalf(in, half, out.r.even.data(), out.g.even.data(), out.b.even.data(), out.c.even.data());
        splitHalf(in + 1, width / 2, out.r.odd.data() + 1, out.g.odd.data() + 1, out.b.odd.data() + 1,
                  out.c.odd.data() + 1);
    };
    auto add3 = [](Plane& out, const Plane& a, const Plane& m, const Plane& z) {
        for (size_t k = 0; k < out.even.size(); ++k)
            out.even[k] = static_cast<uint16_t>(a.even[k] + m.even[k] + z.even[k]);
        for (size_t k = 0; k < out.odd.size(); ++k) out.odd[k] = static_cast<uint16_t>(a.odd[k] + m.odd[k] + z.odd[k]);
    };
    int next = 0;            // the row slot the next split goes to
    int64_t lastSplit = -1;  // source row in slot (next + 2) % 3, or -1
    for (int64_t oy = 0; oy < ey; ++oy) {
        const int64_t sy = y1 + 2 * oy;
        const Planes* above = &zero;
        if (sy - 1 >= y1) {
            if (lastSplit != sy - 1) {
                split(sy - 1, rows[next]);
                next = (next + 1) % 3;
            }
            above = &rows[(next + 2) % 3];
        }
        Planes& middle = rows[next];
        split(sy, middle);
        next = (next + 1) % 3;
        const Planes* below = &zero;
        lastSplit = -1;
        if (sy + 1 < y2) {
            split(sy + 1, rows[next]);
            below = &rows[next];
            next = (next + 1) % 3;
            lastSplit = sy + 1;
        }
        add3(cols.r, above->r, middle.r, below->r);
        add3(cols.g, above->g, middle.g, below->g);
        add3(cols.b, above->b, middle.b, below->b);
        add3(cols.c, above->c, middle.c, below->c);

        uint16_t* out = d.row(py + oy) + px;
        const uint16_t* back = b.row(py + oy) + px;
        const uint16_t *re = cols.r.even.data(), *ge = cols.g.even.data(), *be = cols.b.even.data(),
                       *ce = cols.c.even.data();
        const uint16_t *ro = cols.r.odd.data(), *go = cols.g.odd.data(), *bo = cols.b.odd.data(),
                       *co = cols.c.odd.data();
        // Branch-free in 16-bit arithmetic: pixels with no text nearby keep
        // what slot 2 holds (transparent black).
        for (int64_t ox = 0; ox < ex; ++ox) {
            const uint16_t count = static_cast<uint16_t>(co[ox] + ce[ox] + co[ox + 1]);
            const uint16_t q = back[ox];
            const uint16_t n = static_cast<uint16_t>(count < 8 ? 8 - count : 0);
            const uint16_t r = static_cast<uint16_t>(
                (ro[ox] + re[ox] + ro[ox + 1] + kMax + static_cast<uint16_t>(((q >> shiftR) & kMax) * n)) >> 3);
            const uint16_t g = static_cast<uint16_t>(
                (go[ox] + ge[ox] + go[ox + 1] + kMax + static_cast<uint16_t>(((q >> shiftG) & kMax) * n)) >> 3);
            const uint16_t bl = static_cast<uint16_t>(
                (bo[ox] + be[ox] + bo[ox + 1] + kMax + static_cast<uint16_t>(((q >> shiftB) & kMax) * n)) >> 3);
            const uint16_t pixel = static_cast<uint16_t>((std::min(r, kMax) << shiftR) | (std::min(g, kMax) << shiftG) |
                                                         (std::min(bl, kMax) << shiftB));
            out[ox] = count != 0 ? pixel : out[ox];
        }
    }
}

template <unsigned R, unsigned G, unsigned B>
struct FixedShifts {
    static constexpr unsigned r() { return R; }
    static constexpr unsigned g() { return G; }
    static constexpr unsigned b() { return B; }
};

struct RuntimeShifts {
    unsigned sr, sg, sb;
    unsigned r() const { return sr; }
    unsigned g() const { return sg; }
    unsigned b() const { return sb; }
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

    const unsigned r = kaDraw::ShiftR2, g = kaDraw::ShiftG2, bl = kaDraw::ShiftB2;
    if (r == 11 && g == 6 && bl == 0) {
        Reduce(FixedShifts<11, 6, 0>(), s, d, b, px, py, x1, y1, x2, y2, ex, ey);
    } else if (r == 10 && g == 5 && bl == 0) {
        Reduce(FixedShifts<10, 5, 0>(), s, d, b, px, py, x1, y1, x2, y2, ex, ey);
    } else {
        Reduce(RuntimeShifts{r, g, bl}, s, d, b, px, py, x1, y1, x2, y2, ex, ey);
    }
    return 1;
}
