// What the trace of a scripted run reports about the game: every frame that
// changes the scene, with the stage, the treasures left and the hidden items
// found, and every sound cue; and when a replay may consider the game at rest.
#pragma once

#include <string>

// Called by MainScreen at the end of each frame with the scene it began in.
void NoteFrameEnd(int stateBefore);

// "state A -> B stage S treasures T found G" for the current globals.
std::string SceneChangeText(int stateBefore, int stateAfter);

// Connects the game to the shell's trace and replay: the cue listener, and the
// rest check (the game has come back to the title).
void InstallGameTrace();

// True once the game has returned to the title after having left it.
bool GameBackOnTitle();
