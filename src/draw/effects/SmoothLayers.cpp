// The smoothing layers: the box blur of the sprite (a Shade x Shade window
// kept inside the drawn rectangle) and the edge smoothing that averages
// sprite pixels with the back surface under their transparent neighbours.
#include <algorithm>
#include <vector>

#include "draw/effects/EffectPixels.h"
#include "draw/effects/LayerFrame.h"

namespace {

using kafx::LayerArea;
using kafx::LayerPixels;

struct Sums {
    uint32_t r = 0, g = 0, b = 0;
    void Add(uint16_t p) {
        const _getrgb& e = GetRGB[p];
        r += e.r, g += e.g, b += e.b;
    }
    void Remove(uint16_t p) {
        const _getrgb& e = GetRGB[p];
        r -= e.r, g -= e.g, b -= e.b;
    }
    void Add(const Sums& o) { r += o.r, g += o.g, b += o.b; }
    void Remove(const Sums& o) { r -= o.r, g -= o.g, b -= o.b; }
};

// ---- Box blur ---------------------------------------------------------------------
// The window's corner is at min(x, ex - n), min(y, ey - n). Per channel, the
// column sums over the window's rows slide down the rectangle (one row in,
// one row out); each output row then sums n neighbouring column sums, either
// directly (small n, fixed at compile time) or as differences of running
// sums along the row (wrapping running sums still give exact differences,
// since every window sum fits the sum type). Every pixel costs the same
// whatever n is, and all of it runs in whole-row loops that vectorise.

// floor(v / d) for 0 <= v <= vmax by a multiply-high and a shift: with
// m = ceil(2^k / d) and e = m * d - 2^k, (v * m) >> k is exact whenever
// vmax * e < 2^k. Found is false when no 16-bit m works.
struct Magic16 {
    bool found = false;
    uint16_t m = 0, shift = 0;
    uint16_t operator()(uint16_t v) const {
        return static_cast<uint16_t>(static_cast<uint16_t>((static_cast<uint32_t>(v) * m) >> 16) >> shift);
    }
};
Magic16 MagicFor(uint32_t d, uint32_t vmax) {
    Magic16 q;
    for (int s = 15; s >= 0; --s) {
        const uint64_t k = uint64_t{1} << (16 + s);
        const uint64_t m = (k + d - 1) / d;
        if (m > 0xFFFF) continue;
        if (uint64_t{vmax} * (m * d - k) < k) {
            q.found = true, q.m = static_cast<uint16_t>(m), q.shift = static_cast<uint16_t>(s);
            return q;
        }
    }
    return q;
}
// A window of N x N pixels, N a power of two: a shift.
template <int N>
struct ByShift {
    static constexpr int kShift = N == 1 ? 0 : N == 2 ? 2 : N == 4 ? 4 : N == 8 ? 6 : -1;
    static_assert(kShift >= 0, "a power of two up to 8");
    uint16_t operator()(uint16_t v) const { return static_cast<uint16_t>(v >> kShift); }
};
// Wider sums: double division, exact for sums below 2^53.
struct ByDouble {
    double area;
    template <typename Sum>
    Sum operator()(Sum v) const {
        return static_cast<Sum>(static_cast<double>(v) / area);
    }
};

// Per-channel planes of one row: the column sums and, for the running-sum
// path, the running sums (one longer than the row).
template <typename Sum>
struct BoxPlanes {
    std::vector<Sum> col[3], run[3];
    void Reset(int ex) {
        for (int c = 0; c < 3; ++c) {
            col[c].assign(static_cast<size_t>(ex), 0);
            run[c].resize(static_cast<size_t>(ex) + 1);
        }
    }
};

// N > 0: windows of exactly N columns summed directly; N == 0: running sums
// (any n).
template <int N, typename Sum, typename F, typename Div>
[[gnu::always_inline]] inline void BoxWalk(const LayerArea& a, const LayerPixels& p, int n, const F& fmt, Div div,
                                           BoxPlanes<Sum>& planes) {
    const int ex = a.ex;
    Sum* __restrict cr = planes.col[0].data();
    Sum* __restrict cg = planes.col[1].data();
    Sum* __restrict cb = planes.col[2].data();
    Sum* __restrict rr = planes.run[0].data();
    Sum* __restrict rg = planes.run[1].data();
    Sum* __restrict rb = planes.run[2].data();
    auto srcRow = [&](int y) { return p.src + static_cast<ptrdiff_t>(y) * p.srcPitch; };
    for (int y = 0; y < n; ++y) {
        const uint16_t* __restrict s = srcRow(y);
        for (int x = 0; x < ex; ++x) {
            const kafx::Five v = kafx::Split5(fmt, s[x]);
            cr[x] = static_cast<Sum>(cr[x] + v.r), cg[x] = static_cast<Sum>(cg[x] + v.g), cb[x] = static_cast<Sum>(cb[x] + v.b);
        }
    }
    const int windows = ex - n + 1;  // window positions along a row
    int top = 0;
    uint16_t* dst = p.dst;
    for (int y = 0; y < a.ey; ++y, dst += p.dstPitch) {
        const int wantTop = std::min(y, a.ey - n);
        if (wantTop != top) {  // one row down
            const uint16_t* __restrict out = srcRow(top);
            const uint16_t* __restrict in = srcRow(top + n);
            for (int x = 0; x < ex; ++x) {
                const kafx::Five o = kafx::Split5(fmt, out[x]), i = kafx::Split5(fmt, in[x]);
                cr[x] = static_cast<Sum>(cr[x] + i.r - o.r);
                cg[x] = static_cast<Sum>(cg[x] + i.g - o.g);
                cb[x] = static_cast<Sum>(cb[x] + i.b - o.b);
            }
            top = wantTop;
        }
        if (N == 0) {
            Sum sr = 0, sg = 0, sb = 0;
            rr[0] = rg[0] = rb[0] = 0;
            for (int x = 0; x < ex; ++x) {
                sr = static_cast<Sum>(sr + cr[x]), sg = static_cast<Sum>(sg + cg[x]), sb = static_cast<Sum>(sb + cb[x]);
                rr[x + 1] = sr, rg[x + 1] = sg, rb[x + 1] = sb;
            }
        }
        auto window = [&](int x, Sum* w) {
            if (N == 0) {
                w[0] = static_cast<Sum>(rr[x + n] - rr[x]);
                w[1] = static_cast<Sum>(rg[x + n] - rg[x]);
                w[2] = static_cast<Sum>(rb[x + n] - rb[x]);
            } else {
                w[0] = w[1] = w[2] = 0;
                for (int k = 0; k < N; ++k)
                    w[0] = static_cast<Sum>(w[0] + cr[x + k]), w[1] = static_cast<Sum>(w[1] + cg[x + k]),
                    w[2] = static_cast<Sum>(w[2] + cb[x + k]);
            }
        };
        auto pixel = [&](const Sum* w) {
            return kafx::Pack5(fmt, static_cast<uint16_t>(div(w[0])), static_cast<uint16_t>(div(w[1])),
                               static_cast<uint16_t>(div(w[2])));
        };
        const uint16_t* __restrict s = srcRow(y);
        uint16_t* __restrict d = dst;
        for (int x = 0; x < windows; ++x) {
            Sum w[3];
            window(x, w);
            const uint16_t v = pixel(w);
            d[x] = s[x] != 0 ? v : d[x];
        }
        // Past the last window position the window stays at the right edge.
        Sum w[3];
        window(windows - 1, w);
        const uint16_t last = pixel(w);
        for (int x = windows; x < ex; ++x)
            if (s[x] != 0) d[x] = last;
    }
}

// Sums of up to 45 x 45 five-bit components fit 16 bits.
KA_FX_KERNEL void BoxRows16(const LayerArea& a, const LayerPixels& p, int n, kafx::Format f, Magic16 magic) {
    static BoxPlanes<uint16_t> planes;
    planes.Reset(a.ex);
    kafx::ForFormat(f, [&](auto fmt) __attribute__((always_inline)) {
        switch (n) {
            case 1: BoxWalk<1>(a, p, n, fmt, ByShift<1>{}, planes); break;
            case 2: BoxWalk<2>(a, p, n, fmt, ByShift<2>{}, planes); break;
            case 3: BoxWalk<3>(a, p, n, fmt, magic, planes); break;
            case 4: BoxWalk<4>(a, p, n, fmt, ByShift<4>{}, planes); break;
            default: BoxWalk<0>(a, p, n, fmt, magic, planes); break;
        }
    });
}
template <typename Sum>
void BoxRowsWide(const LayerArea& a, const LayerPixels& p, int n) {
    static BoxPlanes<Sum> planes;
    planes.Reset(a.ex);
    BoxWalk<0>(a, p, n, kafx::CurrentFormat(), ByDouble{static_cast<double>(n) * n}, planes);
}

void BoxBlur(const LayerArea& a, const LayerPixels& p, int n) {
    const uint64_t vmax = uint64_t{31} * static_cast<uint64_t>(n) * static_cast<uint64_t>(n);
    if (vmax <= 0xFFFF) {
        const Magic16 magic = MagicFor(static_cast<uint32_t>(n) * static_cast<uint32_t>(n), static_cast<uint32_t>(vmax));
        if (magic.found || n == 1) return BoxRows16(a, p, n, kafx::CurrentFormat(), magic);
    }
    if (vmax <= 0xFFFFFFFFu) return BoxRowsWide<uint32_t>(a, p, n);
    BoxRowsWide<uint64_t>(a, p, n);
}

}  // namespace

