// The stage layouts: only known characters, the treasure count each stage
// starts with, the five hidden items, the single false wall, the unused
// last layer, and open ground under the player's start.
#include <cstring>

#include "GameTestSupport.h"

namespace {

using StageDataTest = GameTest;

int CountCode(int stage, int code) {
    int n = 0;
    for (const auto& row : map_ex[stage])
        for (int cell : row) n += cell == code;
    return n;
}

TEST_F(StageDataTest, LayoutsUseOnlyKnownCharactersInFullRows) {
    for (int stage = 0; stage < kStageCount; ++stage) {
        for (int row = 0; row < kMapRows; ++row) {
            const char* text = kStageLayouts[stage][row];
            ASSERT_EQ(std::strlen(text), static_cast<size_t>(kMapColumns)) << stage << "/" << row;
            for (int column = 0; column < kMapColumns; ++column)
                EXPECT_GE(TileCodeOf(text[column]), 0) << stage << "/" << row << "/" << column;
        }
    }
}

TEST_F(StageDataTest, EachStageStartsWithAllItsTreasuresToCollect) {
    const int treasures[kStageCount] = {4, 5, 4, 6, 8, 8, 4, 3, 3, 4, 3, 4};
    for (int stage = 0; stage < kStageCount; ++stage) {
        EXPECT_EQ(CountCode(stage, kTileTreasure), treasures[stage]) << stage;
        stage_no = stage;
        p_init();
        EXPECT_EQ(t_count, treasures[stage]) << stage;
    }
}

TEST_F(StageDataTest, FiveHiddenItemsOneFalseWallAndAnEmptyLastLayer) {
    const int hidden[kStageCount] = {0, 0, 0, 1, 0, 1, 1, 1, 0, 0, 1, 0};
    int falseWalls = 0;
    for (int stage = 0; stage < kStageCount; ++stage) {
        EXPECT_EQ(CountCode(stage, kTileHidden), hidden[stage]) << stage;
        falseWalls += CountCode(stage, kTileFalseWall);
    }
    EXPECT_EQ(falseWalls, 1);
    EXPECT_EQ(map_ex[7][7][7], kTileFalseWall);
    EXPECT_EQ(CountCode(12, 0), kMapRows * kMapColumns);
    EXPECT_EQ(std::memcmp(map_ex, map_ex2, sizeof map_ex), 0);
}

TEST_F(StageDataTest, PlayerStartsOnOpenGroundInEveryStage) {
    for (int stage = 0; stage < kStageCount; ++stage) {
        stage_no = stage;
        init_start();
        init_general();
        for (int corner = 0; corner < 4; ++corner)
            EXPECT_EQ(TileAt(px + (corner & 1) * 31, py + (corner >> 1) * 31), kTileFloor) << "stage " << stage;
    }
}

}  // namespace
