// Joysticks and gamepads: a poll of joystick 0 or 1 (the first two devices
// in SDL's order, game controllers included) and of the first game
// controller as a pad. With a window the devices are SDL's, plugged in or
// out at any time; headless they are scripted by the program, so that tests
// and replays never depend on the hardware that happens to be attached.
#pragma once

#include <cstdint>

namespace plat {

// What a poll is asked to return (any combination).
constexpr uint32_t JOY_RETURNX = 0x0001;
constexpr uint32_t JOY_RETURNY = 0x0002;
constexpr uint32_t JOY_RETURNBUTTONS = 0x0080;
constexpr uint32_t JOY_RETURNALL = 0x00FF;
// Axis readings within kJoystickDeadZone of the rest position read as it.
constexpr uint32_t JOY_USEDEADZONE = 0x0800;

// Axes run from 0 (left, up) to 65535 (right, down); the rest position is
// 32767. The dead zone is a quarter of the way to either end: worn or cheap
// sticks rarely come back closer than that to the middle.
constexpr uint32_t kJoystickRest = 32767;
constexpr uint32_t kJoystickDeadZone = 8192;

// One poll's answer. Fields that were not asked for are left alone.
struct JoystickInfo {
    uint32_t flags = 0;        // set by the caller: JOY_ flags
    uint32_t x = kJoystickRest;
    uint32_t y = kJoystickRest;
    uint32_t buttons = 0;  // bit i: button i + 1 held
};

// Polls joystick `number` (0 or 1). False when there is no such device (none
// plugged in, unplugged since, or a number other than 0 and 1); `info` is
// then untouched. A device plugged in after start-up is found by the next
// poll. For a game controller X and Y are the left stick (the D-pad, when
// pressed, drives them to the ends) and the buttons are A, B, X, Y, Back,
// Guide, Start, the stick presses and the shoulders in that order; for
// another joystick its first two axes (or first hat) and its buttons.
bool PollJoystick(int number, JoystickInfo* info);

// The joystick set may have changed: forget the devices held open, so that
// the next poll looks afresh.
void JoystickConfigChanged();

// The first game controller, as a player's pad.
struct GamepadState {
    bool up = false, down = false, left = false, right = false;  // D-pad
    int stickX = 0, stickY = 0;  // left stick, -32768..32767, +y is down
    bool a = false, b = false, x = false, y = false;  // the face buttons (A is Cross)
    bool back = false, start = false;                 // Back is Select
};
bool PollGamepad(GamepadState* state);

// ---- Headless -------------------------------------------------------------

// The scripted devices that headless polls report. A raw joystick state
// (axes as the device gives them, before the dead zone), or nullptr to
// unplug it; likewise the pad.
struct ScriptedJoystick {
    uint32_t x = kJoystickRest;
    uint32_t y = kJoystickRest;
    uint32_t buttons = 0;
};
void SetScriptedJoystick(int number, const ScriptedJoystick* state);
void SetScriptedGamepad(const GamepadState* state);

// ---- Shared by both sources (pure) ------------------------------------------

// A signed SDL axis value (-32768..32767) as an unsigned position 0..65535.
uint32_t AxisPosition(int value);
// The position as the dead zone makes it.
uint32_t ApplyDeadZone(uint32_t position);
// Fills the fields `info->flags` asks for from raw axes and buttons.
void FillJoystickInfo(uint32_t x, uint32_t y, uint32_t buttons, JoystickInfo* info);

}  // namespace plat
