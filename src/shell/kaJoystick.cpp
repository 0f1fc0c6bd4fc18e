// kaJoystick: every call polls the platform afresh. Joystick numbers other
// than 0 and 1 and button numbers outside 1..4 are treated as a failed poll,
// and the ramped values never leave their ranges, whatever speed was set.
#include "shell/kaJoystick.h"

#include <cmath>

#include "draw/kaDraw.h"
#include "shell/Globals.h"
#include "shell/kaSystem.h"

long kaJoystick::CenterX[2];
long kaJoystick::CenterY[2];
kaJoystick::_analog Analog[2];
plat::JoystickInfo JoyInfo;

namespace {

bool ValidJoystick(int n) { return n == 0 || n == 1; }
bool ValidButton(int b) { return b >= 1 && b <= 4; }

bool Poll(int n, uint32_t flags) {
    if (!ValidJoystick(n)) return false;
    JoyInfo.flags = flags;
    return plat::PollJoystick(n, &JoyInfo);
}
bool PollButtons(int n) { return Poll(n, plat::JOY_RETURNBUTTONS); }
bool PollStick(int n) { return Poll(n, plat::JOY_RETURNX | plat::JOY_RETURNY | plat::JOY_USEDEADZONE); }

bool Held(int b) { return (JoyInfo.buttons >> (b - 1) & 1u) != 0; }

void Put(int* out, int value) {
    if (out != nullptr) *out = value;
}

// -1, 0, 1 against the rest position: the outer quarters of each side count.
int Classify(uint32_t position, long center) {
    const long p = static_cast<long>(position);
    const long half = center / 2;
    if (p <= half) return -1;
    if (p >= center + half) return 1;
    return 0;
}
int Horizontal(int n) { return Classify(JoyInfo.x, kaJoystick::CenterX[n]); }
int Vertical(int n) { return Classify(JoyInfo.y, kaJoystick::CenterY[n]); }

// A ramped value back inside its range; a speed that made it NaN gives 0.
float Bound(float value, float low, float high) {
    if (std::isnan(value)) return 0.0f;
    return value < low ? low : (value > high ? high : value);
}

// One step of the edge detector, silenced while fades, the help page or a
// keyboard lock own the input.
int StepEdge(int* state, bool pressed) {
    if (pressed) {
        *state = *state == 0 ? 1 : 3;
    } else {
        *state = (*state == 1 || *state == 3) ? 2 : 0;
    }
    if (kaDraw::FadeNo != 0 || kaDraw::HelpOn != 0 || kaSystem::KeyboardLock != 0) *state = 0;
    return *state;
}

int StepButtonRamp(kaJoystick::_analog& a, int b, bool pressed) {
    float& value = a.B[b - 1];
    if (pressed) {
        value += FrameTime * a.DefAddB;
        if (value >= 100.0f) value = 100.0f;
        value = Bound(value, 0.0f, 100.0f);
    } else {
        value = 0.0f;
    }
    return static_cast<int>(value);
}

void StepStickRamp(float& value, int direction, float speed) {
    if (direction != 0) {
        value += static_cast<float>(direction) * speed * FrameTime;
        if (value >= 100.0f) value = 100.0f;
        if (value <= -100.0f) value = -100.0f;
    } else {
        // Back toward the middle, never past it.
        if (value > 0.0f) {
            value -= FrameTime * speed;
            if (value < 0.0f) value = 0.0f;
        }
        if (value < 0.0f) {
            value += FrameTime * speed;
            if (value > 0.0f) value = 0.0f;
        }
    }
    value = Bound(value, -100.0f, 100.0f);
}

}  // namespace

void kaJoystick::Init() {
    plat::JoystickConfigChanged();
    InitCenter();
    for (_analog& a : Analog) a = _analog{};
}

void kaJoystick::InitCenter() {
    for (int n = 0; n < 2; ++n) {
        const bool ok = Poll(n, plat::JOY_RETURNALL | plat::JOY_USEDEADZONE);
        CenterX[n] = ok ? static_cast<long>(JoyInfo.x) : 0;
        CenterY[n] = ok ? static_cast<long>(JoyInfo.y) : 0;
    }
}

void kaJoystick::InitAnalog() {
    for (_analog& a : Analog) {
        a.X = a.Y = 0.0f;
        for (float& b : a.B) b = 0.0f;
    }
}

