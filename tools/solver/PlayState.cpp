// Capture and restore of the play state of one stage, and its search key.
#include "PlayState.h"

#include <cstddef>

#include "game/GameState.h"
#include "game/Player.h"
#include "game/SoundCues.h"
#include "game/StageMaps.h"

namespace solver {

PickupCells PickupCells::Of(int stage) {
    PickupCells result;
    result.stage = stage;
    for (int row = 0; row < kMapRows; ++row) {
        for (int column = 0; column < kMapColumns; ++column) {
            const int code = map_ex[stage][row][column];
            if (code == kTileTreasure || code == kTileHidden) result.cells.push_back({row, column, code});
        }
    }
    return result;
}

PlayState PlayState::Capture(const PickupCells& cells) {
    PlayState p{};
    p.px = ::px, p.py = ::py, p.pm = ::pm, p.p_key_state = ::p_key_state;
    p.p_angle = ::p_angle, p.p_angle_no = ::p_angle_no;
    p.t_count = ::t_count, p.genkyu = ::genkyu, p.state = ::state, p.sound_state = ::sound_state;
    p.p_z_key_flag = ::p_z_key_flag, p.event_pt = ::event_pt;
    p.slimes = ::s, p.s_count = ::s_count;
    p.magicians = ::m, p.m_count = ::m_count, p.m_hantei_flag = ::m_hantei_flag, p.m_anime_time = ::m_anime_time;
    for (std::size_t i = 0; i < cells.cells.size(); ++i) {
        const auto& c = cells.cells[i];
        if (map[cells.stage][c.row][c.column] == c.code) p.present |= 1u << i;
        if (map_ex2[cells.stage][c.row][c.column] == c.code) p.presentEx2 |= 1u << i;
    }
    return p;
}

void PlayState::Restore(const PickupCells& cells) const {
    ::px = px, ::py = py, ::pm = pm, ::p_key_state = p_key_state, ::p_angle = p_angle, ::p_angle_no = p_angle_no;
    ::t_count = t_count, ::genkyu = genkyu, ::state = state, ::sound_state = sound_state;
    ::p_z_key_flag = p_z_key_flag, ::event_pt = event_pt;
    s = slimes, ::s_count = s_count;
    m = magicians, ::m_count = m_count, ::m_hantei_flag = m_hantei_flag, ::m_anime_time = m_anime_time;
    stage_no = cells.stage;
    for (std::size_t i = 0; i < cells.cells.size(); ++i) {
        const auto& c = cells.cells[i];
        map[cells.stage][c.row][c.column] = (present >> i) & 1 ? c.code : kTileFloor;
        map_ex2[cells.stage][c.row][c.column] = (presentEx2 >> i) & 1 ? c.code : kTileFloor;
    }
}

namespace {

struct Hasher {
    uint64_t h = 1469598103934665603ull;
    void Add(int64_t v) {
        h ^= static_cast<uint64_t>(v);
        h *= 1099511628211ull;
        h ^= h >> 29;
    }
};

}  // namespace

uint64_t PlayState::Key() const {
    Hasher k;
    for (int v : {px, py, p_key_state, t_count, genkyu, state, m_count, m_hantei_flag, m_anime_time}) k.Add(v);
    k.Add(present);
    const int lastSlime = s_count < kSlimeSlots ? s_count : kSlimeSlots - 1;
    for (int i = 0; i <= lastSlime; ++i) {
        k.Add(slimes.x[i]);
        k.Add(slimes.y[i]);
        k.Add(slimes.move[i]);
        k.Add(slimes.color[i]);
    }
    if (m_count != kEmptySlot) {
        for (int i = 0; i < 4; ++i) {
            k.Add(magicians.x[i]);
            k.Add(magicians.y[i]);
        }
    }
    return k.h;
}

}  // namespace solver
