// The solver: searches, on the game's own code run headless, for key presses
// that clear each stage (and, where a stage hides an item, presses that also
// find it), stores them, and chains them into whole-game scripts from the
// title to each ending and back to the title.
//
//   solver [--out DIR] [--stages LIST] [--chain-only] [--nodes N]
//   solver --play SCRIPT [FRAMES]
//
// DIR (default resources/replays) receives stages/stage-NN.txt,
// stages/stage-NN-hidden.txt, game-ending1.txt and game-ending2.txt.
// --stages searches only the stages listed (1-based, comma separated) and
// takes the others from DIR; --chain-only searches nothing. --play replays a
// whole-game script in-process and prints its scene changes as the game's
// trace would.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "Chain.h"
#include "StageSearch.h"
#include "Driver.h"
#include "game/GameTrace.h"
#include "game/GameState.h"
#include "game/StageMaps.h"

namespace {

// ---- Init -------------------------------------------------------------------

struct Settings {
    std::string out = "resources/replays";
    std::set<int> stages;  // 0-based; empty with search: all
    bool search = true;
    uint64_t nodes = 3000000;
};

bool ParseArgs(int argc, char** argv, Settings* settings) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--out" && hasValue) {
            settings->out = argv[++i];
        } else if (arg == "--stages" && hasValue) {
            std::stringstream list(argv[++i]);
            std::string item;
            while (std::getline(list, item, ',')) {
                const int n = std::atoi(item.c_str());
                if (n < 1 || n > kStageCount) return false;
                settings->stages.insert(n - 1);
            }
        } else if (arg == "--chain-only") {
            settings->search = false;
        } else if (arg == "--nodes" && hasValue) {
            settings->nodes = std::strtoull(argv[++i], nullptr, 10);
        } else {
            return false;
        }
    }
    if (settings->search && settings->stages.empty())
        for (int stage = 0; stage < kStageCount; ++stage) settings->stages.insert(stage);
    return true;
}

bool StageHasHiddenItem(int stage) {
    for (const auto& row : map_ex[stage])
        for (int cell : row)
            if (cell == kTileHidden) return true;
    return false;
}

std::string StageFile(const Settings& settings, int stage, bool hidden) {
    char name[64];
    std::snprintf(name, sizeof name, "/stages/stage-%02d%s.txt", stage + 1, hidden ? "-hidden" : "");
    return settings.out + name;
}

// ---- Script files -------------------------------------------------------------

bool WriteScript(const std::string& path, const std::string& header, const std::vector<shell::ScriptEvent>& events) {
    std::ofstream file(path);
    if (!file) return false;
    file << header;
    for (const auto& event : events) file << shell::FormatScriptEvent(event) << '\n';
    return static_cast<bool>(file);
}

// A press holds its key for one frame; when the next press follows at once,
// the release and the new press reach the game before the same frame.
std::vector<shell::ScriptEvent> PressesToEvents(const std::vector<solver::Press>& presses) {
    std::vector<shell::ScriptEvent> events;
    for (const auto& press : presses) {
        events.push_back({press.frame, press.key, true});
        events.push_back({press.frame + 1, press.key, false});
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const shell::ScriptEvent& a, const shell::ScriptEvent& b) { return a.frame < b.frame; });
    return events;
}

bool ReadPresses(const std::string& path, std::vector<solver::Press>* presses) {
    std::ifstream file(path);
    if (!file) return false;
    std::stringstream text;
    text << file.rdbuf();
    std::vector<shell::ScriptEvent> events;
    std::string error;
    if (!shell::ParseInputScript(text.str(), &events, &error)) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    presses->clear();
    for (const auto& event : events)
        if (event.down) presses->push_back({event.frame, event.key});
    return true;
}

// ---- Update -------------------------------------------------------------------

