// kafx: a gallery of every effect layer and screen effect, one page each,
// animated from the frame time over generated pictures.
//
//     kafx [--windowed] [--page N] [--frames N --screenshot FILE]
//     kafx --headless --contact-sheet FILE.bmp
//
// Keys: Left/Right page, Up/Down the page's main parameter, Space pause, V a
// small virtual screen that shows the clipping on every side, Escape quits.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Gallery.h"
#include "Sheet.h"
#include "draw/kaDraw.h"
#include "shell/CommandLine.h"
#include "shell/Globals.h"

using namespace kafx_gallery;

namespace {

std::string gSheetPath;
int gStartPage = 0;
int gExitCode = 0;

Pictures gPictures;
int gCaptions = 0;
PageState gState;
std::vector<int> gParams;
bool gPaused = false, gInset = false;
unsigned gPushed = 0, gLast = 0;

void Fail(const char* what) {
    std::fprintf(stderr, "kafx: %s\n", what);
    gExitCode = 1;
    kaDraw::Exit();
}

void ShowPage(int page) {
    const int count = static_cast<int>(Pages().size());
    gState = PageState{};
    gState.page = (page % count + count) % count;
}

void Key(unsigned key) {
    const Page& page = Pages()[gState.page];
    int& p = gParams[gState.page];
    const int step = page.hi - page.lo > 32 ? (page.hi - page.lo) / 16 : 1;
    switch (key) {
        case VK_LEFT: ShowPage(gState.page - 1); break;
        case VK_RIGHT: ShowPage(gState.page + 1); break;
        case VK_UP: p = p + step > page.hi ? page.hi : p + step; break;
        case VK_DOWN: p = p - step < page.lo ? page.lo : p - step; break;
        case VK_SPACE: gPaused = !gPaused; break;
        case 'V': gInset = !gInset; break;
        default: break;
    }
}

}  // namespace

// ---- Init ---------------------------------------------------------------------

void kaCreate() {
    if (kaDraw::Screen(640, 480, 1) == 0) return Fail("no screen");
    if (!MakePictures(&gPictures)) return Fail("the pictures could not be made");
    gCaptions = kaDraw::LoadObject("KAFX_CAPTIONS", 2);
    const int pages = static_cast<int>(Pages().size());
    if (gCaptions == 0 || Sprite[gCaptions].SizeY != (pages + 1) * kBand) return Fail("the captions do not fit the pages");
    for (const Page& page : Pages()) gParams.push_back(page.p);
    if (!gSheetPath.empty()) {
        if (!WriteContactSheets(gPictures, gCaptions, gSheetPath)) return Fail("cannot write the contact sheet");
        kaDraw::Exit();
        return;
    }
    ShowPage(gStartPage);
    _ScreenNo = 1;
}

// ---- Update and draw ------------------------------------------------------------

void MainScreen() {
    // A new key held, or a key pressed and let go again between two frames
    // (it then shows only in LastKey).
    if (PushKey != 0 && PushKey != gPushed)
        Key(PushKey);
    else if (LastKey != gLast && PushKey == 0)
        Key(LastKey);
    gPushed = PushKey;
    gLast = LastKey;
    // Paused: the time and the phases stand still.
    const float frameTime = FrameTime;
    if (gPaused) FrameTime = 0;
    DrawPage(gPictures, gCaptions, gState, gParams[gState.page], gInset);
    FrameTime = frameTime;
    if (!gPaused) {
        ++gState.frame;
        gState.t += frameTime;
    }
    kaDraw::Refresh();
}

// ---- Main -------------------------------------------------------------------------

int main(int argc, char** argv) {
    shell::AddCommandLineOption({"--contact-sheet", "FILE", "write one still of every page into FILE.bmp and end",
                                 [](shell::CommandLine&, const std::string& v) {
                                     gSheetPath = v;
                                     return !v.empty();
                                 }});
    shell::AddCommandLineOption({"--page", "N", "start on page N (0 = the first)",
                                 [](shell::CommandLine&, const std::string& v) {
                                     char* end = nullptr;
                                     gStartPage = static_cast<int>(std::strtol(v.c_str(), &end, 10));
                                     return end != v.c_str() && *end == '\0';
                                 }});
    const int result = kaRun(argc, argv);
    return result != 0 ? result : gExitCode;
}
