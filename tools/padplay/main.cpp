// padplay: the game played with a gamepad. It runs the game program as
// kasample does and plays an input script (the format of --replay) on a
// simulated game controller instead of the keyboard: arrow keys become the
// D-pad (or, with --pad-stick, the left stick pushed all the way), Z the A
// button, Escape the Back button. With a window the controller is an SDL
// virtual game controller, plugged in as the first frame starts, so the
// game sees it exactly as a real pad; headless it is the platform's
// scripted pad.
//
//   padplay --pad-script FILE [--pad-stick] [kasample's options]
#include <SDL.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Joystick.h"
#include "platform/Options.h"
#include "shell/CommandLine.h"
#include "shell/Globals.h"
#include "shell/MessageLoop.h"
#include "shell/ScriptedRun.h"

namespace {

// ---- Init -------------------------------------------------------------------

std::vector<shell::ScriptEvent> gEvents;
size_t gNext = 0;
bool gStick = false;
plat::GamepadState gPad;
SDL_Joystick* gVirtual = nullptr;

// The SDL virtual controller's layout: buttons A, B, X, Y, Back, Guide,
// Start, ..., D-pad up, down, left, right at 11..14; left stick on axes 0, 1.
constexpr int kAxes = 6, kButtons = 15;
constexpr int kButtonA = 0, kButtonBack = 4, kButtonStart = 6;
constexpr int kDpadUp = 11, kDpadDown = 12, kDpadLeft = 13, kDpadRight = 14;

bool LoadScript(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "padplay: cannot read '%s'\n", path.c_str());
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    std::string error;
    if (!shell::ParseInputScript(text.str(), &gEvents, &error)) {
        std::fprintf(stderr, "padplay: %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    return true;
}

bool PlugInVirtualPad() {
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return false;
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, kAxes, kButtons, 0);
    if (index < 0) return false;
    gVirtual = SDL_JoystickOpen(index);
    return gVirtual != nullptr;
}

// ---- Update -----------------------------------------------------------------

void Apply(const shell::ScriptEvent& e) {
    switch (e.key) {
    case VK_UP: gPad.up = e.down; break;
    case VK_DOWN: gPad.down = e.down; break;
    case VK_LEFT: gPad.left = e.down; break;
    case VK_RIGHT: gPad.right = e.down; break;
    case 'Z': gPad.a = e.down; break;
    case VK_ESCAPE: gPad.back = e.down; break;
    default: break;  // keys a pad does not have
    }
}

// With --pad-stick the directions are the stick pushed to the end instead.
void SendToDevice() {
    plat::GamepadState sent = gPad;
    if (gStick) {
        sent.stickX = sent.left ? -32768 : (sent.right ? 32767 : 0);
        sent.stickY = sent.up ? -32768 : (sent.down ? 32767 : 0);
        sent.up = sent.down = sent.left = sent.right = false;
    }
    if (plat::GetOptions().headless) {
        plat::SetScriptedGamepad(&sent);
        return;
    }
    SDL_JoystickSetVirtualAxis(gVirtual, 0, static_cast<Sint16>(sent.stickX));
    SDL_JoystickSetVirtualAxis(gVirtual, 1, static_cast<Sint16>(sent.stickY));
    const std::pair<int, bool> buttons[] = {{kButtonA, sent.a},         {kButtonBack, sent.back},
                                            {kButtonStart, sent.start}, {kDpadUp, sent.up},
                                            {kDpadDown, sent.down},     {kDpadLeft, sent.left},
                                            {kDpadRight, sent.right}};
    for (const auto& [button, held] : buttons) SDL_JoystickSetVirtualButton(gVirtual, button, held ? 1 : 0);
}

void BeforeFrame(unsigned long frame) {
    if (frame == 0 && !plat::GetOptions().headless && !PlugInVirtualPad()) {
        std::fprintf(stderr, "padplay: no virtual game controller: %s\n", SDL_GetError());
    }
    while (gNext < gEvents.size() && gEvents[gNext].frame <= frame) Apply(gEvents[gNext++]);
    SendToDevice();
}

}  // namespace

// ---- Run --------------------------------------------------------------------

int main(int argc, char** argv) {
    shell::AddScriptedRunOptions();
    shell::AddCommandLineOption({"--pad-script", "FILE", "play this input script on a simulated gamepad",
                                 [](shell::CommandLine&, const std::string& path) { return LoadScript(path); }});
    shell::AddCommandLineOption({"--pad-stick", "", "steer with the left stick instead of the D-pad",
                                 [](shell::CommandLine&, const std::string&) {
                                     gStick = true;
                                     return true;
                                 }});
    shell::SetBeforeFrameHook(BeforeFrame);
    return kaRun(argc, argv);
}
