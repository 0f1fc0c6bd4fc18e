// DrawAA2: a double-size piece of the Font buffer sprite reduced into the
// Font sprite, each pixel the mean of its 3 x 3 samples filled up with the
// back surface's pixel. Surfaces are 16-bit on this platform, so only the
// 16-bit channel rule exists. Each source row is summed once around its even
// columns, and each destination row is mixed from three such rows, sixteen
// pixels at a time.
#include <algorithm>
#include <cstring>
#include <vector>

#include "draw/DrawInternal.h"
#include "draw/kaDraw.h"
#include "text/TextInternal.h"

// The reduction is built twice, for AVX2 and the baseline, and the loader
// picks one for the machine.
#if defined(__x86_64__) && defined(__GNUC__) && defined(__ELF__) && !defined(__clang__)
#define KA_TEXT_KERNEL __attribute__((target_clones("avx2", "default")))
#else
#define KA_TEXT_KERNEL
#endif

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

// The clipped work: ex x ey destination pixels at (px, py) of slot 2 and the
// back surface, from the source rectangle starting at (x1, y1) of slot 3.
struct Area {
    const Locked *src, *dst, *back;
    int64_t px, py, x1, y1, ex, ey;
};

// ---- Channel sums -------------------------------------------------------------
// Every value below is a 5-bit channel (the top five bits of each channel),
// or 1 for a sample that is not black; a 3 x 3 sum with the channel maximum
// and eight background values stays below 9 x 31 + 31 + 8 x 31 = 558, so
// everything fits in 16 bits.

constexpr uint16_t kMax = 31;

// Sixteen pixels, one 256-bit register (two 128-bit ones on the baseline),
// for the mixing step, which the compiler does not vectorise well from a
// plain loop. Every helper taking or giving whole vectors is inlined, so the
// calling convention of 256-bit values never comes into play (hence no
// -Wpsabi note about it).
#pragma GCC diagnostic ignored "-Wpsabi"
using Lanes = uint16_t __attribute__((vector_size(32)));
constexpr int64_t kLanes = 16;

