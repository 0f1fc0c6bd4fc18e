// The first game controller as keys for players of programs that read only
// the keyboard: D-pad and left stick give the arrow keys (one at a time,
// pressed and released like keys), A (Cross) and Start give Z, Back
// (Select) gives Escape. The key messages go through the queue and the
// window procedure like a keyboard's, so recordings hold them as keys.
#pragma once

#include "platform/Joystick.h"

namespace shell {

// Direction bits of a pad.
constexpr unsigned kPadUp = 1, kPadDown = 2, kPadLeft = 4, kPadRight = 8;

// The left stick gives a direction once it is pushed past half way along
// its stronger axis, and keeps giving the held one down to three eighths.
constexpr int kStickPress = 16384;
constexpr int kStickKeep = 12288;

struct PadKeys {
    unsigned arrow = 0;      // VK_LEFT..VK_DOWN, or 0
    bool z = false;
    bool escape = false;
    unsigned directions = 0;  // the direction bits held, for the next step
};

// The keys the pad holds now. `before` is the previous step's answer: a
// direction that has just come on wins over one held longer; the arrow held
// stays while its direction does; when it goes, another still held takes
// over.
PadKeys PadKeysFor(const plat::GamepadState& pad, const PadKeys& before);

// On by default; --no-pad-keys turns it off.
void EnablePadKeys(bool on);
bool PadKeysEnabled();

// Polls the pad and posts key-down and key-up messages to the main window
// for every key that changed; a pad that goes away lets go of its keys.
// Returns true when it posted any.
bool PostPadKeys();
// Forgets what the pad held, without posting anything.
void ResetPadKeys();

}  // namespace shell
