// Behaviour of the copies and fills on small surfaces: which rectangles are
// refused, what a keyed copy leaves alone, copies within one surface, and
// nearest-neighbour scaling.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "platform/Blit.h"
#include "platform/Display.h"
#include "platform/Options.h"

namespace plat {
namespace {

// Every pixel different, so that a misplaced pixel shows.
void Number(Surface16& s, uint16_t start) {
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) s.row(y)[x] = static_cast<uint16_t>(start + y * s.width() + x);
}

std::vector<uint16_t> Pixels(const Surface16& s) {
    std::vector<uint16_t> out;
    for (int y = 0; y < s.height(); ++y) out.insert(out.end(), s.row(y), s.row(y) + s.width());
    return out;
}

// ---- Refusals -------------------------------------------------------------

TEST(BlitRefusal, RectanglesLeavingEitherSurfaceOrInvertedDrawNothing) {
    Surface16 src(8, 6), dst(10, 7);
    Number(src, 100);
    Number(dst, 1000);
    const auto before = Pixels(dst);
    struct Case {
        int x, y;
        Rect srcRect;
    };
    const Case cases[] = {
        {0, 0, {-1, 0, 4, 4}},  {0, 0, {0, -1, 4, 4}},  {0, 0, {5, 0, 9, 4}},   {0, 0, {0, 3, 4, 7}},
        {-1, 0, {0, 0, 4, 4}},  {0, -1, {0, 0, 4, 4}},  {7, 0, {0, 0, 4, 4}},   {0, 4, {0, 0, 4, 4}},
        {0, 0, {4, 0, 3, 4}},   {0, 0, {0, 4, 4, 3}},   {INT_MAX - 2, 0, {0, 0, 4, 4}},
        {0, INT_MIN, {0, 0, 4, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " src " << c.srcRect.left << "," << c.srcRect.top
                                        << "," << c.srcRect.right << "," << c.srcRect.bottom);
        for (bool keyed : {false, true}) {
            EXPECT_EQ(BltFast(dst, c.x, c.y, src, c.srcRect, keyed), kErrInvalidRect);
            EXPECT_EQ(reference::BltFast(dst, c.x, c.y, src, c.srcRect, keyed), kErrInvalidRect);
        }
    }
    EXPECT_EQ(Pixels(dst), before);
}

TEST(BlitRefusal, FillOutsideOrInvertedDrawsNothing) {
    Surface16 dst(10, 7);
    Number(dst, 1000);
    const auto before = Pixels(dst);
    for (Rect r : {Rect{-1, 0, 3, 3}, Rect{0, 0, 11, 3}, Rect{0, 0, 3, 8}, Rect{3, 0, 2, 3}, Rect{0, 3, 3, 2},
                   Rect{INT_MIN, 0, INT_MAX, 1}}) {
        EXPECT_EQ(Fill(dst, r, 0x1234), kErrInvalidRect);
        EXPECT_EQ(reference::Fill(dst, r, 0x1234), kErrInvalidRect);
    }
    EXPECT_EQ(Pixels(dst), before);
}

TEST(BlitRefusal, LostSurfaceOnEitherSideIsReported) {
    Surface16 src(4, 4), dst(4, 4);
    Number(src, 1);
    src.markLost();
    EXPECT_EQ(BltFast(dst, 0, 0, src, {0, 0, 4, 4}, false), kErrSurfaceLost);
    EXPECT_EQ(Blt(dst, {0, 0, 2, 2}, src, {0, 0, 4, 4}, false), kErrSurfaceLost);
    src.restore();
    dst.markLost();
    EXPECT_EQ(BltFast(dst, 0, 0, src, {0, 0, 4, 4}, true), kErrSurfaceLost);
    EXPECT_EQ(Blt(dst, {0, 0, 2, 2}, src, {0, 0, 4, 4}, true), kErrSurfaceLost);
    EXPECT_EQ(Fill(dst, {0, 0, 4, 4}, 7), kErrSurfaceLost);
    dst.restore();
    EXPECT_EQ(Pixels(dst), std::vector<uint16_t>(16, 0));
}

TEST(BlitEmpty, EmptyRectanglesSucceedWithoutDrawing) {
    Surface16 src(4, 4), dst(4, 4);
    Number(src, 1);
    EXPECT_EQ(BltFast(dst, 4, 4, src, {4, 4, 4, 4}, false), kOk);
    EXPECT_EQ(BltFast(dst, 0, 0, src, {0, 0, 0, 4}, true), kOk);
    EXPECT_EQ(Blt(dst, {0, 0, 0, 4}, src, {0, 0, 4, 4}, false), kOk);
    // Nothing to sample: the destination is left alone instead of reading
    // past the source.
    EXPECT_EQ(Blt(dst, {0, 0, 4, 4}, src, {4, 0, 4, 4}, false), kOk);
    EXPECT_EQ(reference::Blt(dst, {0, 0, 4, 4}, src, {4, 0, 4, 4}, false), kOk);
    EXPECT_EQ(Fill(dst, {2, 1, 2, 4}, 9), kOk);
    EXPECT_EQ(Pixels(dst), std::vector<uint16_t>(16, 0));
}

// ---- Keyed copies -------------------------------------------------------------

TEST(BlitKeyed, KeyPixelsOfTheSourceLeaveTheDestinationUnchanged) {
    const uint16_t kBlue = 0x001F;
    Surface16 src(5, 3), dst(5, 3);
    Number(src, 0x0010);  // 0x0010..0x001E: no pixel is the key by chance
    src.row(0)[1] = kBlue;
    src.row(1)[4] = kBlue;
    src.row(2)[0] = kBlue;
    src.setColorKey(kBlue);
    Number(dst, 0x4000);
    const auto before = Pixels(dst);
    const auto source = Pixels(src);
    ASSERT_EQ(BltFast(dst, 0, 0, src, src.bounds(), true), kOk);
    const auto after = Pixels(dst);
    for (size_t i = 0; i < after.size(); ++i) EXPECT_EQ(after[i], source[i] == kBlue ? before[i] : source[i]) << i;
}

TEST(BlitKeyed, OnlyTheSourceKeyCounts) {
    Surface16 src(4, 1), dst(4, 1);
    for (int x = 0; x < 4; ++x) src.row(0)[x] = static_cast<uint16_t>(x);
    dst.setColorKey(2);  // a destination key has no effect on copies into it
    ASSERT_EQ(BltFast(dst, 0, 0, src, src.bounds(), true), kOk);
    EXPECT_EQ(Pixels(dst), (std::vector<uint16_t>{0, 1, 2, 3}));

    Number(dst, 50);
    src.setColorKey(1);
    ASSERT_EQ(BltFast(dst, 0, 0, src, src.bounds(), false), kOk);  // key not asked for
    EXPECT_EQ(Pixels(dst), (std::vector<uint16_t>{0, 1, 2, 3}));
}

// ---- Copies within one surface ------------------------------------------------

TEST(BlitOverlap, CopyWithinOneRowTakesTheSourceBeforeWriting) {
    Surface16 s(6, 1);
    Number(s, 1);  // 1 2 3 4 5 6
    ASSERT_EQ(BltFast(s, 1, 0, s, {0, 0, 5, 1}, false), kOk);
    EXPECT_EQ(Pixels(s), (std::vector<uint16_t>{1, 1, 2, 3, 4, 5}));
    s.setColorKey(3);
    ASSERT_EQ(BltFast(s, 1, 0, s, {0, 0, 5, 1}, true), kOk);
    EXPECT_EQ(Pixels(s), (std::vector<uint16_t>{1, 1, 1, 2, 4, 4}));  // the 3 bound for x=4 is skipped
}

TEST(BlitOverlap, CopyDownAndUpOverFullRows) {
    Surface16 s(16, 4);  // rows as wide as the pitch: one block
    Number(s, 0);
    auto before = Pixels(s);
    ASSERT_EQ(BltFast(s, 0, 1, s, {0, 0, 16, 3}, false), kOk);
    auto down = Pixels(s);
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + 48, down.begin() + 16));
    ASSERT_EQ(BltFast(s, 0, 0, s, {0, 1, 16, 4}, false), kOk);
    auto up = Pixels(s);
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + 48, up.begin()));
}

