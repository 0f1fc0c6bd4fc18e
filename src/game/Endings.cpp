// The two endings: the first (all hidden items found) lets a treasure fall
// beside the player and tells its story line by line; the second shows the
// player among four treasures with a shorter text. Both lead to the staff
// roll.
#include "draw/kaDraw.h"
#include "game/Assets.h"
#include "game/GameState.h"
#include "game/SoundCues.h"

namespace {

// One line of ending text: shown while the timer is in [from, to], taken
// from rows [top, bottom) of its picture.
struct TextLine {
    int from, to;
    int* sprite;
    int top, bottom;
};

constexpr TextLine kEnding1Lines[] = {
    {800, 1099, &end1a, 0, 25},     {1100, 1399, &end1a, 25, 49},  {1400, 1699, &end1a, 49, 74},
    {1700, 1999, &end1b, 0, 24},    {2000, 2299, &end1b, 24, 48},  {2300, 2599, &end1b, 48, 72},
    {2600, 2899, &end1b, 72, 96},   {2900, 3199, &end1b, 96, 120}, {3200, 3499, &end1b, 120, 144},
    {3500, 3799, &end1b, 144, 168}, {3800, 4199, &end1b, 168, 192}, {4200, 4599, &end1a, 73, 97},
    {4600, 4899, &end1a, 98, 121},  {4900, 5399, &end1a, 122, 145}, {5400, 5799, &end1a, 146, 169},
};

constexpr TextLine kEnding2Lines[] = {
    {300, 599, &end2, 0, 26},      {600, 999, &end2, 26, 52},     {1000, 1299, &end2, 53, 76},
    {1300, 1699, &end2, 76, 100},  {1700, 1999, &end2, 100, 125}, {2000, 2299, &end2, 126, 148},
    {2300, 2799, &end2, 150, 175},
};

constexpr int kTreasureX = 320;
constexpr int kTreasureRestY = 224;
constexpr int kEnding1Wait = 200;
constexpr int kTreasureTurnsFrame = 300;
constexpr int kWindowFrame = 500;
constexpr int kEnding1Frames = 5800;
constexpr int kEnding2Frames = 3000;

// The window is given a source taller than itself; the clip keeps its 128 rows.
void DrawWindow() { kaDraw::Layer(0, 352, window, 0, 0, 640, 352); }

template <size_t N>
void DrawTextLine(const TextLine (&lines)[N], int time) {
    for (const TextLine& line : lines) {
        if (time >= line.from && time <= line.to) {
            kaDraw::Layer(0, 400, *line.sprite, 0, line.top, 640, line.bottom);
            return;
        }
    }
}

}  // namespace

// As in the title, each step that finishes hands over to the next within
// the same frame.
void ending() {
    auto& c = views.ending1;
    kaDraw::Layer(288, 224, p_right1, 0, 0, 32, 32);
    if (c.e_pt == 0) {
        ++c.e_anime_time;
        if (c.e_anime_time == kEnding1Wait) {
            c.e_pt = 1;
            c.e_anime_time = 0;
        }
    }
    if (c.e_pt == 1) {
        ++c.e_takara_y;
        kaDraw::Layer(kTreasureX, c.e_takara_y, takara, 0, 0, 32, 32);
        if (c.e_takara_y == kTreasureRestY) c.e_pt = 2;
    }
    if (c.e_pt == 2) {
        ++c.e_anime_time;
        const int t = c.e_anime_time;
        if (t >= 0 && t < kEnding1Frames) {
            kaDraw::Layer(kTreasureX, c.e_takara_y, t < kTreasureTurnsFrame ? takara : takara2, 0, 0, 32, 32);
            if (t >= kWindowFrame) DrawWindow();
            DrawTextLine(kEnding1Lines, t);
        }
        if (t >= kEnding1Frames) {
            sound_stop();
            state = kSceneStaffRoll;
            c.e_anime_time = 0;
            c.e_pt = 0;
            c.e_takara_y = 0;
        }
    }
}

void ending2() {
    auto& c = views.ending2;
    kaDraw::Layer(320, 224, p_down1, 0, 0, 32, 32);
    kaDraw::Layer(256, 224, takara, 0, 0, 32, 32);
    kaDraw::Layer(384, 224, takara, 0, 0, 32, 32);
    kaDraw::Layer(320, 160, takara, 0, 0, 32, 32);
    kaDraw::Layer(320, 288, takara, 0, 0, 32, 32);
    ++c.e2_time;
    for (const TextLine& line : kEnding2Lines) {
        if (c.e2_time >= line.from && c.e2_time <= line.to) {
            DrawWindow();
            kaDraw::Layer(0, 400, end2, 0, line.top, 640, line.bottom);
            break;
        }
    }
    if (c.e2_time >= kEnding2Frames) {
        c.e2_time = 0;
        sound_stop();
        state = kSceneStaffRoll;
        sound();
    }
}
