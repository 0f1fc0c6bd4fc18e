// The game's start-up: the screen, the pictures and sounds, a new game, and
// the screen function that the frame loop will call.
#include "draw/kaDraw.h"
#include "game/Assets.h"
#include "game/GameState.h"
#include "game/GameTrace.h"
#include "shell/Globals.h"

void kaCreate() {
    kaDraw::Screen(640, 480, 1);
    load_assets();
    InstallGameTrace();
    init_start();
    _ScreenNo = 1;
    _LastScreenNo = 0;
}
