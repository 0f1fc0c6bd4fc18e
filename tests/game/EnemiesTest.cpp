// Slimes and magicians: turning at the edge and at treasures, passing hidden
// items and the false wall, the empty-slot marker in the contact test, and
// the magicians' 200-frame cycle.
#include <algorithm>

#include "GameTestSupport.h"

namespace {

using SlimeTest = GameTest;
using MagicianTest = GameTest;

TEST_F(SlimeTest, TurnsAtTheLeftEdgeOnItsFirstStep) {
    EmptyStage(0, 608, 448, kDirStanding);
    PlaceSlime(0, 0, 64, 1, 0);
    s_move();
    EXPECT_EQ(s.move[0], 1);
    s_move();
    s_move();
    EXPECT_EQ(s.x[0], 1);
}

TEST_F(SlimeTest, TurnsAtATreasureAndLeavesIt) {
    EmptyStage(0, 608, 448, kDirStanding);
    map[0][2][5] = kTileTreasure;  // x 160..191
    PlaceSlime(0, 100, 64, 1, 1);
    int furthest = 0;
    for (int i = 0; i < 300; ++i) {
        s_move();
        furthest = std::max(furthest, s.x[0]);
    }
    EXPECT_EQ(furthest, 160 - 26);
    EXPECT_EQ(map[0][2][5], kTileTreasure);
}

TEST_F(SlimeTest, TurnsAtWallsAndSpikesButPassesHiddenItemsAndFalseWalls) {
    EmptyStage(0, 608, 448, kDirStanding);
    map[0][2][4] = kTileHidden;
    map[0][2][6] = kTileFalseWall;
    map[0][2][9] = kTileSpike;  // x 288..319
    map[0][2][1] = kTileWall;   // x 32..63
    PlaceSlime(0, 64, 64, 2, 1);
    int furthest = 0, nearest = 1000;
    for (int i = 0; i < 400; ++i) {
        s_move();
        furthest = std::max(furthest, s.x[0]);
        nearest = std::min(nearest, s.x[0]);
    }
    EXPECT_EQ(furthest, 288 - 26);
    EXPECT_EQ(nearest, 62);  // steps into the wall's tile and turns
    EXPECT_EQ(map[0][2][4], kTileHidden);
}

TEST_F(SlimeTest, SlimeOnNinetyNineCannotTouchThePlayer) {
    EmptyStage(0, 110, 70, kDirStanding);  // probe 1 at (114, 74)
    PlaceSlime(0, 99, 64, 1, 0);
    p_enemy_hit();
    EXPECT_EQ(state, kScenePlay);
    s.x[0] = 98;
    p_enemy_hit();
    EXPECT_EQ(state, kSceneMiss);
}

TEST_F(SlimeTest, EveryTouchingProbeSoundsButItIsOneMiss) {
    EmptyStage(0, 110, 70, kDirStanding);
    PlaceSlime(0, 98, 64, 1, 0);   // under probe 1
    PlaceSlime(1, 122, 64, 1, 0);  // under probe 3
    Frame();
    EXPECT_EQ(state, kSceneMiss);
    EXPECT_EQ(CountCues(CueAction::Play, SoundCue::Miss), 2);
}

TEST_F(SlimeTest, ContactUsesThePositionOfThePreviousFrame) {
    EmptyStage(0, 110, 70, kDirStanding);
    PlaceSlime(0, 109, 64, 1, 0);  // one step short of touching
    Frame();                         // tested at 109, then steps to 108
    EXPECT_EQ(state, kScenePlay);
    Frame();
    EXPECT_EQ(state, kSceneMiss);
}

TEST_F(MagicianTest, OnlyTheLastStageHasMagicians) {
    StartStage(10);
    EXPECT_EQ(m_count, kEmptySlot);
    StartStage(11);
    EXPECT_EQ(m_count, 3);
}

TEST_F(MagicianTest, AppearOnFrameTenAroundThePlayerAndVanishOnFrameTwoHundred) {
    StartStage(11);  // the player stands at (320, 224)
    Frames(9);
    EXPECT_EQ(m_hantei_flag, 0);
    Frame();
    EXPECT_EQ(m_hantei_flag, 1);
    EXPECT_EQ(m.x[0], 224);
    EXPECT_EQ(m.x[1], 416);
    EXPECT_EQ(m.y[2], 320);
    EXPECT_EQ(m.y[3], 128);
    Frames(189);
    EXPECT_EQ(m_hantei_flag, 1);
    Frame();
    EXPECT_EQ(m_hantei_flag, 0);
    EXPECT_EQ(m_anime_time, 0);

    // The next cycle gathers around wherever the player is then.
    px = 64;
    py = 96;
    Frames(10);
    EXPECT_EQ(m_hantei_flag, 1);
    EXPECT_EQ(m.x[1], 160);
    EXPECT_EQ(m.y[3], 0);
    EXPECT_EQ(state, kScenePlay);
}

TEST_F(MagicianTest, StillDangerousWhileInvisibleAndAMissRestartsTheCycle) {
    StartStage(11);
    Frames(160);
    px = 230;  // inside magician 0's box with two probes
    Frame();
    EXPECT_EQ(state, kSceneMiss);
    EXPECT_EQ(CountCues(CueAction::Play, SoundCue::Miss), 2);
    for (int i = 0; i < 200 && state == kSceneMiss; ++i) Frame();
    EXPECT_EQ(state, kScenePlay);
    EXPECT_EQ(m_anime_time, 0);
    EXPECT_EQ(m_hantei_flag, 0);
}

TEST_F(MagicianTest, DangerousUpToTheFrameTheCycleEnds) {
    StartStage(11);
    Frames(199);
    px = 230;  // inside magician 0's box
    Frame();   // frame 200: tested before they vanish
    EXPECT_EQ(state, kSceneMiss);

    StartStage(11);
    Frames(200);
    px = 230;
    Frame();
    EXPECT_EQ(state, kScenePlay);
}

}  // namespace
