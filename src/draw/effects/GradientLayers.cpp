// The gradient mixes: a cross-fade whose source strength rises by one step
// every Size pixels past the Start column (or row) until the sprite is drawn
// opaque; in int levels through the blend table's rule, or in float weights
// on native components.
#include <vector>

#include "draw/effects/AlignedRow.h"
#include "draw/effects/BlendRules.h"
#include "draw/effects/LayerFrame.h"

namespace {

using kafx::FixedWeight;
using kafx::LayerArea;
using kafx::LayerPixels;

// The step counter of the walk: past Start (low 16 bits, unsigned) every
// pixel (or row) counts one, and every Size counts make one step.
class Steps {
public:
    Steps(int start, int size) : start_(static_cast<unsigned>(start) & 0xFFFF), size_(size) {}
    void Reset() { count_ = 0; }
    bool At(int i) {
        if (static_cast<unsigned>(i) <= start_) return false;
        if (++count_ < size_) return false;
        count_ = 0;
        return true;
    }

private:
    unsigned start_;
    int size_;
    int count_ = 0;
};

// ---- Row kernels (built for AVX2 and the baseline) ------------------------------

KA_FX_KERNEL void FixedColumnRow(kafx::Format f, uint16_t* __restrict d, const uint16_t* __restrict s, int n,
                                 const kafx::AlignedRow<uint32_t>* a, const kafx::AlignedRow<uint32_t>* b) {
    const uint32_t *ar = a[0].data(), *ag = a[1].data(), *ab = a[2].data();
    const uint32_t *br = b[0].data(), *bg = b[1].data(), *bb = b[2].data();
    constexpr unsigned k = kafx::kFixedShift;
    kafx::ForFormat(f, [&](auto fmt) __attribute__((always_inline)) {
        for (int x = 0; x < n; ++x) {
            const uint32_t sv = s[x], dv = d[x];
            const uint32_t sr = (sv >> fmt.shiftR) & fmt.bitR, sg = (sv >> fmt.shiftG) & fmt.bitG, sb = (sv >> fmt.shiftB) & fmt.bitB;
            const uint32_t dr = (dv >> fmt.shiftR) & fmt.bitR, dg = (dv >> fmt.shiftG) & fmt.bitG, db = (dv >> fmt.shiftB) & fmt.bitB;
            const uint32_t r = (((sr * ar[x] + dr * br[x]) >> k) << fmt.shiftR) |
                               (((sg * ag[x] + dg * bg[x]) >> k) << fmt.shiftG) | (((sb * ab[x] + db * bb[x]) >> k) << fmt.shiftB);
            d[x] = sv != 0 ? static_cast<uint16_t>(r) : static_cast<uint16_t>(dv);
        }
    });
}

KA_FX_KERNEL void Fixed16ColumnRow(kafx::Format f, uint16_t* __restrict d, const uint16_t* __restrict s, int n,
                                   const kafx::AlignedRow<uint16_t>* a, const kafx::AlignedRow<uint16_t>* b) {
    const uint16_t *ar = a[0].data(), *ag = a[1].data(), *ab = a[2].data();
    const uint16_t *br = b[0].data(), *bg = b[1].data(), *bb = b[2].data();
    kafx::ForFormat(f, [&](auto fmt) __attribute__((always_inline)) {
        for (int x = 0; x < n; ++x) {
            const uint16_t A[3] = {ar[x], ag[x], ab[x]}, B[3] = {br[x], bg[x], bb[x]};
            const uint16_t r = kafx::MixByFixed16(fmt, s[x], d[x], A, B);
            d[x] = s[x] != 0 ? r : d[x];
        }
    });
}

KA_FX_KERNEL void LevelColumnRow(kafx::Format f, uint16_t* __restrict d, const uint16_t* __restrict s, int n,
                                 const uint16_t* lr, const uint16_t* lg, const uint16_t* lb) {
    kafx::ForFormat(f, [&](auto fmt) __attribute__((always_inline)) {
        for (int x = 0; x < n; ++x) {
            const uint16_t A[3] = {lr[x], lg[x], lb[x]};
            const uint16_t r = kafx::BlendAtFields(fmt, s[x], d[x], A);
            d[x] = s[x] != 0 ? r : d[x];
        }
    });
}

KA_FX_KERNEL void LevelRowKernel(kafx::Format f, uint16_t* __restrict d, const uint16_t* __restrict s, int n,
                                 uint16_t lr, uint16_t lg, uint16_t lb) {
    kafx::ForFormat(f, [&](auto fmt) __attribute__((always_inline)) {
        for (int x = 0; x < n; ++x) {
            const uint16_t r = kafx::BlendByFormula(fmt, s[x], d[x], lr, lg, lb);
            d[x] = s[x] != 0 ? r : d[x];
        }
    });
}

// ---- Int levels ---------------------------------------------------------------

struct Levels {
    unsigned r, g, b;
    void Step() {
        r -= r != 0;
        g -= g != 0;
        b -= b != 0;
    }
};

// A row mixed at one set of levels, or at per-column levels already moved to
// their fields.
void LevelRow(const kafx::Format& f, uint16_t* d, const uint16_t* s, int n, Levels l) {
    LevelRowKernel(f, d, s, n, static_cast<uint16_t>(l.r), static_cast<uint16_t>(l.g), static_cast<uint16_t>(l.b));
}
void LevelRow(const kafx::Format& f, uint16_t* d, const uint16_t* s, int n, const uint16_t* lr, const uint16_t* lg,
              const uint16_t* lb) {
    LevelColumnRow(f, d, s, n, lr, lg, lb);
}

// ---- Float weights ------------------------------------------------------------

// The three complementary weights, stepped by 1/32 and kept at or above 0;
// the source weights are always recomputed from them.
struct Complements {
    float bd[3];
    void Step() {
        for (float& v : bd) {
            v = static_cast<float>(static_cast<double>(v) - 0.03125);
            if (v < 0.0f) v = 0.0f;
        }
    }
    void Weights(float w[3]) const {
        for (int c = 0; c < 3; ++c) w[c] = kafx::Complement(bd[c]);
    }
};

// A row at one set of weights: the integer formula where exact.
void WeightRow(const kafx::Format& f, uint16_t* __restrict d, const uint16_t* __restrict s, int n, const float w[3],
               const float bd[3]) {
    const FixedWeight kr = kafx::FixedWeightOf(w[0], bd[0]), kg = kafx::FixedWeightOf(w[1], bd[1]),
                      kb = kafx::FixedWeightOf(w[2], bd[2]);
    if (kr.exact && kg.exact && kb.exact) {
        for (int x = 0; x < n; ++x) {
            uint16_t r = kafx::MixByFixed(f, s[x], d[x], kr, kg, kb);
            d[x] = s[x] != 0 ? r : d[x];
        }
    } else {
        for (int x = 0; x < n; ++x)
            if (s[x] != 0) d[x] = kafx::MixByDouble(s[x], d[x], w, bd);
    }
}

// Per-column weights of the horizontal walk, the same for every row; the
// integer formula where every column is exact, double otherwise.
struct ColumnWeights {
    std::vector<float> w[3], bd[3];
    kafx::AlignedRow<uint32_t> a[3], b[3];
    kafx::AlignedRow<uint16_t> a16[3], b16[3];
    bool exact = true, narrow = true;

