// Tables from SDL keys to virtual-key codes, and the key messages built from
// them (message kind and lParam bits).
#include "platform/KeyMap.h"

namespace plat {

namespace {

struct ScancodeKey {
    SDL_Scancode scancode;
    unsigned vk;
};

// Every key without a letter or digit on it, by position. Punctuation keys
// carry the codes of their US-layout positions.
constexpr ScancodeKey kScancodeKeys[] = {
    {SDL_SCANCODE_RETURN, VK_RETURN},
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE},
    {SDL_SCANCODE_BACKSPACE, VK_BACK},
    {SDL_SCANCODE_TAB, VK_TAB},
    {SDL_SCANCODE_SPACE, VK_SPACE},
    {SDL_SCANCODE_MINUS, VK_OEM_MINUS},
    {SDL_SCANCODE_EQUALS, VK_OEM_PLUS},
    {SDL_SCANCODE_LEFTBRACKET, VK_OEM_4},
    {SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6},
    {SDL_SCANCODE_BACKSLASH, VK_OEM_5},
    {SDL_SCANCODE_NONUSHASH, VK_OEM_5},
    {SDL_SCANCODE_SEMICOLON, VK_OEM_1},
    {SDL_SCANCODE_APOSTROPHE, VK_OEM_7},
    {SDL_SCANCODE_GRAVE, VK_OEM_3},
    {SDL_SCANCODE_COMMA, VK_OEM_COMMA},
    {SDL_SCANCODE_PERIOD, VK_OEM_PERIOD},
    {SDL_SCANCODE_SLASH, VK_OEM_2},
    {SDL_SCANCODE_NONUSBACKSLASH, VK_OEM_102},
    {SDL_SCANCODE_INTERNATIONAL1, VK_OEM_102},  // JIS ろ / backslash-underscore
    {SDL_SCANCODE_INTERNATIONAL3, VK_OEM_5},    // JIS yen
    {SDL_SCANCODE_INTERNATIONAL4, 0x1C},        // henkan (convert)
    {SDL_SCANCODE_INTERNATIONAL5, 0x1D},        // muhenkan (non-convert)
    {SDL_SCANCODE_CAPSLOCK, VK_CAPITAL},
    {SDL_SCANCODE_PRINTSCREEN, VK_SNAPSHOT},
    {SDL_SCANCODE_SCROLLLOCK, VK_SCROLL},
    {SDL_SCANCODE_PAUSE, VK_PAUSE},
    {SDL_SCANCODE_INSERT, VK_INSERT},
    {SDL_SCANCODE_DELETE, VK_DELETE},
    {SDL_SCANCODE_HOME, VK_HOME},
    {SDL_SCANCODE_END, VK_END},
    {SDL_SCANCODE_PAGEUP, VK_PRIOR},
    {SDL_SCANCODE_PAGEDOWN, VK_NEXT},
    {SDL_SCANCODE_LEFT, VK_LEFT},
    {SDL_SCANCODE_UP, VK_UP},
    {SDL_SCANCODE_RIGHT, VK_RIGHT},
    {SDL_SCANCODE_DOWN, VK_DOWN},
    {SDL_SCANCODE_NUMLOCKCLEAR, VK_NUMLOCK},
    {SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE},
    {SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY},
    {SDL_SCANCODE_KP_MINUS, VK_SUBTRACT},
    {SDL_SCANCODE_KP_PLUS, VK_ADD},
    {SDL_SCANCODE_KP_ENTER, VK_RETURN},
    {SDL_SCANCODE_KP_COMMA, VK_SEPARATOR},
    {SDL_SCANCODE_APPLICATION, VK_APPS},
    {SDL_SCANCODE_LCTRL, VK_CONTROL},
    {SDL_SCANCODE_RCTRL, VK_CONTROL},
    {SDL_SCANCODE_LSHIFT, VK_SHIFT},
    {SDL_SCANCODE_RSHIFT, VK_SHIFT},
    {SDL_SCANCODE_LALT, VK_MENU},
    {SDL_SCANCODE_RALT, VK_MENU},
    {SDL_SCANCODE_MODE, VK_MENU},  // AltGr on some X11 keymaps
    {SDL_SCANCODE_LGUI, VK_LWIN},
    {SDL_SCANCODE_RGUI, VK_RWIN},
};

struct KeypadKey {
    SDL_Scancode scancode;
    unsigned withNumLock;
    unsigned withoutNumLock;
};

// The keypad's digit keys double as navigation keys when Num Lock is off.
constexpr KeypadKey kKeypadKeys[] = {
    {SDL_SCANCODE_KP_0, VK_NUMPAD0 + 0, VK_INSERT}, {SDL_SCANCODE_KP_1, VK_NUMPAD0 + 1, VK_END},
    {SDL_SCANCODE_KP_2, VK_NUMPAD0 + 2, VK_DOWN},   {SDL_SCANCODE_KP_3, VK_NUMPAD0 + 3, VK_NEXT},
    {SDL_SCANCODE_KP_4, VK_NUMPAD0 + 4, VK_LEFT},   {SDL_SCANCODE_KP_5, VK_NUMPAD0 + 5, 0x0C},  // clear
    {SDL_SCANCODE_KP_6, VK_NUMPAD0 + 6, VK_RIGHT},  {SDL_SCANCODE_KP_7, VK_NUMPAD0 + 7, VK_HOME},
    {SDL_SCANCODE_KP_8, VK_NUMPAD0 + 8, VK_UP},     {SDL_SCANCODE_KP_9, VK_NUMPAD0 + 9, VK_PRIOR},
    {SDL_SCANCODE_KP_PERIOD, VK_DECIMAL, VK_DELETE},
};

unsigned LetterOrDigit(SDL_Keycode sym) {
    if (sym >= SDLK_a && sym <= SDLK_z) return static_cast<unsigned>('A' + (sym - SDLK_a));
    if (sym >= SDLK_0 && sym <= SDLK_9) return static_cast<unsigned>(sym);
    return 0;
}

unsigned LetterOrDigitAt(SDL_Scancode scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return static_cast<unsigned>('A' + (scancode - SDL_SCANCODE_A));
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return static_cast<unsigned>('1' + (scancode - SDL_SCANCODE_1));
    if (scancode == SDL_SCANCODE_0) return '0';
    return 0;
}

}  // namespace

