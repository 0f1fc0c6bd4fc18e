// kaJoystick: polling of up to two joysticks.
#pragma once

class kaJoystick {
public:
    static void Init();
};