void kaJoystick::SetAnalog(int JoystickNo, float Stick, float Button) {
    if (!ValidJoystick(JoystickNo)) return;
    Analog[JoystickNo].DefAddXY = Stick;
    Analog[JoystickNo].DefAddB = Button;
}

void kaJoystick::CenterPos(int JoystickNo, int* PosX, int* PosY) {
    const bool ok = ValidJoystick(JoystickNo);
    Put(PosX, ok ? static_cast<int>(CenterX[JoystickNo]) : 0);
    Put(PosY, ok ? static_cast<int>(CenterY[JoystickNo]) : 0);
}

int kaJoystick::Button(int JoystickNo, int ButtonNo) {
    if (!ValidButton(ButtonNo) || !PollButtons(JoystickNo)) return 0;
    return Held(ButtonNo) ? 1 : 0;
}

int kaJoystick::ButtonInfo(int JoystickNo, int ButtonNo) {
    if (!ValidButton(ButtonNo) || !PollButtons(JoystickNo)) return 0;
    return StepEdge(&Analog[JoystickNo].InfoB[ButtonNo - 1], Held(ButtonNo));
}

void kaJoystick::Buttons(int JoystickNo, int* B1, int* B2, int* B3, int* B4) {
    int* out[4] = {B1, B2, B3, B4};
    const bool ok = PollButtons(JoystickNo);
    for (int b = 1; b <= 4; ++b) Put(out[b - 1], ok && Held(b) ? 1 : 0);
}

void kaJoystick::ButtonsInfo(int JoystickNo, int* B1, int* B2, int* B3, int* B4) {
    int* out[4] = {B1, B2, B3, B4};
    const bool ok = PollButtons(JoystickNo);
    for (int b = 1; b <= 4; ++b) Put(out[b - 1], ok ? StepEdge(&Analog[JoystickNo].InfoB[b - 1], Held(b)) : 0);
}

int kaJoystick::AnalogButton(int JoystickNo, int ButtonNo) {
    if (!ValidJoystick(JoystickNo) || !ValidButton(ButtonNo)) return 0;
    // A failed poll counts as released: the value drops to 0.
    return StepButtonRamp(Analog[JoystickNo], ButtonNo, Button(JoystickNo, ButtonNo) != 0);
}

void kaJoystick::AnalogButtons(int JoystickNo, int* B1, int* B2, int* B3, int* B4) {
    int* out[4] = {B1, B2, B3, B4};
    const bool ok = PollButtons(JoystickNo);
    for (int b = 1; b <= 4; ++b) Put(out[b - 1], ok ? StepButtonRamp(Analog[JoystickNo], b, Held(b)) : 0);
}

void kaJoystick::Stick(int JoystickNo, int* PosX, int* PosY) {
    const bool ok = PollStick(JoystickNo);
    Put(PosX, ok ? Horizontal(JoystickNo) : 0);
    Put(PosY, ok ? Vertical(JoystickNo) : 0);
}

int kaJoystick::StickTenkey(int JoystickNo) {
    if (!PollStick(JoystickNo)) return 5;
    // Keypad layout: 7 8 9 / 4 5 6 / 1 2 3.
    const int h = Horizontal(JoystickNo);
    const int v = Vertical(JoystickNo);
    return 5 + h - 3 * v;
}

void kaJoystick::StickPos(int JoystickNo, int* PosX, int* PosY) {
    const bool ok = PollStick(JoystickNo);
    Put(PosX, ok ? static_cast<int>(JoyInfo.x) : 0);
    Put(PosY, ok ? static_cast<int>(JoyInfo.y) : 0);
}

void kaJoystick::AnalogStick(int JoystickNo, int* PosX, int* PosY) {
    if (!PollStick(JoystickNo)) {
        Put(PosX, 0);
        Put(PosY, 0);
        return;
    }
    _analog& a = Analog[JoystickNo];
    StepStickRamp(a.X, Horizontal(JoystickNo), a.DefAddXY);
    StepStickRamp(a.Y, Vertical(JoystickNo), a.DefAddXY);
    Put(PosX, static_cast<int>(a.X));
    Put(PosY, static_cast<int>(a.Y));
}
