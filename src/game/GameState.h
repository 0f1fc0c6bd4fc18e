// Scene state of the game: which scene runs, the stage chosen, the cleared
// stages, the hidden items found, the key latches of the menus, the per-view
// counters, and the scene functions with the three reset routines.
#pragma once

// Virtual-key codes the game reacts to.
constexpr unsigned kKeyLeft = 0x25;
constexpr unsigned kKeyUp = 0x26;
constexpr unsigned kKeyRight = 0x27;
constexpr unsigned kKeyDown = 0x28;
constexpr unsigned kKeyZ = 0x5A;

constexpr int kStageCount = 12;

// Scenes (values of `state`).
enum Scene : int {
    kSceneTitle = 0,
    kSceneSelect = 1,
    kScenePassThrough = 2,
    kScenePlay = 3,
    kSceneMiss = 4,
    kSceneClear = 5,
    kSceneEnding1 = 6,
    kSceneStaffRoll = 7,
    kSceneEnding2 = 8,
    kSceneIntro = 9,
};

extern int state;
extern int stage_no;
extern int stage_check[kStageCount];
extern int clear_count;
extern int genkyu;
extern int st12_flag;
extern int t_count;
extern int event_pt;
extern int op_key_state;
extern int key_left_state;
extern int key_right_state;
extern int s_z_key_flag;
extern int p_z_key_flag;
extern int s_key_flag;
extern int staff_y;

// Counters that each belong to one view and keep their value from frame to
// frame. They live together so that a test or a search can save, restore and
// reset the whole game.
struct ViewCounters {
    struct {
        int op_state = 0, op_state_flag = 0, se_time = 0;
    } title;
    struct {
        int e_time = 0;
    } intro;
    struct {
        int anime_pt = 0, anime_time = 0;
    } miss;
    struct {
        int anime_time = 0, se_flag = 0;
    } clear;
    struct {
        int e_pt = 0, e_anime_time = 0, e_takara_y = 0;
    } ending1;
    struct {
        int e2_time = 0;
    } ending2;
    struct {
        int s_pt = 0;
    } staff;
};
extern ViewCounters views;

// The screen function and the scene views.
void MainScreen();
void op_view();
void stage_select_view();
void ball_view();
void p_state_view();
void game_main();
void event_view();
void p_hit_anime();
void clear_anime();
void clear_check();
void ending_check();
void ending();
void ending2();
void staff_view();

// Reset routines.
void init_all();
void init_start();
void init_general();

// One frame of the current scene without clearing or presenting the screen:
// what MainScreen runs between kaDraw::Clear and kaDraw::Refresh.
void RunScene();

// Puts every game global back to its value at program start (before
// init_start), including the view counters.
void ResetGameGlobals();
