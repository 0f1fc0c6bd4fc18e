// What follows a stage: a clear wins over a miss in the same frame, the music
// of the stage survives a miss and gives way to the select's, the choice of
// ending, the endings' length, and the staff roll starting a new game.
#include "GameTestSupport.h"

namespace {

using StageFlowTest = GameTest;

// Stage 1 with one treasure left just right of the walking player and a slime
// that touches the player in the same frame.
void LastTreasureUnderASlime() {
    GameTest::EmptyStage(0, 34, 64, kDirRight);
    map[0][2][2] = kTileTreasure;
    t_count = 1;
    GameTest::PlaceSlime(0, 30, 56, 1, 2);  // its box holds the player's upper-left probe
}

TEST_F(StageFlowTest, LastTreasureBeatsAMissInTheSameFrame) {
    LastTreasureUnderASlime();
    sound_state = 1;
    Frame();
    EXPECT_EQ(CountCues(CueAction::Play, SoundCue::Miss), 1);
    EXPECT_EQ(state, kSceneClear);
    EXPECT_EQ(stage_check[0], 1);
    // The stage music stops although the miss had already been declared.
    EXPECT_EQ(CountCues(CueAction::Stop, SoundCue::Main), 1);
    EXPECT_EQ(sound_state, 0);
}

TEST_F(StageFlowTest, StageMusicPlaysOnThroughAMiss) {
    EmptyStage(0, 64, 224, kDirRight);
    map[0][7][3] = kTileSpike;
    for (int i = 0; i < 10 && state == kScenePlay; ++i) Frame();
    ASSERT_EQ(state, kSceneMiss);
    for (int i = 0; i < 200 && state == kSceneMiss; ++i) Frame();
    ASSERT_EQ(state, kScenePlay);
    Frames(5);
    EXPECT_EQ(CountCues(CueAction::Loop, SoundCue::Main), 1);
    EXPECT_EQ(CountCues(CueAction::Stop, SoundCue::Main), 0);

    // Back to the select: both stage pieces stop, the select's starts.
    Frame(kKeyZ);
    EXPECT_EQ(state, kSceneSelect);
    EXPECT_EQ(CountCues(CueAction::Stop, SoundCue::Main), 1);
    EXPECT_EQ(CountCues(CueAction::Stop, SoundCue::Boss), 1);
    EXPECT_EQ(CountCues(CueAction::Loop, SoundCue::Select), 0);
    Frame();
    EXPECT_EQ(CountCues(CueAction::Loop, SoundCue::Select), 1);
}

TEST_F(StageFlowTest, LastStageHasItsOwnMusic) {
    StartStage(11);
    Frames(3);
    EXPECT_EQ(CountCues(CueAction::Loop, SoundCue::Boss), 1);
    EXPECT_EQ(CountCues(CueAction::Loop, SoundCue::Main), 0);
}

void ClearAllStages(int found) {
    for (int& cleared : stage_check) cleared = 1;
    genkyu = found;
    stage_no = 11;
    state = kSceneClear;
    views.clear.anime_time = 299;
    GameTest::Frame();
}

TEST_F(StageFlowTest, AllFiveHiddenItemsLeadToTheFirstEnding) {
    ClearAllStages(5);
    EXPECT_EQ(state, kSceneEnding1);
    EXPECT_EQ(CountCues(CueAction::Loop, SoundCue::End1), 1);

    // 200 frames of waiting; the treasure starts falling in the last of them
    // and lands 223 frames later, in the frame that starts the 5800 of text.
    Frames(199);
    EXPECT_EQ(views.ending1.e_pt, 0);
    Frame();
    EXPECT_EQ(views.ending1.e_pt, 1);
    EXPECT_EQ(views.ending1.e_takara_y, 1);
    Frames(222);
    EXPECT_EQ(views.ending1.e_pt, 1);
    Frame();
    EXPECT_EQ(views.ending1.e_pt, 2);
    EXPECT_EQ(views.ending1.e_takara_y, 224);
    EXPECT_EQ(views.ending1.e_anime_time, 1);
    Frames(5798);
    EXPECT_EQ(state, kSceneEnding1);
    Frame();  // frame 6222 of the scene
    EXPECT_EQ(state, kSceneStaffRoll);
    EXPECT_EQ(CountCues(CueAction::Stop, SoundCue::End1), 1);
    // A later first ending shows the treasure falling from the top again.
    EXPECT_EQ(views.ending1.e_takara_y, 0);
    EXPECT_EQ(views.ending1.e_pt, 0);
}

TEST_F(StageFlowTest, FewerHiddenItemsLeadToTheSecondEnding) {
    ClearAllStages(4);
    EXPECT_EQ(state, kSceneEnding2);
    EXPECT_EQ(CountCues(CueAction::Loop, SoundCue::End2), 1);
    Frames(2999);
    EXPECT_EQ(state, kSceneEnding2);
    Frame();
    EXPECT_EQ(state, kSceneStaffRoll);
    EXPECT_EQ(CountCues(CueAction::Stop, SoundCue::End2), 1);
    EXPECT_EQ(CountCues(CueAction::Loop, SoundCue::Staff), 1);  // in the same frame
}

// Runs the staff roll until its last page.
void RollToTheLastPage(unsigned key) {
    for (int i = 0; i < 3000 && views.staff.s_pt != 4; ++i) GameTest::Frame(key);
}

TEST_F(StageFlowTest, StaffRollEndsOnAFreshZWithANewGame) {
    init_start();
    ClearAllStages(5);
    map_ex2[3][7][6] = kTileFloor;  // found in this game
    state = kSceneStaffRoll;
    RollToTheLastPage(kKeyZ);
    ASSERT_EQ(views.staff.s_pt, 4);
    EXPECT_EQ(staff_y, 220);
    Frames(10, kKeyZ);  // held on arrival: ignored
    EXPECT_EQ(state, kSceneStaffRoll);
    Frame();
    Frame(kKeyZ);
    EXPECT_EQ(state, kSceneTitle);
    EXPECT_EQ(CountCues(CueAction::Stop, SoundCue::Staff), 1);
    EXPECT_EQ(genkyu, 0);
    EXPECT_EQ(st12_flag, 0);
    for (int cleared : stage_check) EXPECT_EQ(cleared, 0);
    EXPECT_EQ(map_ex2[3][7][6], kTileHidden);

    // The roll of the next game starts from its top, below the screen.
    EXPECT_EQ(views.staff.s_pt, 0);
    EXPECT_EQ(staff_y, 544);
}

TEST_F(StageFlowTest, StaffRollTakesItsTimeBeforeTheLastPage) {
    state = kSceneStaffRoll;
    int frames = 0;
    while (views.staff.s_pt != 4 && frames < 5000) {
        Frame();
        ++frames;
    }
    // From 544 to -66, twice from 512 to -66, then from 512 to 220; each new
    // strip takes its first step in the frame the one before it left.
    EXPECT_EQ(frames, 610 + 577 + 577 + 291);
    EXPECT_EQ(staff_y, 220);
}

TEST_F(StageFlowTest, StaffRollStripsHandOverWithinTheFrame) {
    state = kSceneStaffRoll;
    Frames(609);
    EXPECT_EQ(views.staff.s_pt, 0);
    EXPECT_EQ(staff_y, -65);
    Frame();  // the first strip leaves; the second moves up from 512 at once
    EXPECT_EQ(views.staff.s_pt, 1);
    EXPECT_EQ(staff_y, 511);
}

}  // namespace
