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

}  // namespace
}  // namespace plat