bool SearchStage(const Settings& settings, int stage, bool hidden) {
    const solver::StageSolution solution = solver::SolveStage({stage, hidden}, settings.nodes);
    std::printf("stage %2d%s: %s in %.2f s, %llu nodes", stage + 1, hidden ? " hidden" : "       ",
                solution.found ? "solved" : "NOT SOLVED", solution.seconds,
                static_cast<unsigned long long>(solution.nodes));
    if (!solution.found) {
        std::printf("\n");
        return false;
    }
    const std::vector<solver::Press> presses = solver::DropNeedlessPresses(stage, solution.presses);
    bool hiddenFound = false;
    const long cleared = solver::CheckStage(stage, presses, 20000, &hiddenFound);
    std::printf(", cleared on frame %ld of play with %zu presses\n", cleared, presses.size());
    std::fflush(stdout);
    if (cleared < 0 || hiddenFound != (hidden && StageHasHiddenItem(stage))) {
        std::fprintf(stderr, "stage %d: the solution does not replay\n", stage + 1);
        return false;
    }
    std::string header = "# Stage " + std::to_string(stage + 1) + (hidden ? ", finding its hidden item" : "") +
                         ": cleared on frame " + std::to_string(cleared) +
                         " of play.\n# Frames count from the first frame of play (0), not from program start.\n";
    if (!WriteScript(StageFile(settings, stage, hidden), header, PressesToEvents(presses))) {
        std::fprintf(stderr, "cannot write %s\n", StageFile(settings, stage, hidden).c_str());
        return false;
    }
    return true;
}

bool ChainEnding(const Settings& settings, int ending) {
    solver::StagePlan plan;
    for (int stage = 0; stage < kStageCount; ++stage) {
        const bool hidden = ending == kSceneEnding1 && StageHasHiddenItem(stage);
        if (!ReadPresses(StageFile(settings, stage, hidden), &plan[stage])) {
            std::fprintf(stderr, "missing %s\n", StageFile(settings, stage, hidden).c_str());
            return false;
        }
    }
    std::vector<shell::ScriptEvent> script;
    std::string error;
    if (!solver::ChainWholeGame(plan, &script, &error)) {
        std::fprintf(stderr, "ending %d: %s\n", ending, error.c_str());
        return false;
    }
    std::vector<std::string> trace;
    if (!solver::VerifyWholeGame(script, ending, &trace, &error)) {
        std::fprintf(stderr, "ending %d: %s\n", ending, error.c_str());
        return false;
    }
    const std::string name = ending == kSceneEnding1 ? "game-ending1.txt" : "game-ending2.txt";
    const std::string header =
        std::string("# The whole game from the title to the ") +
        (ending == kSceneEnding1 ? "first ending (all five hidden items found)" : "second ending") +
        ", the staff roll and the title again.\n# Written by the solver (tools/solver); " +
        std::to_string(script.back().frame + 1) + " frames.\n";
    if (!WriteScript(settings.out + "/" + name, header, script)) return false;
    std::printf("%s: %zu events, %lu frames, %zu scene changes\n", name.c_str(), script.size(),
                script.back().frame + 1, trace.size());
    return true;
}

}  // namespace

// ---- Main ---------------------------------------------------------------------

int PlayOnly(const std::string& path, unsigned long frames) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    std::vector<shell::ScriptEvent> events;
    std::string error;
    if (!file || !shell::ParseInputScript(text.str(), &events, &error)) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), file ? error.c_str() : "cannot read");
        return 1;
    }
    if (frames == 0) frames = events.empty() ? 1 : events.back().frame + 1;
    solver::PlayScript(events, frames, [](unsigned long frame, int before) {
        if (state != before) std::printf("frame %lu %s\n", frame, SceneChangeText(before, state).c_str());
    });
    return 0;
}

int main(int argc, char** argv) {
    if (argc >= 3 && std::string(argv[1]) == "--play")
        return PlayOnly(argv[2], argc >= 4 ? std::strtoul(argv[3], nullptr, 10) : 0);
    Settings settings;
    if (!ParseArgs(argc, argv, &settings)) {
        std::fprintf(stderr, "usage: solver [--out DIR] [--stages LIST] [--chain-only] [--nodes N]\n");
        return 2;
    }
    // The folders first: a search of many seconds must not end in failing writes.
    std::error_code made;
    std::filesystem::create_directories(settings.out + "/stages", made);
    if (made) {
        std::fprintf(stderr, "cannot make %s/stages: %s\n", settings.out.c_str(), made.message().c_str());
        return 1;
    }
    bool ok = true;
    if (settings.search) {
        for (int stage : settings.stages) {
            ok &= SearchStage(settings, stage, false);
            if (StageHasHiddenItem(stage)) ok &= SearchStage(settings, stage, true);
        }
    }
    ok = ok && ChainEnding(settings, kSceneEnding1) && ChainEnding(settings, kSceneEnding2);
    return ok ? 0 : 1;
}
