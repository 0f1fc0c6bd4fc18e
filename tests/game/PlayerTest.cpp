// The player: standing start, endless walking, reversed keys, walls and the
// screen edge, the order of the tile rules, spikes under either probe, probes
// beyond the grid, and hidden items across a miss and a new game.
#include "GameTestSupport.h"

namespace {

using PlayerTest = GameTest;

TEST_F(PlayerTest, StandsUntilTheFirstArrowThenKeepsWalking) {
    EmptyStage(0, 64, 224, kDirStanding);
    Frames(30);
    EXPECT_EQ(px, 64);
    EXPECT_EQ(py, 224);
    Frame(kKeyRight);
    Frames(10);  // released: still walking
    EXPECT_EQ(px, 64 + 11 * 2);
    EXPECT_EQ(p_angle, kDirRight);
}

TEST_F(PlayerTest, ReversedStagesSwapEveryArrow) {
    const struct {
        unsigned key;
        int dir;
    } cases[] = {{kKeyLeft, kDirRight}, {kKeyRight, kDirLeft}, {kKeyUp, kDirDown}, {kKeyDown, kDirUp}};
    for (const auto& c : cases) {
        EmptyStage(9, 256, 224, kDirStanding);
        Frame(c.key);
        EXPECT_EQ(p_key_state, c.dir);
        EXPECT_EQ(p_angle, c.dir);
    }
    EmptyStage(8, 256, 224, kDirStanding);
    Frame(kKeyLeft);
    EXPECT_EQ(p_key_state, kDirLeft);
}

TEST_F(PlayerTest, WalkingIntoAWallMarksTimeOnTheSpot) {
    StartStage(0);  // a wall stands in column 3 of the start row
    ResetEnemySlots();
    Frame(kKeyRight);
    Frames(40);
    EXPECT_EQ(px, 66);
    int previousFrame = p_angle_no;
    for (int i = 0; i < 6; ++i) {
        Frame();
        EXPECT_EQ(px, 66);
        EXPECT_NE(p_angle_no, previousFrame);  // the legs keep moving
        previousFrame = p_angle_no;
    }
}

TEST_F(PlayerTest, ScreenEdgeStopsThePlayer) {
    EmptyStage(0, 6, 224, kDirLeft);
    Frames(10);
    EXPECT_EQ(px, 0);
    EmptyStage(6, 600, 0, kDirRight);  // fast stage
    Frames(10);
    EXPECT_EQ(px, 608);
    p_key_state = kDirUp;
    Frames(3);
    EXPECT_EQ(py, 0);
}

TEST_F(PlayerTest, WallWinsOverATreasureUnderTheOtherProbe) {
    EmptyStage(0, 34, 16, kDirRight);  // probes in rows 0 and 1 of column 2
    map[0][0][2] = kTileWall;
    map[0][1][2] = kTileTreasure;
    t_count = 5;
    Frame();
    EXPECT_EQ(px, 34);
    EXPECT_EQ(t_count, 5);
    EXPECT_EQ(map[0][1][2], kTileTreasure);
}

TEST_F(PlayerTest, TakesOnePickUpPerFrame) {
    EmptyStage(0, 16, 66, kDirDown);  // straddles columns 0 and 1
    map[0][3][0] = kTileTreasure;
    map[0][3][1] = kTileTreasure;
    t_count = 10;
    Frame();
    EXPECT_EQ(t_count, 9);
    EXPECT_EQ(map[0][3][0], kTileFloor);
    EXPECT_EQ(map[0][3][1], kTileTreasure);
    Frame();
    EXPECT_EQ(t_count, 8);
    EXPECT_EQ(map[0][3][1], kTileFloor);
    EXPECT_EQ(CountCues(CueAction::Play, SoundCue::Get), 2);
}

struct SpikeCase {
    const char* name;
    int dir, x, y;      // the player one step before the probes reach the spikes
    int colA, rowA;     // the tile only probe A reaches
    int colB, rowB;     // the tile only probe B reaches
};

class SpikeTest : public GameTest, public ::testing::WithParamInterface<SpikeCase> {};

TEST_P(SpikeTest, EitherProbeEndsTheAttempt) {
    const SpikeCase& c = GetParam();
    for (int probe = 0; probe < 3; ++probe) {
        EmptyStage(1, c.x, c.y, c.dir);
        Log().clear();
        if (probe == 0) map[1][c.rowA][c.colA] = kTileSpike;
        if (probe == 1) map[1][c.rowB][c.colB] = kTileSpike;
        Frame();
        const bool expectMiss = probe < 2;
        EXPECT_EQ(state, expectMiss ? kSceneMiss : kScenePlay) << c.name << " probe " << probe;
        EXPECT_EQ(CountCues(CueAction::Play, SoundCue::Miss), expectMiss ? 1 : 0) << c.name << " probe " << probe;
    }
}

// Positions off the grid lines, so that the two probes lie in different tiles.
INSTANTIATE_TEST_SUITE_P(AllDirections, SpikeTest,
                         ::testing::Values(SpikeCase{"right", kDirRight, 34, 16, 2, 0, 2, 1},
                                           SpikeCase{"left", kDirLeft, 60, 16, 1, 0, 1, 1},
                                           SpikeCase{"up", kDirUp, 16, 60, 0, 1, 1, 1},
                                           SpikeCase{"down", kDirDown, 16, 66, 0, 3, 1, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlayerTest, WalkingLeftFeelsSpikesTwoPixelsLaterThanWalls) {
    EmptyStage(1, 62, 32, kDirLeft);
    map[1][1][1] = kTileSpike;
    Frame();  // px 60: the wall probe is in the spike's tile, the spike probe not
    EXPECT_EQ(state, kScenePlay);
    Frame();  // px 58
    EXPECT_EQ(state, kSceneMiss);
}

TEST_F(PlayerTest, ProbesBeyondTheRightOrBottomEdgeFindNoTile) {
    // Right: one fast step past column 19 would read column 0 of the next row.
    EmptyStage(6, 608, 64, kDirRight);
    map[6][3][0] = kTileSpike;
    map[6][2][0] = kTileSpike;
    t_count = 4;
    Frames(3);
    EXPECT_EQ(state, kScenePlay);
    EXPECT_EQ(px, 608);

    // Down: one fast step past row 14 would read row 0 of the next stage.
    EmptyStage(6, 64, 448, kDirDown);
    map[7][0][2] = kTileTreasure;
    map[7][0][3] = kTileTreasure;
    Frames(3);
    EXPECT_EQ(t_count, 4);
    EXPECT_EQ(map[7][0][2], kTileTreasure);
    EXPECT_EQ(py, 448);
    EXPECT_EQ(CountCues(CueAction::Play, SoundCue::Get), 0);
}

// Runs the miss scene until the stage has restarted.
void FinishMiss() {
    for (int i = 0; i < 200 && state == kSceneMiss; ++i) {
        PushKey = 0;
        RunScene();
    }
}

TEST_F(PlayerTest, HiddenItemStaysFoundThroughAMissAndReturnsInANewGame) {
    init_start();
    StartStage(3);
    ResetEnemySlots();
    px = 230;  // row 7, right of the hidden item, with a spike beyond it
    py = 224;
    p_key_state = kDirLeft;
    p_z_key_flag = 0;
    for (int i = 0; i < 40 && state == kScenePlay; ++i) Frame();
    ASSERT_EQ(state, kSceneMiss);
    EXPECT_EQ(genkyu, 1);
    EXPECT_EQ(CountCues(CueAction::Play, SoundCue::Genkyu), 1);

    FinishMiss();
    ASSERT_EQ(state, kScenePlay);
    EXPECT_EQ(map[3][7][6], kTileFloor);
    EXPECT_EQ(genkyu, 1);

    init_all();
    init_start();
    stage_no = 3;
    init_general();
    EXPECT_EQ(map[3][7][6], kTileHidden);
    EXPECT_EQ(genkyu, 0);
}

TEST_F(PlayerTest, FalseWallLetsThePlayerThrough) {
    StartStage(7);  // column 7 of row 7 looks like a wall
    px = 224;
    py = 192;
    p_key_state = kDirDown;
    p_z_key_flag = 0;
    Frames(20);
    EXPECT_EQ(py, 192 + 20 * 4);
    EXPECT_EQ(state, kScenePlay);
}

TEST_F(PlayerTest, MissAnimationJumpsFallsWaitsAndRestarts) {
    EmptyStage(0, 64, 224, kDirRight);
    map[0][7][3] = kTileSpike;
    for (int i = 0; i < 10 && state == kScenePlay; ++i) Frame();
    ASSERT_EQ(state, kSceneMiss);
    int frames = 0;
    while (state == kSceneMiss && frames < 500) {
        Frame();
        ++frames;
    }
    EXPECT_EQ(state, kScenePlay);
    // 14 frames up (the 14th already turns and falls), 29 down to 480 (the
    // last one starts the wait), 74 more of waiting.
    EXPECT_EQ(frames, 14 + 29 + 74);
    EXPECT_EQ(px, 32);  // back at the stage's start
    EXPECT_EQ(p_key_state, kDirStanding);
}

}  // namespace
