// The music cues: each scene with music loops its own piece once, guarded by
// sound_state, and stops it when it is left. Effects go through PlayEffect so
// that a listener can follow them.
#include "game/SoundCues.h"

#include "game/Assets.h"
#include "game/GameState.h"
#include "sound/kaSound.h"

int sound_state = 0;
CueListener cueListener = nullptr;

namespace {

constexpr int kLastStage = 11;

void Notify(CueAction action, SoundCue cue) {
    if (cueListener) cueListener(action, cue);
}

void LoopMusic(int sound, SoundCue cue) {
    kaSound::Loop(sound, -1);
    Notify(CueAction::Loop, cue);
}

void StopMusic(int sound, SoundCue cue) {
    kaSound::Stop(sound, -1);
    Notify(CueAction::Stop, cue);
}

}  // namespace

const char* SoundCueName(SoundCue cue) {
    switch (cue) {
    case SoundCue::Op: return "op";
    case SoundCue::Main: return "main";
    case SoundCue::Select: return "select";
    case SoundCue::Boss: return "boss";
    case SoundCue::End1: return "end1";
    case SoundCue::End2: return "end2";
    case SoundCue::Staff: return "staff";
    case SoundCue::Clear: return "clear";
    case SoundCue::Cursor: return "cursor";
    case SoundCue::Push: return "push";
    case SoundCue::Miss: return "miss";
    case SoundCue::Get: return "get";
    case SoundCue::Genkyu: return "genkyu";
    }
    return "?";
}

void PlayEffect(int sound, SoundCue cue) {
    kaSound::Play(sound, -1);
    Notify(CueAction::Play, cue);
}

void sound() {
    if (sound_state != 0) return;
    switch (state) {
    case kSceneTitle: LoopMusic(ds_op, SoundCue::Op); break;
    case kSceneSelect: LoopMusic(ds_select, SoundCue::Select); break;
    case kScenePlay:
        if (stage_no == kLastStage) {
            LoopMusic(ds_boss, SoundCue::Boss);
        } else {
            LoopMusic(ds_Main1, SoundCue::Main);
        }
        break;
    case kSceneEnding1: LoopMusic(ds_end1, SoundCue::End1); break;
    case kSceneStaffRoll: LoopMusic(ds_staff, SoundCue::Staff); break;
    case kSceneEnding2: LoopMusic(ds_end2, SoundCue::End2); break;
    default: return;  // no music of its own: the guard stays open
    }
    sound_state = 1;
}

void sound_stop() {
    sound_state = 0;
    switch (state) {
    case kSceneTitle: StopMusic(ds_op, SoundCue::Op); break;
    case kSceneSelect: StopMusic(ds_select, SoundCue::Select); break;
    case kScenePlay:
    // The miss scene still carries the stage music: the last treasure taken
    // in the frame of a miss stops it from here.
    case kSceneMiss:
        StopMusic(ds_Main1, SoundCue::Main);
        StopMusic(ds_boss, SoundCue::Boss);
        break;
    case kSceneEnding1: StopMusic(ds_end1, SoundCue::End1); break;
    case kSceneStaffRoll: StopMusic(ds_staff, SoundCue::Staff); break;
    case kSceneEnding2: StopMusic(ds_end2, SoundCue::End2); break;
    default: break;
    }
}
