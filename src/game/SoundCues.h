// Music of the scenes (started once per scene, stopped when a scene is left)
// and the sound effects, with a hook through which a listener (the trace of a
// scripted run, a test) hears every cue.
#pragma once

extern int sound_state;

void sound();
void sound_stop();

// The game's sounds, as a listener names them.
enum class SoundCue {
    Op, Main, Select, Boss, End1, End2, Staff, Clear, Cursor, Push, Miss, Get, Genkyu,
};
const char* SoundCueName(SoundCue cue);

enum class CueAction { Loop, Stop, Play };

// Called for every music loop, music stop and effect the game starts.
using CueListener = void (*)(CueAction action, SoundCue cue);
extern CueListener cueListener;

// Plays a single effect on the next free mix buffer.
void PlayEffect(int sound, SoundCue cue);
