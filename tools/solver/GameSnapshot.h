// A copy of every global the game keeps, to try something and take it back.
#pragma once

#include "game/Enemies.h"
#include "game/GameState.h"
#include "game/StageMaps.h"

namespace solver {

struct GameSnapshot {
    int state, stage_no, stage_check[kStageCount], clear_count, genkyu, st12_flag, t_count, event_pt;
    int op_key_state, key_left_state, key_right_state, s_z_key_flag, p_z_key_flag, s_key_flag, staff_y;
    ViewCounters views;
    int sound_state;
    int px, py, pm, p_key_state, p_angle, p_angle_no;
    suraimu s;
    int s_count, s_no;
    mhoutukai m;
    int m_count, m_hantei_flag, m_anime_time;
    int map_ex2[kMapLayers][kMapRows][kMapColumns];
    int map[kMapLayers][kMapRows][kMapColumns];
    int map_x, map_y;
    unsigned PushKey, LastKey;

    static GameSnapshot Take();
    void Put() const;
};

}  // namespace solver
