// Chaining stage solutions into whole-game scripts, and checking them by
// replaying them on the game.
#include "Chain.h"

#include <map>
#include <queue>

#include "Driver.h"
#include "game/GameState.h"
#include "game/GameTrace.h"

namespace solver {
namespace {

constexpr unsigned long kSceneLimit = 20000;  // longer than any scene lasts

// Moves the stage-select cursor to `target` by the fewest key taps, each tap
// tried on the game itself (a tap is one frame down, one frame up).
bool MoveCursor(Driver& driver, int target) {
    const unsigned taps[4] = {kKeyLeft, kKeyRight, kKeyUp, kKeyDown};
    const Driver::Mark start = driver.Save();
    std::map<int, std::vector<unsigned>> route;
    std::queue<Driver::Mark> open;
    route[stage_no] = {};
    open.push(start);
    while (!open.empty() && !route.count(target)) {
        const Driver::Mark mark = open.front();
        open.pop();
        driver.Restore(mark);
        const std::vector<unsigned> path = route[stage_no];
        for (unsigned tap : taps) {
            driver.Restore(mark);
            driver.Step(tap);
            driver.Step();
            if (state != kSceneSelect || route.count(stage_no)) continue;
            route[stage_no] = path;
            route[stage_no].push_back(tap);
            open.push(driver.Save());
        }
    }
    driver.Restore(start);
    if (!route.count(target)) return false;
    for (unsigned tap : route[target]) {
        driver.Step(tap);
        driver.Step();
    }
    return stage_no == target && state == kSceneSelect;
}

bool Fail(std::string* error, const std::string& why, const Driver& driver) {
    if (error) *error = why + " (frame " + std::to_string(driver.Frame()) + ", state " + std::to_string(state) + ")";
    return false;
}

}  // namespace

bool ChainWholeGame(const StagePlan& plan, std::vector<shell::ScriptEvent>* script, std::string* error) {
    Driver driver;
    // Title: Z must be up for a frame before a press counts.
    driver.Step();
    driver.Step(kKeyZ);
    if (!driver.StepUntil([] { return state == kSceneSelect; }, kSceneLimit))
        return Fail(error, "the title did not lead to the stage select", driver);

    for (int stage = 0; stage < kStageCount; ++stage) {
        if (!MoveCursor(driver, stage))
            return Fail(error, "cannot move the cursor to stage " + std::to_string(stage + 1), driver);
        driver.Step();  // Z up for a frame, whatever the latch says
        driver.Step(kKeyZ);
        if (state != kSceneIntro) return Fail(error, "stage " + std::to_string(stage + 1) + " did not start", driver);
        if (!driver.StepUntil([] { return state == kScenePlay; }, kSceneLimit))
            return Fail(error, "the intro did not end", driver);

        // Play: frame 0 of the solution is the first frame of play.
        const std::vector<Press>& presses = plan[stage];
        size_t next = 0;
        for (unsigned long frame = 0; state == kScenePlay; ++frame) {
            if (frame > kSceneLimit) return Fail(error, "stage " + std::to_string(stage + 1) + " went on", driver);
            unsigned key = 0;
            if (next < presses.size() && presses[next].frame == frame) key = presses[next++].key;
            driver.Step(key);
        }
        if (state != kSceneClear) return Fail(error, "stage " + std::to_string(stage + 1) + " was not cleared", driver);
        if (!driver.StepUntil([] { return state != kSceneClear; }, kSceneLimit))
            return Fail(error, "the clear scene did not end", driver);
        if (stage < kStageCount - 1 && state != kSceneSelect)
            return Fail(error, "no return to the select after stage " + std::to_string(stage + 1), driver);
    }

    if (state != kSceneEnding1 && state != kSceneEnding2) return Fail(error, "no ending after the last stage", driver);
    if (!driver.StepUntil([] { return state == kSceneStaffRoll && views.staff.s_pt == 4; }, kSceneLimit))
        return Fail(error, "the staff roll did not reach its last page", driver);
    driver.Step();  // Z must be seen up on the last page first
    driver.Step(kKeyZ);
    if (state != kSceneTitle) return Fail(error, "the staff roll did not return to the title", driver);
    driver.Step();  // lets Z up again
    *script = driver.Events();
    return true;
}

bool VerifyWholeGame(const std::vector<shell::ScriptEvent>& script, int ending, std::vector<std::string>* trace,
                     std::string* error) {
    const unsigned long frames = script.empty() ? 0 : script.back().frame + 1;
    std::vector<int> scenes;
    bool stagesSeen[kStageCount] = {};
    PlayScript(script, frames, [&](unsigned long frame, int before) {
        if (state == before) return;
        scenes.push_back(state);
        if (state == kScenePlay && before == kSceneIntro) stagesSeen[stage_no] = true;
        if (trace) trace->push_back("frame " + std::to_string(frame) + " " + SceneChangeText(before, state));
    });
    for (int stage = 0; stage < kStageCount; ++stage) {
        if (!stagesSeen[stage]) {
            if (error) *error = "stage " + std::to_string(stage + 1) + " was never played";
            return false;
        }
    }
    // The end of the run: the ending, the staff roll, the title.
    const std::vector<int> tail = {ending, kSceneStaffRoll, kSceneTitle};
    if (scenes.size() < tail.size() || !std::equal(tail.begin(), tail.end(), scenes.end() - tail.size())) {
        if (error) *error = "the run does not end with scene " + std::to_string(ending) + ", then 7, then 0";
        return false;
    }
    for (int scene : scenes) {
        if (scene == kSceneMiss) {
            if (error) *error = "the run has a miss";
            return false;
        }
    }
    return true;
}

}  // namespace solver