    void Build(int n, Complements initial, Steps initialSteps) {
        exact = narrow = true;
        // The weights change only where the walk steps: their integer forms
        // are worked out once per step, not once per column. The 16-bit
        // weights are what the layer almost always runs on; the wider forms
        // are filled in by a second walk only when some column needs them.
        auto walk = [&](auto&& store) {
            Complements c = initial;
            Steps steps = initialSteps;
            float wx[3];
            FixedWeight fw[3];
            auto weigh = [&] {
                c.Weights(wx);
                for (int ch = 0; ch < 3; ++ch) {
                    fw[ch] = kafx::FixedWeightOf(wx[ch], c.bd[ch]);
                    exact = exact && fw[ch].exact;
                    narrow = narrow && kafx::Fits16(fw[ch]);
                }
            };
            weigh();
            for (int x = 0; x < n; ++x) {
                if (steps.At(x)) {
                    c.Step();
                    weigh();
                }
                store(x, wx, c.bd, fw);
            }
        };
        for (int ch = 0; ch < 3; ++ch) {
            a16[ch].Reset(static_cast<size_t>(n));
            b16[ch].Reset(static_cast<size_t>(n));
        }
        walk([&](int x, const float*, const float*, const FixedWeight* fw) {
            for (int ch = 0; ch < 3; ++ch) {
                a16[ch][x] = kafx::Weight16(fw[ch].a);
                b16[ch][x] = kafx::Weight16(fw[ch].b);
            }
        });
        if (narrow) return;
        for (int ch = 0; ch < 3; ++ch) {
            w[ch].resize(static_cast<size_t>(n));
            bd[ch].resize(static_cast<size_t>(n));
            a[ch].Reset(static_cast<size_t>(n));
            b[ch].Reset(static_cast<size_t>(n));
        }
        walk([&](int x, const float* wx, const float* bx, const FixedWeight* fw) {
            for (int ch = 0; ch < 3; ++ch) {
                w[ch][x] = wx[ch];
                bd[ch][x] = bx[ch];
                a[ch][x] = fw[ch].a;
                b[ch][x] = fw[ch].b;
            }
        });
    }

