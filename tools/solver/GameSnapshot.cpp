// Taking and putting back the game's globals.
#include "GameSnapshot.h"

#include <cstring>

#include "game/Player.h"
#include "game/SoundCues.h"
#include "shell/Globals.h"

namespace solver {

namespace {

// Copies between a global and the snapshot's field of the same shape.
template <typename T>
void Copy(T& to, const T& from) {
    std::memcpy(&to, &from, sizeof(T));
}

// Lists every global once; `Move` copies in the direction wanted.
template <typename Snapshot, typename MoveFn>
void Each(Snapshot& g, MoveFn Move) {
    Move(g.state, ::state), Move(g.stage_no, ::stage_no), Move(g.stage_check, ::stage_check);
    Move(g.clear_count, ::clear_count), Move(g.genkyu, ::genkyu), Move(g.st12_flag, ::st12_flag);
    Move(g.t_count, ::t_count), Move(g.event_pt, ::event_pt), Move(g.op_key_state, ::op_key_state);
    Move(g.key_left_state, ::key_left_state), Move(g.key_right_state, ::key_right_state);
    Move(g.s_z_key_flag, ::s_z_key_flag), Move(g.p_z_key_flag, ::p_z_key_flag), Move(g.s_key_flag, ::s_key_flag);
    Move(g.staff_y, ::staff_y), Move(g.views, ::views), Move(g.sound_state, ::sound_state);
    Move(g.px, ::px), Move(g.py, ::py), Move(g.pm, ::pm), Move(g.p_key_state, ::p_key_state);
    Move(g.p_angle, ::p_angle), Move(g.p_angle_no, ::p_angle_no);
    Move(g.s, ::s), Move(g.s_count, ::s_count), Move(g.s_no, ::s_no);
    Move(g.m, ::m), Move(g.m_count, ::m_count), Move(g.m_hantei_flag, ::m_hantei_flag);
    Move(g.m_anime_time, ::m_anime_time), Move(g.map_ex2, ::map_ex2), Move(g.map, ::map);
    Move(g.map_x, ::map_x), Move(g.map_y, ::map_y), Move(g.PushKey, ::PushKey), Move(g.LastKey, ::LastKey);
}

}  // namespace

GameSnapshot GameSnapshot::Take() {
    GameSnapshot g;
    Each(g, [](auto& field, const auto& global) { Copy(field, global); });
    return g;
}

void GameSnapshot::Put() const {
    Each(*this, [](const auto& field, auto& global) { Copy(global, field); });
}

}  // namespace solver
