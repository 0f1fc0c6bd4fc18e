// The frame every software layer shares, checked on every member: clipping
// to the virtual screen and the surface, the lock rules at the exact edges,
// refused sources and sprites, transparency of 0 (not of the colour key),
// unlocked surfaces afterwards, and extreme arguments.
#include <climits>

#include "EffectTestSupport.h"

using namespace drawtest;
using namespace fxtest;

namespace {

class LayerFrameTest : public DrawTest, public ::testing::WithParamInterface<NamedMember> {};

bool Unlocked(int sprite) { return !DDBack->isLocked() && !Sprite[sprite].Object->isLocked(); }

}  // namespace

TEST_P(LayerFrameTest, ClipsOnEverySideToTheVirtualScreen) {
    const Member& draw = GetParam().call;
    int s = RandomSprite(40, 30, 7, false);
    Randomise(DDBack, 8);
    kaDraw::VirtualScreen(100, 100, 200, 200);
    const auto before = Snapshot();
    // Overhanging the left, right, top and bottom edges, and a corner.
    for (auto [px, py] : {std::pair{80, 130}, {180, 130}, {130, 85}, {130, 185}, {185, 190}}) {
        EXPECT_EQ(draw(px, py, s, 0, 0, 40, 30), 1) << px << "," << py;
        EXPECT_TRUE(Unlocked(s));
    }
    EXPECT_EQ(ChangedOutside(before, 100, 100, 200, 200), 0);
    EXPECT_GT(ChangedOutside(before, 0, 0, 0, 0), 0) << "something inside was drawn";
}

TEST_P(LayerFrameTest, LocksAtTheExactEdgeButNotBeyondIt) {
    const Member& draw = GetParam().call;
    int s = RandomSprite(16, 16, 1);
    kaDraw::VirtualScreen(50, 60, 300, 300);
    DDBack->markLost();  // a lock attempt now fails and reports 0
    EXPECT_EQ(draw(50 - 16, 100, s, 0, 0, 16, 16), 0) << "ends exactly at the left edge: locks";
    EXPECT_EQ(draw(100, 60 - 16, s, 0, 0, 16, 16), 0) << "ends exactly at the top edge: locks";
    EXPECT_EQ(draw(50 - 17, 100, s, 0, 0, 16, 16), 1) << "wholly left of the edge: nothing locked";
    EXPECT_EQ(draw(100, 60 - 17, s, 0, 0, 16, 16), 1);
    EXPECT_EQ(draw(301, 100, s, 0, 0, 16, 16), 1);
    DDBack->restore();
    Sprite[s].Object->markLost();
    EXPECT_EQ(draw(100, 100, s, 0, 0, 16, 16), 0) << "the sprite cannot be locked";
    Sprite[s].Object->restore();
    EXPECT_TRUE(Unlocked(s));
}

TEST_P(LayerFrameTest, StaysOnTheSurfaceWhenTheVirtualScreenReachesPastIt) {
    const Member& draw = GetParam().call;
    int s = RandomSprite(64, 64, 2, false);
    Randomise(DDBack, 3);
    kaDraw::VirtualScreen(-100, -100, 900, 700);
    // A row written past its right end would show at the start of the next
    // row, one written before its left end at the end of the row above.
    auto before = Snapshot();
    EXPECT_EQ(draw(600, 440, s, 0, 0, 64, 64), 1);
    EXPECT_EQ(ChangedOutside(before, GetParam().fills ? 0 : 560, 400, 640, 480), 0);
    before = Snapshot();
    EXPECT_EQ(draw(-30, -30, s, 0, 0, 64, 64), 1);
    EXPECT_EQ(ChangedOutside(before, 0, 0, 100, 100), 0);
    EXPECT_TRUE(Unlocked(s));
}

TEST_P(LayerFrameTest, RefusesSourcesOutsideTheSpriteAndUnknownSprites) {
    const Member& draw = GetParam().call;
    int s = RandomSprite(32, 32, 4);
    Randomise(DDBack, 5);
    const auto before = Snapshot();
    EXPECT_EQ(draw(10, 10, s, 0, 0, 33, 32), 0);
    EXPECT_EQ(draw(10, 10, s, -1, 0, 31, 32), 0);
    EXPECT_EQ(draw(10, 10, s, 16, 16, 48, 48), 0);
    EXPECT_EQ(draw(10, 10, s, INT_MIN, INT_MIN, INT_MIN + 32, INT_MIN + 32), 0);
    EXPECT_EQ(draw(10, 10, 0x7FFF, 0, 0, 8, 8), 0);
    EXPECT_EQ(draw(10, 10, -1, 0, 0, 8, 8), 0);
    EXPECT_EQ(draw(10, 10, 900, 0, 0, 8, 8), 0) << "a slot without a surface";
    EXPECT_EQ(ChangedOutside(before, 0, 0, 0, 0), 0);
    EXPECT_TRUE(Unlocked(s));
    // Extreme destinations clip away (or refuse) without wrapping around.
    for (int px : {INT_MIN, INT_MAX, INT_MAX - 5})
        for (int py : {INT_MIN, 0, INT_MAX}) draw(px, py, s, 0, 0, 32, 32);
    EXPECT_EQ(ChangedOutside(before, 0, 0, 0, 0), 0);
}

TEST_P(LayerFrameTest, ZeroIsTransparentAndTheColourKeyIsNot) {
    const Member& draw = GetParam().call;
    kaDraw::SetSpriteColor(0xFF0000);  // blue key
    int s = RandomSprite(8, 8, 6, false);
    const uint16_t key = static_cast<uint16_t>(Sprite[s].Object->colorKey());
    FillSurface(Sprite[s].Object, key);
    Sprite[s].Object->row(3)[4] = 0;
    Sprite[s].Object->row(4)[3] = 0;  // where the mirror takes the other one
    FillSurface(DDBack, 0x1234);
    EXPECT_EQ(draw(100, 100, s, 0, 0, 8, 8), 1);
    if (!GetParam().writesZero) EXPECT_EQ(BackPixel(104, 103), 0x1234) << "source 0 leaves the back surface alone";
    int changed = 0;
    for (int y = 100; y < 108; ++y)
        for (int x = 100; x < 108; ++x) changed += BackPixel(x, y) != 0x1234;
    // (The displacement only moves back pixels around, which on a plain back
    // surface changes nothing.)
    if (GetParam().name != "Shift") EXPECT_GT(changed, 0) << "key-coloured pixels are drawn";
}

INSTANTIATE_TEST_SUITE_P(EveryMember, LayerFrameTest, ::testing::ValuesIn(AllMembers()),
                         [](const auto& info) { return info.param.name; });