unsigned VirtualKeyFromSdl(SDL_Keycode sym, SDL_Scancode scancode, bool numLock) {
    for (const KeypadKey& k : kKeypadKeys) {
        if (k.scancode == scancode) return numLock ? k.withNumLock : k.withoutNumLock;
    }
    if (unsigned vk = LetterOrDigit(sym)) return vk;
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12)
        return VK_F1 + static_cast<unsigned>(scancode - SDL_SCANCODE_F1);
    if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24)
        return VK_F12 + 1 + static_cast<unsigned>(scancode - SDL_SCANCODE_F13);
    for (const ScancodeKey& k : kScancodeKeys) {
        if (k.scancode == scancode) return k.vk;
    }
    // A letter key whose symbol is not Latin (another script's layout).
    return LetterOrDigitAt(scancode);
}

bool IsSystemKey(unsigned virtualKey, bool altHeld) {
    return altHeld || virtualKey == VK_MENU || virtualKey == VK_F10;
}

KeyMessage MakeKeyMessage(unsigned virtualKey, bool down, bool repeat, bool altHeld) {
    KeyMessage m;
    bool system = IsSystemKey(virtualKey, altHeld);
    if (down)
        m.message = system ? WM_SYSKEYDOWN : WM_KEYDOWN;
    else
        m.message = system ? WM_SYSKEYUP : WM_KEYUP;
    m.wParam = virtualKey;
    LPARAM l = 1;  // repeat count
    if (altHeld) l |= LPARAM{1} << 29;
    if (repeat || !down) l |= LPARAM{1} << 30;
    if (!down) l |= LPARAM{1} << 31;
    m.lParam = l;
    return m;
}

}  // namespace plat
