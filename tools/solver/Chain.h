// Whole-game scripts: from program start through the title, the stage select
// and every stage (each played with its stored solution) to an ending, the
// staff roll and the title again.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "StageSearch.h"
#include "shell/ScriptedRun.h"

namespace solver {

using StagePlan = std::array<std::vector<Press>, 12>;

// Builds the script; false with a reason if some step did not go as planned.
bool ChainWholeGame(const StagePlan& plan, std::vector<shell::ScriptEvent>* script, std::string* error);

// Replays a script from program start and checks that it passes through all
// twelve stages, reaches `ending` (6 or 8), then the staff roll, then the
// title. Returns the scene changes as trace lines; false with a reason.
bool VerifyWholeGame(const std::vector<shell::ScriptEvent>& script, int ending, std::vector<std::string>* trace,
                     std::string* error);

}  // namespace solver
