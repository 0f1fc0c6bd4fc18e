// The pad's keys: the choice of the one arrow held from the D-pad and the
// stick, and the key messages posted when the choice changes.
#include "shell/PadKeys.h"

#include <cstdlib>

#include "shell/Globals.h"

namespace shell {

namespace {

bool gEnabled = true;
PadKeys gHeld;

// In the order a tie between directions that came on together is settled.
struct Direction {
    unsigned bit;
    unsigned key;
};
constexpr Direction kDirections[] = {
    {kPadUp, VK_UP}, {kPadDown, VK_DOWN}, {kPadLeft, VK_LEFT}, {kPadRight, VK_RIGHT}};

unsigned BitOfKey(unsigned key) {
    for (const Direction& d : kDirections) {
        if (d.key == key) return d.bit;
    }
    return 0;
}

unsigned FirstKeyIn(unsigned bits) {
    for (const Direction& d : kDirections) {
        if (bits & d.bit) return d.key;
    }
    return 0;
}

// The stick's direction along its stronger axis, or 0 inside the threshold.
unsigned StickDirection(const plat::GamepadState& pad, unsigned heldBit) {
    const int ax = std::abs(pad.stickX), ay = std::abs(pad.stickY);
    unsigned bit;
    int amount;
    if (ax >= ay) {
        bit = pad.stickX < 0 ? kPadLeft : kPadRight;
        amount = ax;
    } else {
        bit = pad.stickY < 0 ? kPadUp : kPadDown;
        amount = ay;
    }
    return amount >= (bit == heldBit ? kStickKeep : kStickPress) ? bit : 0;
}

void PostKey(unsigned key, bool down) {
    // lParam as a keyboard's: repeat count 1; on release also the
    // previous-state and transition bits.
    const LPARAM lParam = down ? 1 : (1 | (LPARAM{1} << 30) | (LPARAM{1} << 31));
    plat::PostMessage(hwnd, down ? WM_KEYDOWN : WM_KEYUP, key, lParam);
}

}  // namespace

PadKeys PadKeysFor(const plat::GamepadState& pad, const PadKeys& before) {
    PadKeys now;
    const unsigned heldBit = BitOfKey(before.arrow);
    now.directions = (pad.up ? kPadUp : 0) | (pad.down ? kPadDown : 0) | (pad.left ? kPadLeft : 0) |
                     (pad.right ? kPadRight : 0) | StickDirection(pad, heldBit);
    const unsigned fresh = now.directions & ~before.directions;
    if (fresh != 0) {
        now.arrow = FirstKeyIn(fresh);
    } else if (heldBit & now.directions) {
        now.arrow = before.arrow;
    } else {
        now.arrow = FirstKeyIn(now.directions);
    }
    now.z = pad.a || pad.start;
    now.escape = pad.back;
    return now;
}

void EnablePadKeys(bool on) { gEnabled = on; }
bool PadKeysEnabled() { return gEnabled; }

void ResetPadKeys() { gHeld = PadKeys{}; }

bool PostPadKeys() {
    if (!gEnabled || hwnd == nullptr) return false;
    plat::GamepadState pad;
    const PadKeys now = plat::PollGamepad(&pad) ? PadKeysFor(pad, gHeld) : PadKeys{};
    bool posted = false;
    auto change = [&posted](unsigned key, bool down) {
        PostKey(key, down);
        posted = true;
    };
    // The old arrow goes up before the new one goes down, as fingers do.
    if (now.arrow != gHeld.arrow) {
        if (gHeld.arrow != 0) change(gHeld.arrow, false);
        if (now.arrow != 0) change(now.arrow, true);
    }
    if (now.z != gHeld.z) change('Z', now.z);
    if (now.escape != gHeld.escape) change(VK_ESCAPE, now.escape);
    gHeld = now;
    return posted;
}

}  // namespace shell
