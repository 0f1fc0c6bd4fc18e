// Translation of SDL keys into the virtual-key codes and key messages the
// shell is written for. Pure functions over tables, so they can be tested
// without a display.
#pragma once

#include <SDL_keyboard.h>

#include "platform/Window.h"

namespace plat {

// The virtual-key code of an SDL key, or 0 when it has none. Letters and
// digits follow the keyboard layout (the key symbol); when the symbol is not
// a Latin letter or digit (another script's layout) the key's position
// decides. Both Shifts give VK_SHIFT, both Controls VK_CONTROL, both Alts
// VK_MENU; keypad Enter gives VK_RETURN. The keypad's digits give
// VK_NUMPAD0..9 with Num Lock on and the navigation keys with it off.
unsigned VirtualKeyFromSdl(SDL_Keycode sym, SDL_Scancode scancode, bool numLock = true);

// Keys that come as WM_SYSKEYDOWN/WM_SYSKEYUP: anything pressed while Alt is
// held, F10, and Alt itself.
bool IsSystemKey(unsigned virtualKey, bool altHeld);

struct KeyMessage {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// The message for a key going down (`down`, with `repeat` for auto-repeat)
// or up. wParam is the virtual key; lParam as described in Window.h.
KeyMessage MakeKeyMessage(unsigned virtualKey, bool down, bool repeat, bool altHeld);

}  // namespace plat
