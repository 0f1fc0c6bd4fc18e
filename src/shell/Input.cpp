// kaSystem's keyboard and mouse helpers: the per-key edge detector, the click
// detector over a list of keys and buttons, the keyboard lock, the handling
// of system keys, and the placement and confinement of the cursor.
#include <cstdarg>

#include "draw/kaDraw.h"
#include "platform/Window.h"
#include "shell/Globals.h"
#include "shell/kaSystem.h"

int kaSystem::KeyboardLock;
int kaSystem::SystemKeyCheck;
int kaSystem::StatusIME;
int kaSystem::MouseAreaReady;

void kaSystem::GetKey(unsigned Code, int* Flag) {
    if (Flag == nullptr) return;
    // 0 up, 1 just pressed, 3 held, 2 just released.
    if (plat::IsKeyDown(Code)) {
        *Flag = *Flag == 0 ? 1 : 3;
    } else {
        *Flag = (*Flag == 1 || *Flag == 3) ? 2 : 0;
    }
    if (kaDraw::FadeNo != 0 || kaDraw::HelpOn != 0 || KeyboardLock != 0) *Flag = 0;
}

unsigned kaSystem::CheckKey(unsigned Code, ...) {
    // The detector lives on between calls: 0 waits for everything to be let
    // go, 1 looks for a listed key or button that went down, 2 waits for the
    // one found to be released.
    static int Mode = 0;
    static int Index = 0;
    static unsigned Key = 0;

    if (Mode == 0 && PushKey == 0 && MousePush == 0) Mode = 1;

    if (Mode == 1) {
        va_list codes;
        va_start(codes, Code);
        unsigned code = Code;
        for (Index = 0; code != 0; ++Index) {
            if (code == LastKey || code == MouseLast) {
                Key = code;
                Mode = 2;
                break;
            }
            code = va_arg(codes, unsigned);
        }
        va_end(codes);
    }

    if (Mode == 2) {
        const bool button = Key == VK_LBUTTON || Key == VK_RBUTTON;
        if (button ? MouseLast != Key : LastKey != Key) Mode = 0;
        const bool released = button ? MousePush == 0 : PushKey == 0;
        if (released) {
            Mode = 0;
            LastKey = 0;
            MouseLast = 0;
            return Key;
        }
    }
    return 0;
}

void kaSystem::LockKey() { KeyboardLock = 1; }

void kaSystem::UnlockKey() {
    KeyboardLock = 0;
    PushKey = 0;  // a key held across the unlock is forgotten
}

void kaSystem::SystemKey(int Flag) { SystemKeyCheck = Flag; }

// Text input and its input-method editor; the game wants plain key presses.
void kaSystem::IME(int Flag) {
    plat::SetImeEnabled(Flag != 0);
    StatusIME = Flag;
}

void kaSystem::InitMouse(int) {}

// Window and screen coordinates differ by the window's position.
void kaSystem::MouseMove(int x, int y) { plat::WarpMouse(x, y); }

void kaSystem::MouseArea(int X1, int Y1, int X2, int Y2) {
    plat::ConfineMouse({X1 - _WindowX, Y1 - _WindowY, X2 - _WindowX, Y2 - _WindowY});
    MouseAreaReady = 1;
}

void kaSystem::WindowMouseArea() {
    if (_FullScreen != 0) {
        MouseArea(0, 0, kaDraw::Width, kaDraw::Height);
    } else {
        MouseArea(_WindowX, _WindowY, _WindowX + kaDraw::Width, _WindowY + kaDraw::Height);
    }
}

void kaSystem::ClearMouseArea() {
    plat::ReleaseMouse();
    MouseAreaReady = 0;
}

int kaSystem::GetMouseArea() { return MouseAreaReady; }