// ---- Scaling ------------------------------------------------------------------

TEST(BlitScale, EnlargingRepeatsEachPixel) {
    Surface16 src(2, 2), dst(4, 4);
    Number(src, 1);  // 1 2 / 3 4
    ASSERT_EQ(Blt(dst, dst.bounds(), src, src.bounds(), false), kOk);
    EXPECT_EQ(Pixels(dst), (std::vector<uint16_t>{1, 1, 2, 2, 1, 1, 2, 2, 3, 3, 4, 4, 3, 3, 4, 4}));
}

TEST(BlitScale, ShrinkingSamplesThePixelUnderEachCentre) {
    Surface16 src(4, 4), dst(2, 2);
    Number(src, 0);  // row y holds 4y .. 4y+3
    ASSERT_EQ(Blt(dst, dst.bounds(), src, src.bounds(), false), kOk);
    EXPECT_EQ(Pixels(dst), (std::vector<uint16_t>{5, 7, 13, 15}));
}

// ---- The visible surface -------------------------------------------------------

TEST(BlitPrimary, CopiesAndFillsIntoTheVisibleSurfaceAreShownAtOnce) {
    Options options;
    options.headless = true;
    SetOptions(options);
    Surface16 screen(6, 4), src(2, 2);
    screen.setPrimary(true);
    Number(src, 40);
    ASSERT_EQ(Fill(screen, {0, 0, 6, 4}, 0x1234), kOk);
    ASSERT_NE(LastPresentedFrame(), nullptr);
    EXPECT_EQ(Pixels(*LastPresentedFrame()), std::vector<uint16_t>(24, 0x1234));
    ASSERT_EQ(BltFast(screen, 4, 2, src, src.bounds(), false), kOk);
    EXPECT_EQ(LastPresentedFrame()->row(3)[5], 43);
}

}  // namespace
}  // namespace plat
