// SDL's joysticks behind the joystick and pad polls. Each poll updates SDL's
// device list, so a device plugged in or out is seen at once; slots 0 and 1
// follow the first two devices in SDL's order, the pad the first device
// that SDL knows as a game controller. Game controllers are read through
// their mapping (left stick, A, B, X, Y ...), other joysticks raw.
#include <SDL.h>

#include <cstdio>

#include "platform/JoystickSdl.h"

namespace plat::detail {

namespace {

// A device held open, either as a game controller or as a plain joystick.
struct OpenDevice {
    SDL_JoystickID id = -1;
    SDL_GameController* controller = nullptr;
    SDL_Joystick* joystick = nullptr;

    bool isOpen() const { return controller != nullptr || joystick != nullptr; }
    SDL_Joystick* raw() const { return controller ? SDL_GameControllerGetJoystick(controller) : joystick; }
    bool attached() const { return isOpen() && SDL_JoystickGetAttached(raw()); }
    void close() {
        if (controller) SDL_GameControllerClose(controller);
        if (joystick) SDL_JoystickClose(joystick);
        *this = OpenDevice{};
    }
    // Makes this hold device `index`, reopening only when it is another one.
    bool hold(int index, bool asController) {
        const SDL_JoystickID wanted = SDL_JoystickGetDeviceInstanceID(index);
        if (wanted < 0) return false;
        if (id == wanted && attached()) return true;
        close();
        if (asController) controller = SDL_GameControllerOpen(index);
        // A controller whose mapping fails to open is still a joystick.
        if (!controller) joystick = SDL_JoystickOpen(index);
        if (!isOpen()) return false;
        id = wanted;
        return true;
    }
};

OpenDevice gSlots[2];
OpenDevice gPad;

bool Ready() {
    static bool tried = false;
    static bool ready = false;
    if (tried) return ready;
    tried = true;
    // A poll reads the device whether or not our window has the keyboard
    // focus (otherwise SDL freezes the readings while another window has it).
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "SDL joysticks: %s\n", SDL_GetError());
        return false;
    }
    ready = true;
    return true;
}

bool HatHeld(SDL_Joystick* joystick, Uint8 direction) {
    return SDL_JoystickNumHats(joystick) > 0 && (SDL_JoystickGetHat(joystick, 0) & direction) != 0;
}

// A pressed D-pad or hat drives its axis to the end; otherwise the stick.
uint32_t AxisWithPad(int stick, bool low, bool high) {
    if (low && !high) return 0;
    if (high && !low) return 65535;
    return AxisPosition(stick);
}

void ReadController(SDL_GameController* c, uint32_t* x, uint32_t* y, uint32_t* buttons) {
    auto held = [c](SDL_GameControllerButton b) { return SDL_GameControllerGetButton(c, b) != 0; };
    *x = AxisWithPad(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX), held(SDL_CONTROLLER_BUTTON_DPAD_LEFT),
                     held(SDL_CONTROLLER_BUTTON_DPAD_RIGHT));
    *y = AxisWithPad(SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY), held(SDL_CONTROLLER_BUTTON_DPAD_UP),
                     held(SDL_CONTROLLER_BUTTON_DPAD_DOWN));
    // A, B, X, Y, Back, Guide, Start, stick presses, shoulders: SDL's order
    // up to the D-pad, which is already in the axes.
    *buttons = 0;
    for (int b = SDL_CONTROLLER_BUTTON_A; b < SDL_CONTROLLER_BUTTON_DPAD_UP; ++b) {
        if (held(static_cast<SDL_GameControllerButton>(b))) *buttons |= 1u << b;
    }
}

void ReadJoystick(SDL_Joystick* j, uint32_t* x, uint32_t* y, uint32_t* buttons) {
    const int axes = SDL_JoystickNumAxes(j);
    *x = AxisWithPad(axes > 0 ? SDL_JoystickGetAxis(j, 0) : 0, HatHeld(j, SDL_HAT_LEFT), HatHeld(j, SDL_HAT_RIGHT));
    *y = AxisWithPad(axes > 1 ? SDL_JoystickGetAxis(j, 1) : 0, HatHeld(j, SDL_HAT_UP), HatHeld(j, SDL_HAT_DOWN));
    *buttons = 0;
    const int count = SDL_JoystickNumButtons(j);
    for (int b = 0; b < count && b < 32; ++b) {
        if (SDL_JoystickGetButton(j, b)) *buttons |= 1u << b;
    }
}

}  // namespace

bool SdlPollJoystick(int number, JoystickInfo* info) {
    if (number < 0 || number > 1 || !Ready()) return false;
    OpenDevice& slot = gSlots[number];
    SDL_JoystickUpdate();  // also finds devices plugged in or out
    if (number >= SDL_NumJoysticks()) {
        slot.close();
        return false;
    }
    if (!slot.hold(number, SDL_IsGameController(number) == SDL_TRUE)) return false;
    uint32_t x, y, buttons;
    if (slot.controller) {
        ReadController(slot.controller, &x, &y, &buttons);
    } else {
        ReadJoystick(slot.joystick, &x, &y, &buttons);
    }
    FillJoystickInfo(x, y, buttons, info);
    return true;
}

bool SdlPollGamepad(GamepadState* state) {
    if (!Ready()) return false;
    SDL_GameControllerUpdate();
    int index = -1;
    for (int i = 0, n = SDL_NumJoysticks(); i < n && index < 0; ++i) {
        if (SDL_IsGameController(i)) index = i;
    }
    if (index < 0 || !gPad.hold(index, true) || gPad.controller == nullptr) {
        gPad.close();
        return false;
    }
    SDL_GameController* c = gPad.controller;
    auto held = [c](SDL_GameControllerButton b) { return SDL_GameControllerGetButton(c, b) != 0; };
    state->up = held(SDL_CONTROLLER_BUTTON_DPAD_UP);
    state->down = held(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    state->left = held(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    state->right = held(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    state->stickX = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX);
    state->stickY = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY);
    state->a = held(SDL_CONTROLLER_BUTTON_A);
    state->b = held(SDL_CONTROLLER_BUTTON_B);
    state->x = held(SDL_CONTROLLER_BUTTON_X);
    state->y = held(SDL_CONTROLLER_BUTTON_Y);
    state->back = held(SDL_CONTROLLER_BUTTON_BACK);
    state->start = held(SDL_CONTROLLER_BUTTON_START);
    return true;
}

void SdlJoystickConfigChanged() {
    gSlots[0].close();
    gSlots[1].close();
    gPad.close();
}

}  // namespace plat::detail
