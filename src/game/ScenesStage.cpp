// The scenes around a stage: the intro banner, the play frame and its clear
// test, the miss (the player jumps off the screen), the stage clear and the
// choice of what follows it.
#include "draw/kaDraw.h"
#include "game/Assets.h"
#include "game/GameState.h"
#include "game/Player.h"
#include "game/SoundCues.h"
#include "game/StageMaps.h"

namespace {

constexpr int kBannerLastFrame = 149;
constexpr int kBannerEndFrame = 150;
constexpr int kJumpStep = 16;
constexpr int kMissWaitFrames = 75;
constexpr int kClearFrames = 300;

}  // namespace

void p_state_view() {}

void event_view() {
    if (event_pt == 0) {
        state = kScenePlay;
        return;
    }
    if (event_pt != 1 && event_pt != 2) return;
    auto& c = views.intro;
    ++c.e_time;
    if (c.e_time >= 0 && c.e_time <= kBannerLastFrame) {
        const int top = event_pt == 1 ? 0 : 65;
        kaDraw::Layer(0, 208, event, 0, top, 640, top + 65);
    }
    if (c.e_time >= kBannerEndFrame) {
        state = kScenePlay;
        c.e_time = 0;
    }
}

void game_main() {
    sound();
    map_draw();
    p_main();
    clear_check();
}

void clear_check() {
    // Runs after the collision checks: the last treasure wins over a miss in
    // the same frame.
    if (t_count <= 0) {
        stage_check[stage_no] = 1;
        sound_stop();
        state = kSceneClear;
    }
}

void p_hit_anime() {
    auto& c = views.miss;
    if (c.anime_pt == 0) {
        py -= kJumpStep;
        if (py <= 0) c.anime_pt = 1;
    }
    if (c.anime_pt == 1) {
        py += kJumpStep;
        if (py >= 480) c.anime_pt = 2;
    }
    if (c.anime_pt == 2) {
        ++c.anime_time;
        if (c.anime_time >= kMissWaitFrames) {
            c.anime_time = 0;
            c.anime_pt = 0;
            state = kScenePlay;
            init_general();
        }
    }
    kaDraw::Layer(px, py, p_down1, 0, 0, 32, 32);
}

void clear_anime() {
    auto& c = views.clear;
    map_draw();
    kaDraw::Layer(px, py, p_clear, 0, 0, 32, 32);
    ++c.anime_time;
    if (c.se_flag == 0) {
        PlayEffect(ds_clear, SoundCue::Clear);
        c.se_flag = 1;
    }
    if (c.anime_time >= kClearFrames) {
        c.se_flag = 0;
        c.anime_time = 0;
        ending_check();
    }
}

void ending_check() {
    for (int i = 0; i < kStageCount; ++i) {
        if (stage_check[i] == 1) ++clear_count;
    }
    if (clear_count >= kStageCount) {
        if (genkyu >= 5) {
            state = kSceneEnding1;
            sound();
        } else {
            state = kSceneEnding2;
            sound();
        }
    } else {
        if (clear_count == kStageCount - 1) st12_flag = 1;
        clear_count = 0;
        state = kSceneSelect;
    }
}
