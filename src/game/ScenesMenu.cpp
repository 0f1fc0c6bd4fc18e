// The title and the stage select: the fresh press of Z that leaves the title,
// the cursor over the twelve stages, the cleared marks, the balls of the
// hidden items found, and the start of a stage.
#include "draw/kaDraw.h"
#include "game/Assets.h"
#include "game/GameState.h"
#include "game/SoundCues.h"
#include "shell/Globals.h"

namespace {

constexpr int kStartDelayFrames = 50;
constexpr int kLastStage = 11;

struct Point {
    int x, y;
};

// The stages form a row of seven above a row of five. The marks of the
// two-digit stages sit a little further right, under their numbers.
constexpr Point kCursorAt[kStageCount] = {{96, 128},  {160, 128}, {224, 128}, {288, 128}, {352, 128}, {416, 128},
                                          {480, 128}, {96, 192},  {160, 192}, {224, 192}, {288, 192}, {352, 192}};
constexpr Point kMarkAt[kStageCount] = {{112, 144}, {176, 144}, {240, 144}, {304, 144}, {368, 144}, {432, 144},
                                        {496, 144}, {112, 208}, {176, 208}, {245, 208}, {309, 208}, {373, 208}};

void DrawFull(int sprite) { kaDraw::Layer(0, 0, sprite, 0, 0, 640, 480); }

}  // namespace

// The steps are tested one after the other, so a step that finishes hands
// over within the frame: Z taken on frame A plays the start sound on frame A,
// and the stage select runs from frame A + 50.
void op_view() {
    auto& c = views.title;
    DrawFull(op);
    if (c.op_state == 0) {
        sound();
        if (PushKey == kKeyZ && op_key_state == 0 && c.op_state_flag == 0) {
            c.op_state = 1;
            c.op_state_flag = 1;
            op_key_state = 1;
        }
    }
    if (c.op_state == 1) {
        sound_stop();
        PlayEffect(ds_push, SoundCue::Push);
        c.op_state = 2;
    }
    if (c.op_state == 2) {
        ++c.se_time;
        if (c.se_time >= kStartDelayFrames) {
            c.op_state = 0;
            c.op_state_flag = 0;
            op_key_state = 1;
            c.se_time = 0;
            state = kSceneSelect;
        }
    }
    if (PushKey != kKeyZ) op_key_state = 0;
}

void ball_view() {
    const int balls[5] = {ball_p, ball_g, ball_r, ball_b, ball_s};
    for (int i = 0; i < genkyu && i < 5; ++i) kaDraw::Layer(160 + 64 * i, 352, balls[i], 0, 0, 64, 64);
}

void stage_select_view() {
    sound();
    DrawFull(stage_select);
    ball_view();

    for (int i = 0; i < kStageCount; ++i) {
        if (stage_check[i] == 1) kaDraw::Layer(kMarkAt[i].x, kMarkAt[i].y, stage_batu, 0, 0, 32, 32);
    }

    // Left and right are latched; up and down are not, but a held key cannot
    // move twice because the cursor has then left the row it moves from.
    if (PushKey == kKeyLeft) {
        if (stage_no != 0 && stage_no != 7 && key_left_state == 0) {
            --stage_no;
            key_left_state = 1;
            PlayEffect(ds_cursor, SoundCue::Cursor);
        }
    } else if (PushKey == kKeyRight) {
        if (stage_no != 6 && stage_no != 11 && key_right_state == 0) {
            ++stage_no;
            key_right_state = 1;
            PlayEffect(ds_cursor, SoundCue::Cursor);
        }
    }
    if (PushKey == kKeyUp) {
        if (stage_no >= 7 && stage_no <= 11) {
            stage_no -= 7;
            PlayEffect(ds_cursor, SoundCue::Cursor);
        }
    } else if (PushKey == kKeyDown) {
        if (stage_no >= 0 && stage_no <= 4) {
            stage_no += 7;
            PlayEffect(ds_cursor, SoundCue::Cursor);
        }
    }

    const Point cursor = kCursorAt[stage_no];
    kaDraw::Layer(cursor.x, cursor.y, stage_cursor, 0, 0, 64, 64);

    if (PushKey == kKeyZ && s_z_key_flag == 0 && (stage_no != kLastStage || st12_flag == 1)) {
        PlayEffect(ds_push, SoundCue::Push);
        sound_stop();
        state = kSceneIntro;
        init_general();
    }

    if (PushKey != kKeyLeft) key_left_state = 0;
    if (PushKey != kKeyRight) key_right_state = 0;
    if (PushKey != kKeyZ) s_z_key_flag = 0;
}
