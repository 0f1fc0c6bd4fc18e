// Temporary definitions so that everything links; replaced piece by piece.
#include "shell/kaJoystick.h"

void kaJoystick::Init() { }
