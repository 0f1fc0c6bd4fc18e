// The staff roll: three strips scroll up from below the screen one after the
// other, the last one stops at y = 220 under a closing line, and a fresh press
// of Z there begins a new game at the title.
#include "draw/kaDraw.h"
#include "game/Assets.h"
#include "game/GameState.h"
#include "game/SoundCues.h"
#include "shell/Globals.h"

namespace {

constexpr int kFirstStripY = 544;
constexpr int kNextStripY = 512;
constexpr int kStripGoneY = -66;
constexpr int kLastStripRestY = 220;

void DrawStrip(int y, int top, int bottom) { kaDraw::Layer(0, y, staff, 0, top, 640, bottom); }

// Scrolls one strip up by a pixel; once it has left the screen the next strip
// starts below it.
void Scroll(int top, int bottom) {
    auto& c = views.staff;
    --staff_y;
    DrawStrip(staff_y, top, bottom);
    if (staff_y <= kStripGoneY) {
        staff_y = kNextStripY;
        ++c.s_pt;
    }
}

}  // namespace

void staff_view() {
    auto& c = views.staff;
    sound();
    // The phases are tested one after the other: a strip that leaves the
    // screen hands over to the next one within the frame.
    if (c.s_pt == 0) Scroll(0, 99);
    if (c.s_pt == 1) Scroll(99, 198);
    if (c.s_pt == 2) Scroll(198, 295);
    if (c.s_pt == 3) {
        DrawStrip(staff_y, 295, 332);
        if (staff_y >= kLastStripRestY) --staff_y;
        if (staff_y <= kLastStripRestY) c.s_pt = 4;
    }
    if (c.s_pt == 4) {
        DrawStrip(staff_y, 295, 332);
        DrawStrip(0, 332, 367);
        if (PushKey == kKeyZ && s_key_flag == 0) {
            sound_stop();
            state = kSceneTitle;
            s_key_flag = 1;
            op_key_state = 1;
            init_all();
            init_start();
            // The next game's roll starts from its top again.
            c.s_pt = 0;
            staff_y = kFirstStripY;
        }
        if (PushKey != kKeyZ) s_key_flag = 0;
    }
}
