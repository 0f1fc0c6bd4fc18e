// The fast copies and fills against the pixel-at-a-time versions on many
// random surfaces, rectangles and keys: same result code, same pixels, and
// nothing written into the row padding.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>

#include "platform/Blit.h"

namespace plat {
namespace {

// Fills every pixel, padding included, from the generator; a third of the
// visible pixels become the key so that keyed copies skip often.
void Scramble(Surface16& s, std::mt19937& rng, uint16_t key) {
    void* bits;
    long pitch;
    ASSERT_EQ(s.lock(&bits, &pitch), kOk);
    auto* p = static_cast<uint16_t*>(bits);
    for (long i = 0; i < pitch / 2 * s.height(); ++i) p[i] = rng() % 3 == 0 ? key : static_cast<uint16_t>(rng());
    s.unlock();
}

std::unique_ptr<Surface16> Clone(const Surface16& s) {
    auto c = std::make_unique<Surface16>(s.width(), s.height());
    std::memcpy(c->row(0), s.row(0), static_cast<size_t>(s.pitch()) * s.height());
    if (s.hasColorKey()) c->setColorKey(s.colorKey());
    return c;
}

// Whole rows including the padding beyond the width.
bool SameMemory(const Surface16& a, const Surface16& b) {
    return std::memcmp(a.row(0), b.row(0), static_cast<size_t>(a.pitch()) * a.height()) == 0;
}

int Between(std::mt19937& rng, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

// Mostly inside the surface, sometimes one pixel out or inverted.
Rect RandomRect(std::mt19937& rng, int width, int height) {
    int l = Between(rng, 0, width), t = Between(rng, 0, height);
    Rect r{l, t, Between(rng, l, width), Between(rng, t, height)};
    switch (Between(rng, 0, 19)) {
        case 0: --r.left; break;
        case 1: ++r.bottom; break;
        case 2: std::swap(r.left, r.right); break;
        default: break;
    }
    return r;
}

struct Pair {
    std::unique_ptr<Surface16> src, dst;  // dst is null when copying within src
};

Pair RandomSurfaces(std::mt19937& rng) {
    uint16_t key = static_cast<uint16_t>(rng());
    Pair p;
    p.src = std::make_unique<Surface16>(Between(rng, 1, 70), Between(rng, 1, 12));
    Scramble(*p.src, rng, key);
    if (rng() % 2) p.src->setColorKey(key);
    if (rng() % 4) {
        p.dst = std::make_unique<Surface16>(Between(rng, 1, 70), Between(rng, 1, 12));
        Scramble(*p.dst, rng, key);
    }
    return p;
}

void CheckUnscaledCopies(uint32_t seed) {
    std::mt19937 rng(seed);
    for (int n = 0; n < 4000; ++n) {
        Pair p = RandomSurfaces(rng);
        Surface16& dst = p.dst ? *p.dst : *p.src;
        Rect sr = RandomRect(rng, p.src->width(), p.src->height());
        int x = Between(rng, -1, std::max(0, dst.width() - sr.width() + 1));
        int y = Between(rng, -1, std::max(0, dst.height() - sr.height() + 1));
        bool useKey = rng() % 4 != 0;

        auto expectSrc = Clone(*p.src);
        auto expectDst = p.dst ? Clone(dst) : nullptr;
        Surface16& refDst = p.dst ? *expectDst : *expectSrc;
        Result want = reference::BltFast(refDst, x, y, *expectSrc, sr, useKey);
        Result got = BltFast(dst, x, y, *p.src, sr, useKey);
        ASSERT_EQ(got, want) << "case " << n;
        ASSERT_TRUE(SameMemory(dst, refDst)) << "case " << n << " at " << x << "," << y << " src " << sr.left << ","
                                             << sr.top << "," << sr.right << "," << sr.bottom;
    }
}

TEST(BlitAgreement, UnscaledCopiesMatchReference) { CheckUnscaledCopies(1234); }

TEST(BlitAgreement, UnscaledCopiesMatchReferenceWithoutAvx512) {
    AllowAvx512Blits(false);
    CheckUnscaledCopies(4321);
    AllowAvx512Blits(true);
}

TEST(BlitAgreement, ScaledCopiesMatchReference) {
    std::mt19937 rng(99);
    for (int n = 0; n < 3000; ++n) {
        Pair p = RandomSurfaces(rng);
        Surface16& dst = p.dst ? *p.dst : *p.src;
        Rect sr = RandomRect(rng, p.src->width(), p.src->height());
        Rect dr = RandomRect(rng, dst.width(), dst.height());
        bool useKey = rng() % 4 != 0;

        auto expectSrc = Clone(*p.src);
        auto expectDst = p.dst ? Clone(dst) : nullptr;
        Surface16& refDst = p.dst ? *expectDst : *expectSrc;
        Result want = reference::Blt(refDst, dr, *expectSrc, sr, useKey);
        Result got = Blt(dst, dr, *p.src, sr, useKey);
        ASSERT_EQ(got, want) << "case " << n;
        ASSERT_TRUE(SameMemory(dst, refDst)) << "case " << n;
    }
}

TEST(BlitAgreement, FillsMatchReference) {
    std::mt19937 rng(7);
    for (int n = 0; n < 3000; ++n) {
        Surface16 dst(Between(rng, 1, 70), Between(rng, 1, 12));
        Scramble(dst, rng, 0);
        auto expect = Clone(dst);
        Rect r = RandomRect(rng, dst.width(), dst.height());
        // Byte-doubled values take a different path from the others.
        uint16_t value = rng() % 3 == 0 ? static_cast<uint16_t>((rng() & 0xFF) * 0x101) : static_cast<uint16_t>(rng());
        ASSERT_EQ(Fill(dst, r, value), reference::Fill(*expect, r, value)) << "case " << n;
        ASSERT_TRUE(SameMemory(dst, *expect)) << "case " << n;
    }
}

TEST(BlitAgreement, LargeScaledCopiesMatchReference) {
    // Wider than the column table kept on the stack.
    std::mt19937 rng(5);
    Surface16 src(700, 3), dst(2500, 4);
    Scramble(src, rng, 0x1111);
    src.setColorKey(0x1111);
    auto expect = Clone(dst);
    ASSERT_EQ(Blt(dst, {3, 0, 2403, 4}, src, {1, 0, 700, 3}, true), kOk);
    ASSERT_EQ(reference::Blt(*expect, {3, 0, 2403, 4}, src, {1, 0, 700, 3}, true), kOk);
    EXPECT_TRUE(SameMemory(dst, *expect));
}

// The clipped scaled copy against the whole reference stretch: enlargements
// by whole factors (which repeat pixels instead of looking each one up),
// other ratios, destinations reaching past the surface on any side, random
// clips, keyed and opaque, with and without the AVX-512 keyed rows.
TEST(BlitAgreement, ClippedStretchesShowTheirPartOfTheWholeStretch) {
    std::mt19937 rng(31);
    for (bool avx512 : {true, false}) {
        AllowAvx512Blits(avx512);
        for (int n = 0; n < 1500; ++n) {
            uint16_t key = static_cast<uint16_t>(rng());
            Surface16 src(Between(rng, 1, 40), Between(rng, 1, 12)), dst(Between(rng, 1, 90), Between(rng, 1, 30));
            Scramble(src, rng, key);
            Scramble(dst, rng, key);
            if (rng() % 4 != 0) src.setColorKey(key);
            Rect sr{Between(rng, 0, src.width() - 1), Between(rng, 0, src.height() - 1), 0, 0};
            sr.right = Between(rng, sr.left + 1, src.width()), sr.bottom = Between(rng, sr.top + 1, src.height());
            const int factor = Between(rng, 0, 5);
            const int dw = factor > 0 ? factor * sr.width() : Between(rng, 1, 120);
            const int dh = Between(rng, 0, 2) == 0 ? Between(rng, 1, 40) : Between(rng, 1, 4) * sr.height();
            Rect dr{Between(rng, -dw, dst.width()), Between(rng, -dh, dst.height()), 0, 0};
            dr.right = dr.left + dw, dr.bottom = dr.top + dh;
            Rect clip{Between(rng, 0, dst.width()), Between(rng, 0, dst.height()), 0, 0};
            clip.right = Between(rng, clip.left, dst.width()), clip.bottom = Between(rng, clip.top, dst.height());
            const bool useKey = rng() % 3 != 0;
            // The whole stretch on a canvas holding both the surface and dr.
            const int ox = std::max(0, -dr.left), oy = std::max(0, -dr.top);
            Surface16 canvas(ox + std::max(dst.width(), dr.right), oy + std::max(dst.height(), dr.bottom));
            for (int y = 0; y < dst.height(); ++y) std::memcpy(canvas.row(y + oy) + ox, dst.row(y), dst.width() * 2u);
            ASSERT_EQ(reference::Blt(canvas, {dr.left + ox, dr.top + oy, dr.right + ox, dr.bottom + oy}, src, sr, useKey), kOk);
            auto before = Clone(dst);
            ASSERT_EQ(BltClipped(dst, dr, clip, src, sr, useKey), kOk) << "case " << n;
            for (int y = 0; y < dst.height(); ++y)
                for (int x = 0; x < dst.width(); ++x) {
                    const bool drawn = x >= std::max(clip.left, dr.left) && x < std::min(clip.right, dr.right) &&
                                       y >= std::max(clip.top, dr.top) && y < std::min(clip.bottom, dr.bottom);
                    const uint16_t want = drawn ? canvas.row(y + oy)[x + ox] : before->row(y)[x];
                    ASSERT_EQ(dst.row(y)[x], want) << "case " << n << " at " << x << "," << y << " factor " << factor;
                }
        }
    }
    AllowAvx512Blits(true);
}

}  // namespace
}  // namespace plat