int kaDraw::ShadeLayer(int Px, int Py, int Shade, int ObjDD, int X1, int Y1, int X2, int Y2) {
    return kafx::RunLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, kafx::DrawnRect, [=](const LayerArea& a, const LayerPixels& p) {
        // A window below one pixel has no area, and one larger than the drawn
        // rectangle would read outside it.
        const int n = std::min({std::max(Shade, 1), a.ex, a.ey});
        BoxBlur(a, p, n);
    });
}

int kaDraw::EdgeBlendLayer(int Px, int Py, int ObjDD, int X1, int Y1, int X2, int Y2) {
    return kafx::RunLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, kafx::DrawnRect, [](const LayerArea& a, const LayerPixels& p) {
        const ptrdiff_t sp = p.srcPitch, dp = p.dstPitch;
        kafx::EachOpaquePixel(a, p, [&](uint16_t s, uint16_t, int x, int y) {
            const uint16_t* sv = p.src + y * sp + x;
            const uint16_t* dv = p.dst + y * dp + x;
            Sums sum;
            sum.Add(s);
            uint32_t count = 1;
            auto neighbour = [&](bool inside, ptrdiff_t so, ptrdiff_t doff) {
                if (inside && sv[so] == 0) {
                    sum.Add(dv[doff]);
                    ++count;
                }
            };
            neighbour(x > 0, -1, -1);
            neighbour(x < a.ex - 1, 1, 1);
            neighbour(y > 0, -sp, -dp);
            neighbour(y < a.ey - 1, sp, dp);
            if (count == 1) return s;
            return kafx::Pack5(static_cast<int>(sum.r / count), static_cast<int>(sum.g / count),
                               static_cast<int>(sum.b / count));
        });
    });
}
