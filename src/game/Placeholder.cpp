// Until the game lands: start-up and screen function of a placeholder that
// shows the picture "PLACEHOLDER" (resources/placeholder.bmp) in the middle
// of a black screen, its pure-blue parts transparent.
#include "draw/kaDraw.h"
#include "platform/Resources.h"
#include "shell/Globals.h"

namespace {

int gPicture = 0;

}  // namespace

void kaCreate() {
    kaDraw::Screen(640, 480, 1);
    kaDraw::SetSpriteColor(0xFF0000);
    // Builds without embedded resources have no picture: show a black screen
    // rather than an error box.
    gPicture = plat::FindResource("PLACEHOLDER", "BITMAP") != nullptr ? kaDraw::LoadObject("PLACEHOLDER", 2) : 0;
    _ScreenNo = 1;
    _LastScreenNo = 0;
}

void MainScreen() {
    kaDraw::Clear();
    if (gPicture != 0) {
        const int width = Sprite[gPicture].SizeX;
        const int height = Sprite[gPicture].SizeY;
        kaDraw::Layer((kaDraw::Width - width) / 2, (kaDraw::Height - height) / 2, gPicture, 0, 0, width, height);
    }
    kaDraw::Refresh();
}
