// The game's side of a scripted run: trace lines for scene changes and sound
// cues, and the rest check that lets a headless replay end on the title.
#include "game/GameTrace.h"

#include <cstdio>

#include "game/GameState.h"
#include "game/SoundCues.h"
#include "shell/ScriptedRun.h"

namespace {

bool leftTitle = false;
bool backOnTitle = false;

void TraceCue(CueAction action, SoundCue cue) {
    if (!shell::TraceEnabled()) return;
    const char* verb = action == CueAction::Loop ? "music" : action == CueAction::Stop ? "music-stop" : "sound";
    shell::TraceLine(std::string(verb) + " " + SoundCueName(cue));
}

bool RestCheck() { return GameBackOnTitle(); }

}  // namespace

std::string SceneChangeText(int stateBefore, int stateAfter) {
    char text[96];
    std::snprintf(text, sizeof text, "state %d -> %d stage %d treasures %d found %d", stateBefore, stateAfter,
                  stage_no + 1, t_count, genkyu);
    return text;
}

void NoteFrameEnd(int stateBefore) {
    if (state != kSceneTitle) {
        leftTitle = true;
        backOnTitle = false;
    } else if (leftTitle) {
        backOnTitle = true;
    }
    if (state != stateBefore && shell::TraceEnabled()) shell::TraceLine(SceneChangeText(stateBefore, state));
}

bool GameBackOnTitle() { return backOnTitle; }

void InstallGameTrace() {
    cueListener = TraceCue;
    shell::SetRestCheck(RestCheck);
}
