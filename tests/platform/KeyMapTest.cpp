// Translation of SDL keys into virtual-key codes and key messages.
#include <gtest/gtest.h>

#include "platform/KeyMap.h"

namespace {

unsigned Vk(SDL_Keycode sym, SDL_Scancode scancode, bool numLock = true) {
    return plat::VirtualKeyFromSdl(sym, scancode, numLock);
}
unsigned Named(SDL_Scancode scancode) { return Vk(SDL_SCANCODE_TO_KEYCODE(scancode), scancode); }

TEST(KeyMap, KeysTheProgramUsesAndWholeRanges) {
    EXPECT_EQ(Named(SDL_SCANCODE_ESCAPE), 0x1Bu);
    EXPECT_EQ(Named(SDL_SCANCODE_LEFT), 0x25u);
    EXPECT_EQ(Named(SDL_SCANCODE_DOWN), 0x28u);
    EXPECT_EQ(Named(SDL_SCANCODE_RETURN), 0x0Du);
    EXPECT_EQ(Named(SDL_SCANCODE_BACKSPACE), 0x08u);
    // Both sides of a modifier share one code.
    EXPECT_EQ(Named(SDL_SCANCODE_LSHIFT), 0x10u);
    EXPECT_EQ(Named(SDL_SCANCODE_RSHIFT), 0x10u);
    EXPECT_EQ(Named(SDL_SCANCODE_RCTRL), 0x11u);
    EXPECT_EQ(Named(SDL_SCANCODE_LALT), 0x12u);
    EXPECT_EQ(Named(SDL_SCANCODE_RALT), 0x12u);
    for (int i = 0; i < 26; ++i)
        EXPECT_EQ(Vk(SDLK_a + i, static_cast<SDL_Scancode>(SDL_SCANCODE_A + i)), static_cast<unsigned>('A' + i));
    EXPECT_EQ(Vk(SDLK_0, SDL_SCANCODE_0), unsigned('0'));
    EXPECT_EQ(Vk(SDLK_9, SDL_SCANCODE_9), unsigned('9'));
    for (int i = 0; i < 12; ++i) EXPECT_EQ(Named(static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + i)), 0x70u + i);
}

TEST(KeyMap, LettersFollowTheLayoutAndFallBackToPosition) {
    // AZERTY: the key in Q's place types 'a'.
    EXPECT_EQ(Vk(SDLK_a, SDL_SCANCODE_Q), unsigned('A'));
    // A Cyrillic layout's symbol is no Latin letter: the position decides.
    EXPECT_EQ(Vk(0x0439 /* й */, SDL_SCANCODE_Q), unsigned('Q'));
    EXPECT_EQ(Vk(0x00E9 /* é */, SDL_SCANCODE_2), unsigned('2'));
}

TEST(KeyMap, KeypadFollowsNumLock) {
    for (int i = 1; i <= 9; ++i) {
        auto sc = static_cast<SDL_Scancode>(SDL_SCANCODE_KP_1 + i - 1);
        EXPECT_EQ(Named(sc), 0x60u + i);
    }
    EXPECT_EQ(Named(SDL_SCANCODE_KP_0), 0x60u);
    EXPECT_EQ(Named(SDL_SCANCODE_KP_PERIOD), 0x6Eu);
    EXPECT_EQ(Vk(SDLK_KP_4, SDL_SCANCODE_KP_4, false), 0x25u);
    EXPECT_EQ(Vk(SDLK_KP_8, SDL_SCANCODE_KP_8, false), 0x26u);
    EXPECT_EQ(Vk(SDLK_KP_PERIOD, SDL_SCANCODE_KP_PERIOD, false), 0x2Eu);
    EXPECT_EQ(Named(SDL_SCANCODE_KP_PLUS), 0x6Bu);
    EXPECT_EQ(Named(SDL_SCANCODE_KP_ENTER), 0x0Du);
}

TEST(KeyMap, EditingPunctuationAndUnknownKeys) {
    EXPECT_EQ(Named(SDL_SCANCODE_INSERT), 0x2Du);
    EXPECT_EQ(Named(SDL_SCANCODE_PAGEDOWN), 0x22u);
    EXPECT_EQ(Vk(SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON), 0xBAu);
    EXPECT_EQ(Named(SDL_SCANCODE_VOLUMEUP), 0u);
    EXPECT_EQ(Vk(SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN), 0u);
}

TEST(KeyMessages, AltF10AndAltItselfAreSystemKeys) {
    using plat::MakeKeyMessage;
    EXPECT_EQ(MakeKeyMessage('A', true, false, false).message, WM_KEYDOWN);
    EXPECT_EQ(MakeKeyMessage('A', false, false, false).message, WM_KEYUP);
    EXPECT_EQ(MakeKeyMessage(VK_F4, true, false, true).message, WM_SYSKEYDOWN);
    EXPECT_EQ(MakeKeyMessage(VK_F4, false, false, true).message, WM_SYSKEYUP);
    EXPECT_EQ(MakeKeyMessage(VK_F10, true, false, false).message, WM_SYSKEYDOWN);
    EXPECT_EQ(MakeKeyMessage(VK_MENU, true, false, true).message, WM_SYSKEYDOWN);
    // Releasing Alt: SDL no longer reports it held, it is still a system key.
    EXPECT_EQ(MakeKeyMessage(VK_MENU, false, false, false).message, WM_SYSKEYUP);
}

TEST(KeyMessages, LParamCarriesRepeatAltAndTransition) {
    using plat::MakeKeyMessage;
    plat::KeyMessage first = MakeKeyMessage(VK_F4, true, false, true);
    EXPECT_EQ(first.wParam, VK_F4);
    EXPECT_EQ(first.lParam, (LPARAM{1} << 29) | 1);
    EXPECT_EQ(MakeKeyMessage('Z', true, true, false).lParam, (LPARAM{1} << 30) | 1) << "auto-repeat";
    EXPECT_EQ(MakeKeyMessage('Z', false, false, false).lParam, (LPARAM{3} << 30) | 1) << "release";
}

}  // namespace
