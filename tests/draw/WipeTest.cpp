// Wipes: the starting shapes, the per-frame opening and closing of the
// virtual screen, refusal while running and the held-closed screen.
#include <array>

#include "DrawFixture.h"

using namespace drawtest;
using Box = std::array<int, 4>;

namespace {

Box View() { return {kaDraw::Vx1, kaDraw::Vy1, kaDraw::Vx2, kaDraw::Vy2}; }

int RunWipe() {
    int frames = 0;
    for (; kaDraw::EffectOn > 0 && frames < 10000; ++frames) kaDraw::Wipe();
    return frames;
}

}  // namespace

TEST_F(DrawTest, WipeFromTheLeftOpensSeventeenPixelsPerFrame) {
    FrameTime = 0.05f;
    ASSERT_EQ(kaDraw::SetWipe(0, 4, 320.0f, 0), 1);
    EXPECT_EQ(View(), (Box{0, 0, 0, 480}));
    for (int frame = 1; frame <= 37; ++frame) {
        EXPECT_EQ(kaDraw::Wipe(), 1);
        ASSERT_EQ(kaDraw::Vx2, 17 * frame);
    }
    EXPECT_EQ(kaDraw::EffectOn + kaDraw::WipeIn, 1);
    kaDraw::Wipe();
    EXPECT_EQ(View(), (Box{0, 0, 640, 480}));
    EXPECT_EQ(kaDraw::EffectOn, 0);
    EXPECT_EQ(kaDraw::WipeIn, 1);
    EXPECT_EQ(kaDraw::Wipe(), 0);
}

TEST_F(DrawTest, EveryShapeStartsRightAndRunsToItsEnd) {
    const Box starts[9] = {{0, 480, 640, 480},  {0, 0, 640, 0},       {640, 0, 640, 480},
                           {0, 0, 0, 480},      {0, 240, 640, 240},   {320, 0, 320, 480},
                           {320, 240, 320, 240}, {270, 240, 370, 240}, {320, 190, 320, 290}};
    FrameTime = 0.02f;
    for (int type = 1; type <= 9; ++type) {
        SCOPED_TRACE(type);
        kaDraw::EffectOn = 0;
        kaDraw::VirtualScreen(0, 0, 640, 480);
        ASSERT_EQ(kaDraw::SetWipe(0, type, 1000.0f, 100), 1);
        EXPECT_EQ(View(), starts[type - 1]);
        EXPECT_GT(RunWipe(), 1);
        EXPECT_EQ(View(), (Box{0, 0, 640, 480}));
        EXPECT_EQ(kaDraw::WipeIn, 1);

        ASSERT_EQ(kaDraw::SetWipe(1, type, 1000.0f, 100), 1);
        EXPECT_EQ(View(), (Box{0, 0, 640, 480}));
        EXPECT_GT(RunWipe(), 1);
        EXPECT_EQ(kaDraw::EffectOn, -1);
        EXPECT_EQ(kaDraw::WipeOut, 1);
        EXPECT_TRUE(kaDraw::Vx1 >= kaDraw::Vx2 || kaDraw::Vy1 >= kaDraw::Vy2);
    }
}

TEST_F(DrawTest, RunningWipesRefuseANewOneUnknownShapesNeverEndClosedOnesReopen) {
    kaDraw::SetWipe(0, 1, 10.0f, 0);
    Box before = View();
    EXPECT_EQ(kaDraw::SetWipe(1, 3, 99.0f, 7), 0);
    EXPECT_EQ(View(), before);
    EXPECT_EQ(kaDraw::EffectType * 10 + kaDraw::EffectInOut, 10);

    kaDraw::EffectOn = 0;
    kaDraw::VirtualScreen(0, 0, 640, 480);
    ASSERT_EQ(kaDraw::SetWipe(0, 12, 500.0f, 0), 1);
    EXPECT_EQ(View(), (Box{0, 0, 640, 480}));
    for (int i = 0; i < 100; ++i) EXPECT_EQ(kaDraw::Wipe(), 1);
    EXPECT_EQ(kaDraw::EffectOn, 1);
    EXPECT_EQ(kaDraw::SetWipe(0, 1, 500.0f, 0), 0);

    // A screen held closed reopens from the rectangle saved when it closed.
    kaDraw::EffectOn = 0;
    kaDraw::VirtualScreen(10, 20, 630, 470);
    kaDraw::SetWipeOut();
    EXPECT_EQ(View(), (Box{10, 20, 10, 20}));
    EXPECT_EQ(kaDraw::Wipe(), 0);
    ASSERT_EQ(kaDraw::SetWipe(0, 1, 100.0f, 0), 1);
    EXPECT_EQ(View(), (Box{10, 470, 630, 470}));
}
