// Best-first search over the decision points of a stage. Every frame is run
// by the game itself (RunScene with the key held); the search only chooses
// keys, saves and restores the state, and recognises misses and clears.
#include "StageSearch.h"

#include <chrono>
#include <queue>
#include <unordered_map>
#include <unordered_set>

#include "PlayState.h"
#include "game/GameState.h"
#include "game/Player.h"
#include "game/StageMaps.h"
#include "shell/Globals.h"

namespace solver {
namespace {

constexpr unsigned kArrows[4] = {kKeyLeft, kKeyRight, kKeyUp, kKeyDown};
// Standing at the start, the player may wait; it waits in steps of this many
// frames, up to the limit.
constexpr int kWaitStep = 4;
constexpr unsigned long kStandingLimit = 600;
// A leg between two decisions never lasts longer than this.
constexpr int kMaxLegFrames = 64;
// No stage needs more than this many frames of play.
constexpr unsigned long kFrameLimit = 12000;
// Weight of a pickup still to make against frames spent: the search goes
// deep toward the goal before it looks for quicker ways.
constexpr unsigned long kPickupWeight = 600;
// How often the search may stand in the same place, facing the same way,
// with the same pickups left, at different moments of the enemies' rounds.
constexpr int kVisitsPerPlace = 4;

struct Step {
    int64_t parent;
    unsigned long frame;
    unsigned key;  // 0: no press (waiting)
};

struct Open {
    unsigned long priority;
    unsigned long frame;
    int64_t step;
    PlayState play;
    bool operator<(const Open& o) const { return priority > o.priority; }
};

// Whether the player has just entered a new tile along its direction of
// motion: the one frame per tile crossed in which turning makes a difference.
bool EnteredTile() {
    const int along = p_key_state == kDirLeft || p_key_state == kDirRight ? px : py;
    return along % kTileSize < pm;
}

enum class Outcome { Decision, Miss, Clear, TooLong };

// Runs frames from a decision point with `key` held in the first frame,
// until the next decision point, a miss or a clear. *frame advances.
Outcome Advance(unsigned key, unsigned long* frame) {
    for (int frames = 1;; ++frames) {
        const int lastX = px, lastY = py;
        PushKey = frames == 1 ? key : 0;
        RunScene();
        ++*frame;
        if (state == kSceneClear) return Outcome::Clear;
        if (state != kScenePlay) return Outcome::Miss;
        if (*frame >= kFrameLimit) return Outcome::TooLong;
        if (p_key_state == kDirStanding) {
            if (frames >= kWaitStep) return Outcome::Decision;
            continue;
        }
        // Held by a wall or the screen edge, the player may wait there.
        const bool stuck = px == lastX && py == lastY;
        if (stuck || EnteredTile() || frames >= kMaxLegFrames) return Outcome::Decision;
    }
}

std::vector<Press> PathTo(const std::vector<Step>& steps, int64_t index) {
    std::vector<Press> presses;
    for (int64_t i = index; i >= 0; i = steps[i].parent) {
        if (steps[i].key != 0) presses.push_back({steps[i].frame, steps[i].key});
    }
    return {presses.rbegin(), presses.rend()};
}

}  // namespace

void EnterStage(int stage) {
    ResetGameGlobals();
    init_start();
    stage_no = stage;
    init_general();
    state = kScenePlay;
    PushKey = 0;
}

StageSolution SolveStage(const StageGoal& goal, uint64_t nodeLimit) {
    const auto started = std::chrono::steady_clock::now();
    StageSolution result;

    EnterStage(goal.stage);
    const PickupCells cells = PickupCells::Of(goal.stage);
    const int startGenkyu = genkyu;
    bool stageHasHidden = false;
    for (const auto& c : cells.cells) stageHasHidden |= c.code == kTileHidden;
    const bool wantHidden = goal.withHiddenItem && stageHasHidden;

    auto remaining = [&](const PlayState& p) {
        const int hiddenLeft = wantHidden && p.genkyu == startGenkyu ? 1 : 0;
        return static_cast<unsigned long>(p.t_count + hiddenLeft);
    };

    std::vector<Step> steps;
    std::unordered_set<uint64_t> seen;
    std::unordered_map<uint64_t, int> visits;
    auto placeKey = [](const PlayState& p) {
        return (static_cast<uint64_t>(p.present) << 32) ^ (static_cast<uint64_t>(p.genkyu) << 28) ^
               (static_cast<uint64_t>(p.p_key_state & 0xFF) << 20) ^ (static_cast<uint64_t>(p.px) << 10) ^
               static_cast<uint64_t>(p.py);
    };
    std::priority_queue<Open> open;
    const PlayState start = PlayState::Capture(cells);
    steps.push_back({-1, 0, 0});
    open.push({remaining(start) * kPickupWeight, 0, 0, start});
    seen.insert(start.Key());

    while (!open.empty() && result.nodes < nodeLimit) {
        const Open node = open.top();
        open.pop();
        ++result.nodes;
        const bool standing = node.play.p_key_state == kDirStanding;
        for (int choice = 0; choice < 5; ++choice) {
            const unsigned key = choice < 4 ? kArrows[choice] : 0;
            if (key == 0 && standing && node.frame >= kStandingLimit) continue;
            node.play.Restore(cells);
            unsigned long frame = node.frame;
            const Outcome outcome = Advance(key, &frame);
            if (outcome == Outcome::Miss || outcome == Outcome::TooLong) continue;
            if (outcome == Outcome::Clear) {
                const bool hiddenFound = genkyu > startGenkyu;
                if (hiddenFound != wantHidden) continue;
                steps.push_back({node.step, node.frame, key});
                result.found = true;
                result.presses = PathTo(steps, static_cast<int64_t>(steps.size()) - 1);
                result.clearFrame = frame - 1;
                break;
            }
            // A hidden item found when it is to be left makes this way useless.
            if (!wantHidden && genkyu > startGenkyu) continue;
            const PlayState next = PlayState::Capture(cells);
            if (!seen.insert(next.Key()).second) continue;
            if (++visits[placeKey(next)] > kVisitsPerPlace) continue;
            steps.push_back({node.step, node.frame, key});
            open.push({frame + remaining(next) * kPickupWeight, frame, static_cast<int64_t>(steps.size()) - 1, next});
        }
        if (result.found) break;
    }
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return result;
}

long CheckStage(int stage, const std::vector<Press>& presses, long frameLimit, bool* hiddenFound) {
    EnterStage(stage);
    const int startGenkyu = genkyu;
    size_t next = 0;
    for (long frame = 0; frame < frameLimit; ++frame) {
        unsigned key = 0;
        while (next < presses.size() && presses[next].frame < static_cast<unsigned long>(frame)) ++next;
        if (next < presses.size() && presses[next].frame == static_cast<unsigned long>(frame)) key = presses[next].key;
        PushKey = key;
        RunScene();
        if (state == kSceneClear) {
            if (hiddenFound) *hiddenFound = genkyu > startGenkyu;
            return frame;
        }
        if (state != kScenePlay) return -1;
    }
    return -1;
}

std::vector<Press> DropNeedlessPresses(int stage, const std::vector<Press>& presses) {
    bool hidden = false;
    const long cleared = CheckStage(stage, presses, static_cast<long>(kFrameLimit), &hidden);
    std::vector<Press> kept = presses;
    for (size_t i = kept.size(); i-- > 0;) {
        std::vector<Press> fewer = kept;
        fewer.erase(fewer.begin() + static_cast<long>(i));
        bool hiddenNow = false;
        if (CheckStage(stage, fewer, static_cast<long>(kFrameLimit), &hiddenNow) == cleared && hiddenNow == hidden)
            kept = std::move(fewer);
    }
    return kept;
}

}  // namespace solver
