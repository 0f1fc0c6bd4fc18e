// Internal to the platform layer: the joystick and pad polls on SDL's
// devices. Starts SDL's game-controller subsystem on first use (no display
// needed).
#pragma once

#include "platform/Joystick.h"

namespace plat::detail {

bool SdlPollJoystick(int number, JoystickInfo* info);
bool SdlPollGamepad(GamepadState* state);
void SdlJoystickConfigChanged();

}  // namespace plat::detail
