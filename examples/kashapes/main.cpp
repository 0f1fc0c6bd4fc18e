// kashapes: a page of kaDraw's vector drawing. Lines of pen widths 1 to 5,
// filled boxes with outlines of several widths, FillPattern with each fill
// mode over a striped background (hollow, hatch on a colour, hatch with
// transparent gaps), Bézier curves, and a hatched star that turns, each
// group labelled with kaDraw::ShowFormat.
//
//     kashapes [--headless] [--frames N] [--screenshot FILE]
#include <cstdint>

#include "draw/kaDraw.h"
#include "shell/Globals.h"
#include "shell/kaSystem.h"

namespace {

// RGB colour values 0x00BBGGRR.
constexpr uint32_t kWhite = 0xFFFFFF, kRed = 0x3030FF, kGreen = 0x30E040, kBlue = 0xFF8020, kYellow = 0x20E0FF,
                   kCyan = 0xF0E030, kMagenta = 0xE040E0, kGrey = 0x808080, kNavy = 0x800000, kOrange = 0x0080FF;
constexpr uint32_t kPenColours[5] = {kWhite, kYellow, kCyan, kGreen, kMagenta};

int gFrame = 0;

// A raw pixel of the screen's format, for the fills.
uint16_t Raw(uint32_t color) { return plat::PixelFromColorRef(plat::GetPixelFormat(), color); }

// RotateData holds sin * 360 by degree; 90 degrees further is the cosine.
int Sin360(int degrees) { return kaDraw::RotateData[((degrees % 360) + 360) % 360]; }
int Cos360(int degrees) { return kaDraw::RotateData[((degrees % 360) + 360) % 360 + 90]; }

// ---- Draw -------------------------------------------------------------------------

// Pen widths 1 to 5: a horizontal line, a shallow one, a diagonal and a
// steep one each.
void DrawLines() {
    for (int w = 1; w <= 5; ++w) {
        const int x = 20 + (w - 1) * 120;
        const uint32_t c = kPenColours[w - 1];
        kaDraw::Line(x, 40, x + 100, 40, c, w);
        kaDraw::Line(x, 52, x + 100, 70, c, w);
        kaDraw::Line(x, 80, x + 40, 120, c, w);
        kaDraw::Line(x + 60, 80, x + 75, 125, c, w);
        kaDraw::Line(x + 100, 80, x + 85, 125, c, w);
        kaDraw::ShowFormat(x, 18, "Line Size %d", w);
    }
}

// Filled boxes with outlines of widths 1, 2, 3 and 5, and a 1 x 1 and a
// 2 x 2 box for the rectangle rule.
void DrawBoxes() {
    const int widths[4] = {1, 2, 3, 5};
    const uint32_t fills[4] = {kNavy, kRed, 0x206020, 0x602060};
    for (int i = 0; i < 4; ++i) {
        const int x = 24 + i * 110;
        kaDraw::Box(x, 150, x + 90, 210, fills[i], kPenColours[i], widths[i]);
        kaDraw::ShowFormat(x, 134, "Box Size %d", widths[i]);
    }
    kaDraw::ShowFormat(480, 134, "1x1 2x2 / Size 1, 4");
    kaDraw::Box(480, 150, 481, 151, kWhite, kWhite, 1);
    kaDraw::Box(490, 150, 492, 152, kWhite, kWhite, 1);
    kaDraw::Box(500, 150, 620, 210, kGrey, kOrange, 1);
    kaDraw::Box(510, 160, 610, 200, kNavy, kWhite, 4);
}

// A hexagon per fill mode over stripes, so that transparent gaps show.
void DrawPatterns() {
    for (int y = 230; y < 330; y += 20) {
        kaDraw::ColorFill(0, y, 440, y + 10, Raw(0x603010));
        kaDraw::ColorFill(0, y + 10, 440, y + 20, Raw(0x205020));
    }
    for (int flag = 0; flag <= 2; ++flag) {
        const int cx = 75 + flag * 145, cy = 280;
        tagPOINT hexagon[6];
        for (int k = 0; k < 6; ++k) {
            hexagon[k].x = cx + Cos360(k * 60) * 60 / 360;
            hexagon[k].y = cy + Sin360(k * 60) * 45 / 360;
        }
        kaDraw::FillPattern(hexagon, 6, flag == 1 ? kYellow : kWhite, kRed, 2, flag);
        kaDraw::ShowFormat(cx - 60, 214, "FillPattern DrawFlag %d", flag);
    }
}

// A five-pointed star drawn in one stroke: the even-odd fill leaves its
// middle open. It turns one degree per frame.
void DrawStar() {
    tagPOINT star[5];
    const int angle = gFrame % 360;
    for (int k = 0; k < 5; ++k) {
        const int a = angle + k * 144 - 90;
        star[k].x = 540 + Cos360(a) * 70 / 360;
        star[k].y = 285 + Sin360(a) * 70 / 360;
    }
    kaDraw::FillPattern(star, 5, kCyan, kNavy, 1, 1);
    kaDraw::ShowFormat(470, 214, "even-odd star %3d deg", angle);
}

void DrawCurves() {
    tagPOINT wave[7] = {{20, 420}, {80, 340}, {140, 500}, {200, 420}, {260, 340}, {320, 500}, {380, 420}};
    kaDraw::Bezier(wave, 7, kGreen, 1);
    tagPOINT arch[4] = {{20, 460}, {120, 360}, {280, 360}, {380, 460}};
    kaDraw::Bezier(arch, 4, kOrange, 3);
    tagPOINT loop[4] = {{420, 460}, {660, 325}, {380, 325}, {620, 460}};
    kaDraw::Bezier(loop, 4, kMagenta, 5);
    tagPOINT hook[4] = {{430, 380}, {470, 350}, {520, 420}, {600, 370}};
    kaDraw::Bezier(hook, 4, kWhite, 2);
    kaDraw::ShowFormat(20, 338, "Bezier Size 1 (7 points), Size 3");
    kaDraw::ShowFormat(440, 466, "Bezier Size 5, Size 2");
}

}  // namespace

// ---- Init ---------------------------------------------------------------------------

void kaCreate() {
    kaDraw::Screen(640, 480, 1);
    _ScreenNo = 1;
}

// ---- Update and draw ---------------------------------------------------------------

void MainScreen() {
    kaDraw::Clear();
    DrawLines();
    DrawBoxes();
    DrawPatterns();
    DrawStar();
    DrawCurves();
    kaDraw::Refresh();
    ++gFrame;
}

// ---- Main -----------------------------------------------------------------------------

int main(int argc, char** argv) { return kaRun(argc, argv); }
