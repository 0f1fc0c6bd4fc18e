// Search for key presses that clear one stage, run on the game's own frame
// code: from the first frame of play, the player may change direction
// whenever it stands on the tile grid (or still stands at the start); the
// search keeps the cheapest way found to every distinct game situation.
#pragma once

#include <cstdint>
#include <vector>

namespace solver {

// A key pressed for one frame, `frame` counted from the first frame of play.
struct Press {
    unsigned long frame;
    unsigned key;
};

struct StageGoal {
    int stage = 0;
    bool withHiddenItem = false;  // also find the stage's hidden item; else leave it
};

struct StageSolution {
    bool found = false;
    std::vector<Press> presses;
    unsigned long clearFrame = 0;  // the frame of play in which the stage is cleared
    uint64_t nodes = 0;            // search nodes expanded
    double seconds = 0;
};

StageSolution SolveStage(const StageGoal& goal, uint64_t nodeLimit);

// Plays `presses` on a fresh attempt at the stage and returns the frame of
// play in which it was cleared, or -1 if it was not (a miss, or no clear
// within `frameLimit`). *hiddenFound tells whether the hidden item was found.
long CheckStage(int stage, const std::vector<Press>& presses, long frameLimit, bool* hiddenFound);

// The presses without those that change nothing: the same clear on the same
// frame, with the same outcome for the hidden item.
std::vector<Press> DropNeedlessPresses(int stage, const std::vector<Press>& presses);

// Puts the game into the state of the first frame of play of `stage` in a
// new game.
void EnterStage(int stage);

}  // namespace solver