[[gnu::always_inline]] inline Lanes Load(const uint16_t* p) {
    Lanes v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
[[gnu::always_inline]] inline void Store(uint16_t* p, const Lanes& v) { std::memcpy(p, &v, sizeof v); }

// One source row's sums around its centre columns, channel by channel.
struct Sums {
    uint16_t *r, *g, *b, *c;
};

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

template <typename Pixels>
[[gnu::always_inline]] inline Pixels Channel(const Pixels& p, unsigned shift) {
    return static_cast<Pixels>((p >> shift) & kMax);
}

// The sums of the samples in columns 2k - 1, 2k and 2k + 1 of one source
// row, for the n centres k = 0 .. n - 1. Column -1 lies outside the source
// rectangle and is left out; the right neighbour of the last centre is
// always inside it (n is at most half the rectangle's width). A plain loop:
// the compiler's own handling of the even/odd loads is as good as it gets on
// both builds.
template <typename Shifts>
[[gnu::always_inline]] inline void RowSums(const Shifts& shifts, const uint16_t* in, int64_t n, const Sums& out) {
    const unsigned sr = shifts.r(), sg = shifts.g(), sb = shifts.b();
    {
        const uint16_t e = in[0], o = in[1];
        out.r[0] = static_cast<uint16_t>(Channel(e, sr) + Channel(o, sr));
        out.g[0] = static_cast<uint16_t>(Channel(e, sg) + Channel(o, sg));
        out.b[0] = static_cast<uint16_t>(Channel(e, sb) + Channel(o, sb));
        out.c[0] = static_cast<uint16_t>((e != 0) + (o != 0));
    }
    uint16_t* __restrict r = out.r;
    uint16_t* __restrict g = out.g;
    uint16_t* __restrict b = out.b;
    uint16_t* __restrict c = out.c;
    for (int64_t k = 1; k < n; ++k) {
        const uint16_t e = in[2 * k], o = in[2 * k + 1], l = in[2 * k - 1];
        r[k] = static_cast<uint16_t>(Channel(e, sr) + Channel(o, sr) + Channel(l, sr));
        g[k] = static_cast<uint16_t>(Channel(e, sg) + Channel(o, sg) + Channel(l, sg));
        b[k] = static_cast<uint16_t>(Channel(e, sb) + Channel(o, sb) + Channel(l, sb));
        c[k] = static_cast<uint16_t>((e != 0) + (o != 0) + (l != 0));
    }
}

// One destination row from the sums of the rows above, at and below the
// centres: pixels with samples keep the mix, the others what slot 2 holds
// (transparent black).
template <typename Shifts>
[[gnu::always_inline]] inline void MixRow(const Shifts& shifts, const Sums& a, const Sums& m, const Sums& b,
                                          const uint16_t* back, uint16_t* out, int64_t n) {
    const unsigned sr = shifts.r(), sg = shifts.g(), sb = shifts.b();
    auto one = [&](int64_t k) __attribute__((always_inline)) {
        const unsigned count = a.c[k] + m.c[k] + b.c[k];
        if (count == 0) return;
        const uint16_t q = back[k];
        const unsigned fill = count < 8 ? 8 - count : 0;
        auto mix = [&](unsigned sum, unsigned shift) {
            return std::min((sum + kMax + Channel(q, shift) * fill) >> 3, unsigned{kMax}) << shift;
        };
        out[k] = static_cast<uint16_t>(mix(a.r[k] + m.r[k] + b.r[k], sr) | mix(a.g[k] + m.g[k] + b.g[k], sg) |
                                       mix(a.b[k] + m.b[k] + b.b[k], sb));
    };
    if (n < kLanes) {
        for (int64_t k = 0; k < n; ++k) one(k);
        return;
    }
    const Lanes eight = Lanes{} + 8, top = Lanes{} + kMax;
    // The last block is aligned to the row's end; repeating a pixel gives
    // the same result, as slot 2 and the back surface are different surfaces.
    for (int64_t k = 0;; k += kLanes) {
        k = std::min(k, n - kLanes);
        const Lanes count = Load(a.c + k) + Load(m.c + k) + Load(b.c + k);
        const Lanes q = Load(back + k);
        const Lanes fill = count < eight ? eight - count : Lanes{};
        auto mix = [&](const uint16_t* sa, const uint16_t* sm, const uint16_t* sbl, unsigned shift)
                       __attribute__((always_inline)) {
            const Lanes v = (Load(sa + k) + Load(sm + k) + Load(sbl + k) + kMax + Channel(q, shift) * fill) >> 3;
            return static_cast<Lanes>((v < top ? v : top) << shift);
        };
        const Lanes pixel = mix(a.r, m.r, b.r, sr) | mix(a.g, m.g, b.g, sg) | mix(a.b, m.b, b.b, sb);
        Store(out + k, count != 0 ? pixel : Load(out + k));
        if (k == n - kLanes) break;
    }
}

// Every source row is summed once: row 2k + 1 serves the destination rows k
// and k + 1. The row above the first centre row lies outside the source
// rectangle (a zero row); the row below the last one is always inside it.
template <typename Shifts>
[[gnu::always_inline]] inline void ReduceArea(const Shifts& shifts, const Area& area) {
    const int64_t n = area.ex;
    std::vector<uint16_t> store(static_cast<size_t>(16 * n), 0);
    auto sums = [&](int64_t i) {
        uint16_t* p = store.data() + 4 * i * n;
        return Sums{p, p + n, p + 2 * n, p + 3 * n};
    };
    Sums above = sums(3), middle = sums(0), below = sums(1), spare = sums(2);  // sums(3) stays zero
    for (int64_t oy = 0; oy < area.ey; ++oy) {
        const int64_t sy = area.y1 + 2 * oy;
        RowSums(shifts, area.src->row(sy) + area.x1, n, middle);
        RowSums(shifts, area.src->row(sy + 1) + area.x1, n, below);
        MixRow(shifts, above, middle, below, area.back->row(area.py + oy) + area.px,
               area.dst->row(area.py + oy) + area.px, n);
        // The row below becomes the next row above; middle is free again.
        const Sums freed = oy == 0 ? spare : above;
        above = below;
        below = freed;
    }
}

KA_TEXT_KERNEL void Reduce565(const Area& area) { ReduceArea(FixedShifts<11, 6, 0>(), area); }
KA_TEXT_KERNEL void Reduce555(const Area& area) { ReduceArea(FixedShifts<10, 5, 0>(), area); }
KA_TEXT_KERNEL void ReduceAnyFormat(const Area& area, unsigned r, unsigned g, unsigned b) {
    ReduceArea(RuntimeShifts{r, g, b}, area);
}

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

    const Area area{&s, &d, &b, px, py, x1, y1, ex, ey};
    const unsigned r = kaDraw::ShiftR2, g = kaDraw::ShiftG2, bl = kaDraw::ShiftB2;
    if (r == 11 && g == 6 && bl == 0) {
        Reduce565(area);
    } else if (r == 10 && g == 5 && bl == 0) {
        Reduce555(area);
    } else {
        ReduceAnyFormat(area, r, g, bl);
    }
    return 1;
}
