// katext: a page of Japanese text over a picture, the left half in plain
// laid-out text, the right half anti-aliased, each revealed one character at
// a time. Keys: R restarts the reveal, S toggles the shadow, T the
// thickening, F12 saves the screen, Escape ends.
//
//     katext [--headless] [--frames N] [--screenshot FILE]

#include "draw/kaDraw.h"
#include "platform/Display.h"
#include "platform/Window.h"
#include "shell/Globals.h"
#include "text/kaFont.h"

namespace {

constexpr float kRevealWait = 0.02f;  // seconds per character
constexpr int kTextSize = 16;
constexpr int kTop = 60, kBottom = 396;
constexpr int kLeftX1 = 16, kLeftX2 = 312;
constexpr int kRightX1 = 328, kRightX2 = 624;
constexpr unsigned kShadow = 0x100, kThicken = 0x600;
constexpr unsigned kLineSpacing = 4;

// The first line of each page holds nineteen full-width characters before "、", which
// then arrives past the right edge and hangs there.
constexpr const char* kPlainPage =
    "この画面では日本語の文章を一字ずつ表示、行の右端に来た句読点はぶら下がります。"
    "左半分は普通の文字で、右半分は倍の大きさで描いてから縮めた、なめらかな文字です。\n"
    "Ｒで最初から、Ｓで影、Ｔで太字に切り替わります。英数字 ABC 123 も混ざります。";
constexpr const char* kSmoothPage =
    "右半分の文章も同じように一字ずつ現れて、少しずつ画面の上に文字が並んでいき、"
    "最後の一文字が出たところで全体が揃います。\n"
    "背景の絵と文字の縁は、描いた時の裏画面の色と混ぜ合わされます。";
// "これはシフトJISの見本です。" in CP932.
constexpr const char* kCp932Sample =
    "CP932: \x82\xb1\x82\xea\x82\xcd\x83\x56\x83\x74\x83\x67JIS\x82\xcc\x8c\xa9\x96\x7b\x82\xc5\x82\xb7\x81\x42";
constexpr const char* kUtf8Sample = "UTF-8: これはUTF-8の見本です。";

enum class Phase { StartPlain, RevealPlain, StartSmooth, RevealSmooth, Done };

Phase gPhase = Phase::StartPlain;
unsigned gEffect = 0;
unsigned gLastKey = 0;
int gFinished = 0;  // sprite holding the halves that are fully shown

uint16_t Pixel(uint32_t rgb) { return plat::PixelFromColorRef(plat::GetPixelFormat(), rgb); }

// An evening sky over dark hills, drawn in bands and columns (colours are
// 0x00BBGGRR).
void DrawPicture() {
    for (int y = 0; y < 480; y += 8) {
        const int t = y * 255 / 480;
        const uint32_t sky = static_cast<uint32_t>(0x60 - t / 6) << 16 | static_cast<uint32_t>(0x20 + t / 5) << 8 |
                             static_cast<uint32_t>(0x18 + t / 2);
        kaDraw::ColorFill(0, y, 640, y + 8, Pixel(sky));
    }
    for (int x = 0; x < 640; x += 16) {
        const int h = 40 + ((x * 7) % 60) + (x % 96 == 0 ? 20 : 0);
        kaDraw::ColorFill(x, 480 - h, x + 16, 480, Pixel(0x203818));
    }
    // Two panels in a mid tone, so that a dark shadow shows under light text.
    kaDraw::ColorFill(kLeftX1 - 8, kTop - 8, kLeftX2 + 8, kBottom + 4, Pixel(0x906848));
    kaDraw::ColorFill(kRightX1 - 8, kTop - 8, kRightX2 + 8, kBottom + 4, Pixel(0x906848));
}

void Restart() {
    kaDraw::SpriteClear(gFinished);
    gPhase = Phase::StartPlain;
}

// The text of the Font sprite becomes part of the finished halves.
void KeepShownText() { kaDraw::SpriteLayer(gFinished, 0, 0, 2, 0, 0, 640, 480); }

// The back surface still holds the frame presented last: katext.bmp in the
// program's folder.
void SaveScreen() { kaDraw::SaveBitmap("katext.bmp", 640, 480); }

void ReadKeys() {
    const unsigned key = PushKey;
    if (key != gLastKey) {
        if (key == 'R') Restart();
        if (key == 'S') gEffect ^= kShadow, Restart();
        if (key == 'T') gEffect ^= kThicken, Restart();
        if (key == VK_F12) SaveScreen();
    }
    gLastKey = key;
}

void DrawSamples() {
    kaFont::Begin(1, kTextSize, 0, 0, 0, 0);
    kaFont::Color(0xFFFFFF, 0x000000, 1);
    kaFont::Draw(kLeftX1, 408, kCp932Sample);
    kaFont::Draw(kRightX1, 408, kUtf8Sample);
    kaFont::Color(0xC0E0FF, 0x000000, 1);
    kaFont::Draw(kLeftX1, 440, "R: 最初から  S: 影  T: 太字  F12: 保存  Esc: 終了");
    kaFont::Before();
}

void DrawTitle() {
    kaFont::Begin(1, 24, 0, 1, 0, 0);
    kaFont::Color(0xFFF0C0, 0x000000, 1);
    kaFont::Draw(kLeftX1, 20, "文字の表示  普通の文字となめらかな文字");
    kaFont::Before();
}

}  // namespace

// ---- Init ---------------------------------------------------------------------

void kaCreate() {
    kaDraw::Screen(640, 480, 1);
    kaDraw::SetSpriteColor(0);
    gFinished = kaDraw::CreateObject(640, 480, 1);
    Restart();
    _ScreenNo = 1;
}

// ---- Update and draw ------------------------------------------------------------

void MainScreen() {
    ReadKeys();
    DrawPicture();
    DrawTitle();
    kaDraw::Layer(0, 0, gFinished, 0, 0, 640, 480);
    switch (gPhase) {
    case Phase::StartPlain:
        kaFont::Begin(1, kTextSize, 0, 0, 0, 0);
        kaFont::Color(0xFFFFFF, 0x101010, 1);
        kaFont::HideDraw(kLeftX1, kTop, kLeftX2, kBottom, kPlainPage, static_cast<unsigned short>(gEffect | kLineSpacing));
        kaFont::Before();
        gPhase = Phase::RevealPlain;
        break;
    case Phase::StartSmooth:
        // Blends against the back surface as it is now: picture and title.
        kaFont::BeginAA(1, kTextSize);
        kaFont::Color(0xFFFFFF, 0x101010, 1);
        kaFont::HideDrawAA(kRightX1, kTop, kRightX2, kBottom, kSmoothPage,
                           static_cast<unsigned short>(gEffect | kLineSpacing * 2));
        kaFont::BeforeAA();
        gPhase = Phase::RevealSmooth;
        break;
    default:
        break;
    }
    if (gPhase == Phase::RevealPlain || gPhase == Phase::RevealSmooth) {
        if (kaFont::Show(kRevealWait)) {
            KeepShownText();
            gPhase = gPhase == Phase::RevealPlain ? Phase::StartSmooth : Phase::Done;
        }
    }
    DrawSamples();
    kaDraw::ShowFPS();
    kaDraw::Refresh();
}

// ---- Main -----------------------------------------------------------------------

int main(int argc, char** argv) { return kaRun(argc, argv); }
