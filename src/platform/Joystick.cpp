// The joystick and pad polls: scripted devices when headless, SDL's
// otherwise, and the axis conversion and dead zone both share.
#include "platform/Joystick.h"

#include <optional>

#include "platform/JoystickSdl.h"
#include "platform/Options.h"

namespace plat {

namespace {

std::optional<ScriptedJoystick> gScripted[2];
std::optional<GamepadState> gScriptedPad;

bool ValidNumber(int number) { return number == 0 || number == 1; }

}  // namespace

uint32_t AxisPosition(int value) {
    if (value < -32768) value = -32768;
    if (value > 32767) value = 32767;
    return static_cast<uint32_t>(value + 32768);
}

uint32_t ApplyDeadZone(uint32_t position) {
    if (position > 65535) position = 65535;
    const uint32_t offset = position > kJoystickRest ? position - kJoystickRest : kJoystickRest - position;
    return offset <= kJoystickDeadZone ? kJoystickRest : position;
}

void FillJoystickInfo(uint32_t x, uint32_t y, uint32_t buttons, JoystickInfo* info) {
    const bool deadZone = (info->flags & JOY_USEDEADZONE) != 0;
    if (info->flags & JOY_RETURNX) info->x = deadZone ? ApplyDeadZone(x) : (x > 65535 ? 65535 : x);
    if (info->flags & JOY_RETURNY) info->y = deadZone ? ApplyDeadZone(y) : (y > 65535 ? 65535 : y);
    if (info->flags & JOY_RETURNBUTTONS) info->buttons = buttons;
}

bool PollJoystick(int number, JoystickInfo* info) {
    if (!ValidNumber(number) || info == nullptr) return false;
    if (!GetOptions().headless) return detail::SdlPollJoystick(number, info);
    if (!gScripted[number]) return false;
    FillJoystickInfo(gScripted[number]->x, gScripted[number]->y, gScripted[number]->buttons, info);
    return true;
}

void JoystickConfigChanged() {
    if (!GetOptions().headless) detail::SdlJoystickConfigChanged();
}

bool PollGamepad(GamepadState* state) {
    if (state == nullptr) return false;
    if (!GetOptions().headless) return detail::SdlPollGamepad(state);
    if (!gScriptedPad) return false;
    *state = *gScriptedPad;
    return true;
}

void SetScriptedJoystick(int number, const ScriptedJoystick* state) {
    if (!ValidNumber(number)) return;
    if (state) {
        gScripted[number] = *state;
    } else {
        gScripted[number].reset();
    }
}

void SetScriptedGamepad(const GamepadState* state) {
    if (state) {
        gScriptedPad = *state;
    } else {
        gScriptedPad.reset();
    }
}

}  // namespace plat
