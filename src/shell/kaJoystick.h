// kaJoystick: polling of up to two joysticks (numbers 0 and 1): raw and
// digital stick readings, a numeric-keypad direction, four buttons with edge
// detection, and analog values that ramp with the frame time while held.
#pragma once

#include "platform/Joystick.h"

class kaJoystick {
public:
    // Per joystick: the ramped values and the buttons' edge states.
    struct _analog {
        float X, Y;       // -100..100
        float DefAddXY;   // stick ramp, units per second
        float B[4];       // 0..100
        float DefAddB;    // button ramp, units per second
        int InfoB[4];     // 0 up, 1 just pressed, 3 held, 2 just released
    };

    static long CenterX[2];
    static long CenterY[2];

    static void Init();
    static void InitCenter();
    static void InitAnalog();
    static void SetAnalog(int JoystickNo, float Stick, float Button);
    static void CenterPos(int JoystickNo, int* PosX, int* PosY);
    static int Button(int JoystickNo, int ButtonNo);
    static int ButtonInfo(int JoystickNo, int ButtonNo);
    static void Buttons(int JoystickNo, int* B1, int* B2, int* B3, int* B4);
    static void ButtonsInfo(int JoystickNo, int* B1, int* B2, int* B3, int* B4);
    static int AnalogButton(int JoystickNo, int ButtonNo);
    static void AnalogButtons(int JoystickNo, int* B1, int* B2, int* B3, int* B4);
    static void Stick(int JoystickNo, int* PosX, int* PosY);
    static int StickTenkey(int JoystickNo);
    static void StickPos(int JoystickNo, int* PosX, int* PosY);
    static void AnalogStick(int JoystickNo, int* PosX, int* PosY);
};

// The two joysticks' ramps and edge states, and the record every poll fills.
extern kaJoystick::_analog Analog[2];
extern plat::JoystickInfo JoyInfo;