    void Row(const kafx::Format& f, uint16_t* __restrict d, const uint16_t* __restrict s, int n) const {
        if (narrow) {
            Fixed16ColumnRow(f, d, s, n, a16, b16);
            return;
        }
        if (exact) {
            FixedColumnRow(f, d, s, n, a, b);
            return;
        }
        for (int x = 0; x < n; ++x) {
            if (s[x] == 0) continue;
            const float wx[3] = {w[0][x], w[1][x], w[2][x]}, bx[3] = {bd[0][x], bd[1][x], bd[2][x]};
            d[x] = kafx::MixByDouble(s[x], d[x], wx, bx);
        }
    }

};

}  // namespace

int kaDraw::BlendLayer(int Px, int Py, int BlendR, int BlendG, int BlendB, int Mode, int Start, int Size, int ObjDD,
                       int X1, int Y1, int X2, int Y2) {
    const Levels initial{31u - kafx::ClampLevel(BlendR), 31u - kafx::ClampLevel(BlendG), 31u - kafx::ClampLevel(BlendB)};
    return kafx::RunLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, kafx::DrawnRect, [&](const LayerArea& a, const LayerPixels& p) {
        const kafx::Format f = kafx::CurrentFormat();
        Steps steps(Start, Size);
        const uint16_t* s = p.src;
        uint16_t* d = p.dst;
        if (Mode == 0) {
            // Every row restarts the walk, so the levels of a column are the
            // same in every row.
            // The levels are kept moved to their fields.
            static kafx::AlignedRow<uint16_t> lr, lg, lb;
            lr.Reset(static_cast<size_t>(a.ex));
            lg.Reset(static_cast<size_t>(a.ex));
            lb.Reset(static_cast<size_t>(a.ex));
            Levels l = initial;
            for (int x = 0; x < a.ex; ++x) {
                if (steps.At(x)) l.Step();
                lr[x] = kafx::At5(f, 0, static_cast<uint16_t>(l.r)), lg[x] = kafx::At5(f, 1, static_cast<uint16_t>(l.g)),
                lb[x] = kafx::At5(f, 2, static_cast<uint16_t>(l.b));
            }
            for (int y = 0; y < a.ey; ++y, s += p.srcPitch, d += p.dstPitch)
                LevelRow(f, d, s, a.ex, lr.data(), lg.data(), lb.data());
        } else {
            Levels l = initial;
            for (int y = 0; y < a.ey; ++y, s += p.srcPitch, d += p.dstPitch) {
                if (steps.At(y)) l.Step();
                LevelRow(f, d, s, a.ex, l);
            }
        }
    });
}

int kaDraw::BlendLayer(int Px, int Py, float BlendR, float BlendG, float BlendB, int Mode, int Start, int Size,
                       int ObjDD, int X1, int Y1, int X2, int Y2) {
    const Complements initial{{kafx::Complement(BlendR), kafx::Complement(BlendG), kafx::Complement(BlendB)}};
    return kafx::RunLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, kafx::DrawnRect, [&](const LayerArea& a, const LayerPixels& p) {
        const kafx::Format f = kafx::CurrentFormat();
        const uint16_t* s = p.src;
        uint16_t* d = p.dst;
        if (Mode == 0) {
            static ColumnWeights columns;
            columns.Build(a.ex, initial, Steps(Start, Size));
            for (int y = 0; y < a.ey; ++y, s += p.srcPitch, d += p.dstPitch) columns.Row(f, d, s, a.ex);
        } else {
            Steps steps(Start, Size);
            Complements c = initial;
            for (int y = 0; y < a.ey; ++y, s += p.srcPitch, d += p.dstPitch) {
                if (steps.At(y)) c.Step();
                float w[3];
                c.Weights(w);
                WeightRow(f, d, s, a.ex, w, c.bd);
            }
        }
    });
}
