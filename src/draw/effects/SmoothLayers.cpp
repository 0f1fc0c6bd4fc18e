// The smoothing layers: the box blur of the sprite (a Shade x Shade window
// kept inside the drawn rectangle) and the edge smoothing that averages
// sprite pixels with the back surface under their transparent neighbours.
#include <algorithm>
#include <cstring>
#include <vector>

#include "draw/effects/AlignedRow.h"
#include "draw/effects/EdgeLoans.h"
#include "draw/effects/EffectPixels.h"
#include "draw/effects/LayerFrame.h"

namespace {

using kafx::LayerArea;
using kafx::LayerPixels;

// ---- Box blur ---------------------------------------------------------------------
// The window's corner is at min(x, ex - n), min(y, ey - n), and every pixel
// costs the same whatever n is; all of it runs in whole-row loops that
// vectorise. Small windows (n up to 4, fixed at compile time): every source
// row is summed across n columns once, when it enters the window, and each
// output row adds up its n row sums. Larger ones: per channel the column
// sums over the window's rows slide down the rectangle (one row in, one row
// out), and each output row takes differences of running sums along the row
// (wrapping running sums still give exact differences, since every window
// sum fits the sum type).

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

// ---- Small windows ----

// The row sums of the last n source rows (slot = row % n), and one source
// row copied with n zero pixels after it, so that a whole row of sums reads
// inside the copy.
struct RowSums {
    kafx::AlignedRow<uint16_t> sum[4][3];
    kafx::AlignedRow<uint16_t> copy;
    void Reset(int ex, int n) {
        for (int k = 0; k < n; ++k)
            for (kafx::AlignedRow<uint16_t>& v : sum[k]) v.Reset(static_cast<size_t>(ex));
        copy.Reset(static_cast<size_t>(ex) + n, 0, true);
    }
};

template <int N, typename F, typename Div>
[[gnu::always_inline]] inline void SmallBoxWalk(const LayerArea& a, const LayerPixels& p, const F& fmt, Div div,
                                                RowSums& rows) {
    const int ex = a.ex, windows = ex - N + 1;
    auto srcRow = [&](int y) { return p.src + static_cast<ptrdiff_t>(y) * p.srcPitch; };
    // Source row y's sums across N columns into slot y % N; past the last
    // window position the window stays at the right edge.
    auto enter = [&](int y) {
        uint16_t* __restrict c = rows.copy.data();
        const uint16_t* __restrict s = srcRow(y);
        std::memcpy(c, s, static_cast<size_t>(ex) * sizeof *s);
        kafx::AlignedRow<uint16_t>* slot = rows.sum[y % N];
        uint16_t* __restrict r = slot[0].data();
        uint16_t* __restrict g = slot[1].data();
        uint16_t* __restrict b = slot[2].data();
        auto sums = [&](int x, uint16_t& sr, uint16_t& sg, uint16_t& sb) {
            sr = sg = sb = 0;
            for (int k = 0; k < N; ++k) {
                const kafx::Five v = kafx::Split5(fmt, c[x + k]);
                sr = static_cast<uint16_t>(sr + v.r), sg = static_cast<uint16_t>(sg + v.g), sb = static_cast<uint16_t>(sb + v.b);
            }
        };
        for (int x = 0; x < ex; ++x) {
            uint16_t sr, sg, sb;  // summed in registers, stored once
            sums(x, sr, sg, sb);
            r[x] = sr, g[x] = sg, b[x] = sb;
        }
        uint16_t lr, lg, lb;
        sums(windows - 1, lr, lg, lb);
        for (int x = windows; x < ex; ++x) r[x] = lr, g[x] = lg, b[x] = lb;
    };
    for (int y = 0; y < N; ++y) enter(y);
    int top = 0;
    uint16_t* dst = p.dst;
    for (int y = 0; y < a.ey; ++y, dst += p.dstPitch) {
        const int wantTop = std::min(y, a.ey - N);
        if (wantTop != top) {  // one row down: row top + N replaces row top
            enter(top + N);
            top = wantTop;
        }
        const uint16_t* r[N];
        const uint16_t* g[N];
        const uint16_t* b[N];
        for (int k = 0; k < N; ++k) r[k] = rows.sum[k][0].data(), g[k] = rows.sum[k][1].data(), b[k] = rows.sum[k][2].data();
        const uint16_t* __restrict s = srcRow(y);
        uint16_t* __restrict d = dst;
#pragma GCC ivdep
        for (int x = 0; x < ex; ++x) {
            uint16_t wr = 0, wg = 0, wb = 0;
            for (int k = 0; k < N; ++k)
                wr = static_cast<uint16_t>(wr + r[k][x]), wg = static_cast<uint16_t>(wg + g[k][x]),
                wb = static_cast<uint16_t>(wb + b[k][x]);
            const uint16_t v = kafx::Pack5(fmt, div(wr), div(wg), div(wb));
            d[x] = s[x] != 0 ? v : d[x];
        }
    }
}

// A 2 x 2 window: its sums (at most 4 x 31) fit a byte, so red and blue
// share one 16-bit word (red in the low byte) and green takes another. Each
// window row's column sums go to one plane, with one more entry past the
// last column (equal to the one two columns before it, so that the last
// pixel adds up the same pair as the one before it); each output pixel adds
// two neighbouring entries. Both loops run over whole rows and read nothing
// past them. The last two rows share one window row.
struct PairSums {
    kafx::AlignedRow<uint16_t> rb, g;
    void Reset(int ex) { rb.Reset(static_cast<size_t>(ex) + 1), g.Reset(static_cast<size_t>(ex) + 1); }
};

template <typename F>
[[gnu::always_inline]] inline void PairBoxWalk(const LayerArea& a, const LayerPixels& p, const F& fmt, PairSums& sums) {
    const int ex = a.ex, ey = a.ey;
    auto srcRow = [&](int y) { return p.src + static_cast<ptrdiff_t>(y) * p.srcPitch; };
    uint16_t* const vrb = sums.rb.data();
    uint16_t* const vg = sums.g.data();
    uint16_t* dst = p.dst;
    for (int y = 0; y < ey; ++y, dst += p.dstPitch) {
        if (y + 1 < ey) {  // the window rows y and y + 1
            const uint16_t* __restrict s0 = srcRow(y);
            const uint16_t* __restrict s1 = srcRow(y + 1);
            uint16_t* __restrict rb = vrb;
            uint16_t* __restrict g = vg;
            for (int x = 0; x < ex; ++x) {
                const kafx::Five u = kafx::Split5(fmt, s0[x]), v = kafx::Split5(fmt, s1[x]);
                rb[x] = static_cast<uint16_t>((u.r + v.r) | ((u.b + v.b) << 8)), g[x] = static_cast<uint16_t>(u.g + v.g);
            }
            rb[ex] = rb[ex - 2], g[ex] = g[ex - 2];
        }
        const uint16_t* __restrict rb = vrb;
        const uint16_t* __restrict g = vg;
        const uint16_t* __restrict s = srcRow(y);
        uint16_t* __restrict d = dst;
        for (int x = 0; x < ex; ++x) {
            const uint16_t q = static_cast<uint16_t>(static_cast<uint16_t>(rb[x] + rb[x + 1]) >> 2) & 0x1F1F;
            const uint16_t v = kafx::Pack5(fmt, static_cast<uint16_t>(q & 0xFF),
                                           static_cast<uint16_t>(static_cast<uint16_t>(g[x] + g[x + 1]) >> 2),
                                           static_cast<uint16_t>(q >> 8));
            d[x] = s[x] != 0 ? v : d[x];
        }
    }
}

// ---- Any window ----

// Per-channel planes of one row: the column sums and the running sums (one
// longer than the row, and n entries more so that a whole row of windows can
// be taken in one loop).
template <typename Sum>
struct BoxPlanes {
    kafx::AlignedRow<Sum> col[3], run[3];
    void Reset(int ex, int n) {
        for (int c = 0; c < 3; ++c) {
            col[c].Reset(static_cast<size_t>(ex), 0, true);
            run[c].Reset(static_cast<size_t>(ex) + n + 1, 0, true);
        }
    }
};

template <typename Sum, typename F, typename Div>
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
        Sum sr = 0, sg = 0, sb = 0;
        for (int x = 0; x < ex; ++x) {
            sr = static_cast<Sum>(sr + cr[x]), sg = static_cast<Sum>(sg + cg[x]), sb = static_cast<Sum>(sb + cb[x]);
            rr[x + 1] = sr, rg[x + 1] = sg, rb[x + 1] = sb;
        }
        auto pixel = [&](int x) {
            return kafx::Pack5(fmt, static_cast<uint16_t>(div(static_cast<Sum>(rr[x + n] - rr[x]))),
                               static_cast<uint16_t>(div(static_cast<Sum>(rg[x + n] - rg[x]))),
                               static_cast<uint16_t>(div(static_cast<Sum>(rb[x + n] - rb[x]))));
        };
        const uint16_t* __restrict s = srcRow(y);
        uint16_t* __restrict d = dst;
        // The whole row (a loop without a scalar remainder at common widths);
        // past the last window position the window stays at the right edge,
        // so those pixels are drawn again below.
        for (int x = 0; x < ex; ++x) {
            const uint16_t v = pixel(x);
            d[x] = s[x] != 0 ? v : d[x];
        }
        const uint16_t last = pixel(windows - 1);
        for (int x = windows; x < ex; ++x)
            if (s[x] != 0) d[x] = last;
    }
}

