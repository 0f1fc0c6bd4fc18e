// Saving and restoring everything the game changes while a stage is played,
// compactly enough to keep hundreds of thousands of search nodes, and a hash
// of the part that decides the future of the stage.
#pragma once

#include <cstdint>
#include <vector>

#include "game/Enemies.h"

namespace solver {

// The treasure and hidden-item cells of one stage, which are the only cells
// of the grid that play can change.
struct PickupCells {
    int stage = 0;
    struct Cell {
        int row, column, code;
    };
    std::vector<Cell> cells;
    static PickupCells Of(int stage);
};

struct PlayState {
    int px, py, pm, p_key_state, p_angle, p_angle_no;
    int t_count, genkyu, state, sound_state, p_z_key_flag, event_pt;
    suraimu slimes;
    int s_count;
    mhoutukai magicians;
    int m_count, m_hantei_flag, m_anime_time;
    uint32_t present;     // bit i: pickup cell i still in `map`
    uint32_t presentEx2;  // bit i: pickup cell i still in `map_ex2`

    static PlayState Capture(const PickupCells& cells);
    void Restore(const PickupCells& cells) const;
    // Hash of what the rest of the stage depends on (not the picture the
    // player shows, nor counters that play does not read).
    uint64_t Key() const;
};

}  // namespace solver
