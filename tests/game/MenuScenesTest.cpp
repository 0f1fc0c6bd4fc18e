// Title and stage select: the Z latches, the cursor's limits, the lock of the
// last stage, and the stage intro banners.
#include "GameTestSupport.h"

namespace {

using MenuTest = GameTest;

TEST_F(MenuTest, TitleWaitsForAFreshZAndLeavesFiftyFramesLater) {
    Frames(5, kKeyZ);  // held since start-up: not a fresh press
    EXPECT_EQ(views.title.op_state, 0);
    EXPECT_EQ(CountCues(CueAction::Play, SoundCue::Push), 0);
    Frame();
    Frame(kKeyZ);  // frame A: accepted, start sound and title music stop at once
    EXPECT_EQ(CountCues(CueAction::Stop, SoundCue::Op), 1);
    EXPECT_EQ(CountCues(CueAction::Play, SoundCue::Push), 1);
    Frames(48);  // A + 1 .. A + 48
    EXPECT_EQ(state, kSceneTitle);
    Frame();  // A + 49
    EXPECT_EQ(state, kSceneSelect);
    EXPECT_EQ(views.title.op_state, 0);
    EXPECT_EQ(views.title.se_time, 0);
    Frame();  // A + 50: the select's first frame starts its music
    EXPECT_EQ(CountCues(CueAction::Loop, SoundCue::Select), 1);
    EXPECT_EQ(CountCues(CueAction::Play, SoundCue::Push), 1);
}

TEST_F(MenuTest, ZHeldFromTheTitleIntoTheSelectDoesNotStartAStage) {
    init_start();
    Frame();
    Frame(kKeyZ);
    Frames(60, kKeyZ);  // the title hands over while Z is still down
    ASSERT_EQ(state, kSceneSelect);
    Frames(10, kKeyZ);
    EXPECT_EQ(state, kSceneSelect);
    EXPECT_EQ(CountCues(CueAction::Play, SoundCue::Push), 1);
    Frame();
    Frame(kKeyZ);
    EXPECT_EQ(state, kSceneIntro);
}

struct CursorCase {
    int from;
    unsigned key;
    int to;
};

class CursorTest : public GameTest, public ::testing::WithParamInterface<CursorCase> {};

TEST_P(CursorTest, MovesWithinTheTwoRows) {
    state = kSceneSelect;
    stage_no = GetParam().from;
    key_left_state = key_right_state = 0;
    Frame(GetParam().key);
    EXPECT_EQ(stage_no, GetParam().to);
    EXPECT_EQ(CountCues(CueAction::Play, SoundCue::Cursor), stage_no != GetParam().from ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Limits, CursorTest,
                         ::testing::Values(CursorCase{6, kKeyRight, 6}, CursorCase{7, kKeyLeft, 7},
                                           CursorCase{0, kKeyLeft, 0}, CursorCase{11, kKeyRight, 11},
                                           CursorCase{5, kKeyUp, 5}, CursorCase{5, kKeyDown, 5},
                                           CursorCase{4, kKeyDown, 11}, CursorCase{11, kKeyUp, 4},
                                           CursorCase{6, kKeyLeft, 5}, CursorCase{7, kKeyRight, 8}));

TEST_F(MenuTest, HeldCursorKeysMoveOnce) {
    state = kSceneSelect;
    stage_no = 2;
    key_left_state = key_right_state = 0;
    Frames(20, kKeyRight);
    EXPECT_EQ(stage_no, 3);
    Frames(20, kKeyDown);
    EXPECT_EQ(stage_no, 10);
    Frames(20, kKeyUp);
    EXPECT_EQ(stage_no, 3);
    Frame();
    Frame(kKeyLeft);
    EXPECT_EQ(stage_no, 2);
}

TEST_F(MenuTest, LastStageOpensOnlyAfterTheOtherElevenAreCleared) {
    state = kSceneSelect;
    stage_no = 11;
    s_z_key_flag = 0;
    Frames(3, kKeyZ);
    EXPECT_EQ(state, kSceneSelect);
    EXPECT_EQ(CountCues(CueAction::Play, SoundCue::Push), 0);

    // Clearing the eleventh stage unlocks the twelfth on the way back.
    for (int i = 0; i < 11; ++i) stage_check[i] = 1;
    state = kSceneClear;
    views.clear.anime_time = 299;
    Frame();
    EXPECT_EQ(state, kSceneSelect);
    EXPECT_EQ(st12_flag, 1);
    EXPECT_EQ(clear_count, 0);

    stage_no = 11;
    Frame();
    Frame(kKeyZ);
    EXPECT_EQ(state, kSceneIntro);
    EXPECT_EQ(stage_no, 11);
}

TEST_F(MenuTest, StageWithoutBannerPassesTheIntroInOneFrame) {
    state = kSceneSelect;
    stage_no = 0;
    s_z_key_flag = 0;
    Frame(kKeyZ);
    ASSERT_EQ(state, kSceneIntro);
    Frame();
    EXPECT_EQ(state, kScenePlay);
}

TEST_F(MenuTest, BannerStagesWaitOneHundredFiftyFrames) {
    for (int stage : {6, 9}) {
        state = kSceneSelect;
        stage_no = stage;
        s_z_key_flag = 0;
        Frame(kKeyZ);
        Frame();
        ASSERT_EQ(state, kSceneIntro);
        Frames(148);
        EXPECT_EQ(state, kSceneIntro) << "stage " << stage;
        EXPECT_EQ(views.intro.e_time, 149);
        Frame();
        EXPECT_EQ(state, kScenePlay) << "stage " << stage;
        EXPECT_EQ(views.intro.e_time, 0);
    }
}

TEST_F(MenuTest, LeavingAStageWithZRestoresItsTreasures) {
    StartStage(0);
    map[0][2][10] = kTileFloor;
    t_count = 3;
    Frame();  // Z still held from the select is latched
    Frame(kKeyZ);
    ASSERT_EQ(state, kSceneSelect);
    Frame();
    Frame(kKeyZ);
    ASSERT_EQ(state, kSceneIntro);
    EXPECT_EQ(map[0][2][10], kTileTreasure);
    EXPECT_EQ(t_count, 4);
}

TEST_F(MenuTest, ZHeldFromTheSelectDoesNotLeaveThePlay) {
    state = kSceneSelect;
    s_z_key_flag = 0;
    Frame(kKeyZ);
    Frames(10, kKeyZ);
    EXPECT_EQ(state, kScenePlay);
}

}  // namespace