// Sums of up to 45 x 45 five-bit components fit 16 bits.
KA_FX_KERNEL void BoxRows16(const LayerArea& a, const LayerPixels& p, int n, kafx::Format f, Magic16 magic) {
    static RowSums rows;
    static PairSums pairs;
    static BoxPlanes<uint16_t> planes;
    if (n == 2)
        pairs.Reset(a.ex);
    else if (n <= 4)
        rows.Reset(a.ex, n);
    else
        planes.Reset(a.ex, n);
    kafx::ForFormat(f, [&](auto fmt) __attribute__((always_inline)) {
        switch (n) {
            case 1: SmallBoxWalk<1>(a, p, fmt, ByShift<1>{}, rows); break;
            case 2: PairBoxWalk(a, p, fmt, pairs); break;
            case 3: SmallBoxWalk<3>(a, p, fmt, magic, rows); break;
            case 4: SmallBoxWalk<4>(a, p, fmt, ByShift<4>{}, rows); break;
            default: BoxWalk(a, p, n, fmt, magic, planes); break;
        }
    });
}
template <typename Sum>
void BoxRowsWide(const LayerArea& a, const LayerPixels& p, int n) {
    static BoxPlanes<Sum> planes;
    planes.Reset(a.ex, n);
    BoxWalk(a, p, n, kafx::CurrentFormat(), ByDouble{static_cast<double>(n) * n}, planes);
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

// ---- Edge smoothing -----------------------------------------------------------------
// The portable row kernel; EdgeLoans.h has the loans it adds up.

using kafx::EdgeLoans;

// One pixel's loan: the back pixel d split, if the source pixel s is 0.
template <typename F>
[[gnu::always_inline]] inline void Loan(const F& fmt, uint16_t s, uint16_t d, uint16_t& rb, uint16_t& gn) {
    const kafx::Five v = kafx::Split5(fmt, d);
    const uint16_t keep = s == 0 ? 0xFFFF : 0;
    rb = static_cast<uint16_t>((v.b | (v.r << 8)) & keep);
    gn = static_cast<uint16_t>(((v.g << 8) | 1) & keep);
}

inline uint16_t ShareOf(uint16_t v, uint16_t m) { return static_cast<uint16_t>(static_cast<uint16_t>(v * m) >> 10); }

// One row, from its own loans and those of the row above, and the row
// below's loans, lent in the same loop (from its source row s1 and back row
// d1) into `down`; without a row below (s1 null) nothing is lent from there.
template <typename F>
[[gnu::always_inline]] inline void EdgeRow(const F& fmt, int ex, const uint16_t* __restrict s, uint16_t* __restrict d,
                                           const uint16_t* __restrict s1, const uint16_t* __restrict d1,
                                           const EdgeLoans& up, const EdgeLoans& row, EdgeLoans& down) {
    const uint16_t *__restrict urb = up.at(0, 1), *__restrict ugn = up.at(1, 1);
    const uint16_t *__restrict lrb = row.at(0, 0), *__restrict lgn = row.at(1, 0);  // entry x is column x - 1
    uint16_t *__restrict drb = down.lent(0), *__restrict dgn = down.lent(1);
    auto pixel = [&](int x, uint16_t brb, uint16_t bgn) {
        const kafx::Five v = kafx::Split5(fmt, s[x]);
        const uint16_t rb = static_cast<uint16_t>(lrb[x] + lrb[x + 2] + urb[x] + brb);
        const uint16_t gn = static_cast<uint16_t>(lgn[x] + lgn[x + 2] + ugn[x] + bgn);
        const uint16_t r = static_cast<uint16_t>(v.r + (rb >> 8)), b = static_cast<uint16_t>(v.b + (rb & 0xFF));
        const uint16_t g = static_cast<uint16_t>(v.g + (gn >> 8)), k = static_cast<uint16_t>(gn & 0xFF);
        const uint16_t m = kafx::ShareMultiplier(k);
        const uint16_t mixed = kafx::Pack5(fmt, ShareOf(r, m), ShareOf(g, m), ShareOf(b, m));
        const uint16_t out = k == 0 ? s[x] : mixed;
        d[x] = s[x] != 0 ? out : d[x];
    };
    // Only d and the row below's loans are written, and they are none of the
    // rows read: too many pointers for the compiler's run-time alias checks.
    if (s1) {
#pragma GCC ivdep
        for (int x = 0; x < ex; ++x) {
            uint16_t brb, bgn;
            Loan(fmt, s1[x], d1[x], brb, bgn);
            drb[x] = brb, dgn[x] = bgn;
            pixel(x, brb, bgn);
        }
    } else {
#pragma GCC ivdep
        for (int x = 0; x < ex; ++x) pixel(x, 0, 0);
    }
}

KA_FX_KERNEL void EdgeRowsPortable(const LayerArea& a, const LayerPixels& p, kafx::Format f) {
    kafx::ForFormat(f, [&](auto fmt) __attribute__((always_inline)) {
        auto lend = [&](const uint16_t* __restrict s, const uint16_t* __restrict d,
                        EdgeLoans& l) __attribute__((always_inline)) {
            uint16_t* __restrict rb = l.lent(0);
            uint16_t* __restrict gn = l.lent(1);
            for (int x = 0; x < a.ex; ++x) Loan(fmt, s[x], d[x], rb[x], gn[x]);
        };
        auto row = [&](const uint16_t* s, uint16_t* d, const uint16_t* s1, const uint16_t* d1, const EdgeLoans& up,
                       const EdgeLoans& here, EdgeLoans& down) __attribute__((always_inline)) {
            EdgeRow(fmt, a.ex, s, d, s1, d1, up, here, down);
        };
        kafx::WalkEdgeRows(a, p, 0, lend, row);
    });
}

void EdgeRows(const LayerArea& a, const LayerPixels& p, const kafx::Format& f) {
    if (!kafx::EdgeRowsAvx512(a, p, f)) EdgeRowsPortable(a, p, f);
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
    return kafx::RunLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, kafx::DrawnRect,
                          [](const LayerArea& a, const LayerPixels& p) { EdgeRows(a, p, kafx::CurrentFormat()); });
}
