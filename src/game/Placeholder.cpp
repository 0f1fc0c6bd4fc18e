// Until the game lands: start-up and screen function of a placeholder.
#include "draw/kaDraw.h"
#include "shell/Globals.h"

void kaCreate() {
    kaDraw::Screen(640, 480, 1);
    _ScreenNo = 1;
    _LastScreenNo = 0;
}

void MainScreen() {
    kaDraw::Clear();
    kaDraw::Refresh();
}
