// The game-wide scene state, the three reset routines and the screen function
// that runs the view of the current scene once per frame.
#include "game/GameState.h"

#include <cstring>

#include "draw/kaDraw.h"
#include "game/Enemies.h"
#include "game/GameTrace.h"
#include "game/Player.h"
#include "game/SoundCues.h"
#include "game/StageMaps.h"

int state = 0;
int stage_no = 0;
int stage_check[kStageCount] = {};
int clear_count = 0;
int genkyu = 0;
int st12_flag = 0;
int t_count = 0;
int event_pt = 0;
int op_key_state = 1;
int key_left_state = 1;
int key_right_state = 1;
int s_z_key_flag = 0;
int p_z_key_flag = 0;
int s_key_flag = 1;
int staff_y = 544;
ViewCounters views;

void ResetGameGlobals() {
    state = kSceneTitle;
    stage_no = 0;
    std::memset(stage_check, 0, sizeof stage_check);
    clear_count = genkyu = st12_flag = t_count = event_pt = 0;
    op_key_state = key_left_state = key_right_state = s_key_flag = 1;
    s_z_key_flag = p_z_key_flag = 0;
    staff_y = 544;
    views = ViewCounters{};
    sound_state = 0;
    px = py = pm = p_key_state = p_angle = p_angle_no = 0;
    std::memset(&s, 0, sizeof s);
    std::memset(&m, 0, sizeof m);
    s_count = s_no = m_count = m_hantei_flag = m_anime_time = 0;
    std::memset(map, 0, sizeof map);
    map_x = map_y = 0;
    LoadStageLayouts();
}

void init_all() {
    std::memset(stage_check, 0, sizeof stage_check);
    clear_count = 0;
    genkyu = 0;
    st12_flag = 0;
}

namespace {

// The part that a new game and a new attempt share.
void ResetAttempt() {
    ResetEnemySlots();
    p_z_key_flag = 1;
    s_z_key_flag = 1;
    m_anime_time = 0;
    p_init();
    suraimu_init();
    m_init();
}

}  // namespace

void init_start() {
    std::memcpy(map_ex2, map_ex, sizeof map_ex2[0] * kStageCount);
    ResetAttempt();
}

void init_general() {
    std::memcpy(map[stage_no], map_ex2[stage_no], sizeof map[stage_no]);
    ResetAttempt();
}

void RunScene() {
    switch (state) {
    case kSceneTitle: op_view(); break;
    case kSceneSelect: stage_select_view(); break;
    case kScenePassThrough:
        p_state_view();
        state = kScenePlay;
        break;
    case kScenePlay:
        game_main();
        suraimu_main();
        mahoutukai_move();
        break;
    case kSceneMiss: p_hit_anime(); break;
    case kSceneClear: clear_anime(); break;
    case kSceneEnding1: ending(); break;
    case kSceneStaffRoll: staff_view(); break;
    case kSceneEnding2: ending2(); break;
    case kSceneIntro:
        map_draw();
        event_view();
        break;
    default: break;
    }
}

void MainScreen() {
    const int before = state;
    kaDraw::Clear();
    RunScene();
    kaDraw::Refresh();
    NoteFrameEnd(before);
}
