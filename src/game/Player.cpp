// The player's frame: direction from the keys (reversed in some stages), the
// step, the walking picture, the tile rules of the direction of motion with
// the screen-edge clamp, and the contact test against the enemies.
#include "game/Player.h"

#include "draw/kaDraw.h"
#include "game/Assets.h"
#include "game/Enemies.h"
#include "game/GameState.h"
#include "game/SoundCues.h"
#include "game/StageMaps.h"
#include "shell/Globals.h"

int px = 0;
int py = 0;
int pm = 0;
int p_key_state = 0;
int p_angle = 0;
int p_angle_no = 0;

namespace {

struct PlayerStart {
    int px, py, pm, p_angle, p_angle_no, t_count, event_pt;
};

// Start values of each stage. The fast stages (speed 4) announce themselves
// with banner 1; the stages with banner 2 swap the arrow keys.
constexpr PlayerStart kPlayerStarts[kStageCount] = {
    {32, 224, 2, kDirRight, 0, 4, 0},  {32, 32, 2, kDirDown, 0, 5, 0},    {0, 416, 2, kDirRight, 0, 4, 0},
    {288, 448, 2, kDirRight, 0, 6, 0}, {288, 352, 2, kDirRight, 2, 8, 0}, {0, 128, 2, kDirRight, 2, 8, 0},
    {608, 416, 4, kDirLeft, 0, 4, 1},  {608, 64, 4, kDirLeft, 0, 3, 1},   {64, 64, 4, kDirRight, 0, 3, 1},
    {256, 384, 2, kDirLeft, 0, 4, 2},  {0, 64, 2, kDirRight, 0, 3, 2},    {320, 224, 2, kDirDown, 0, 4, 0},
};

constexpr int kPlayerMaxX = 608;
constexpr int kPlayerMaxY = 448;

struct Probe {
    int x, y;
};

// Returns true when the tile under `probe` is `code`; a probe outside the grid
// matches nothing.
bool TileIs(Probe probe, int code) { return TileAt(probe.x, probe.y) == code; }

void PushBack() {
    switch (p_key_state) {
    case kDirLeft: px += pm; break;
    case kDirRight: px -= pm; break;
    case kDirUp: py += pm; break;
    case kDirDown: py -= pm; break;
    }
}

void TakeTreasure(Probe probe) {
    *TileCellAt(probe.x, probe.y) = kTileFloor;
    --t_count;
    PlayEffect(ds_get, SoundCue::Get);
}

void FindHiddenItem(Probe probe) {
    const int row = probe.y / kTileSize;
    const int column = probe.x / kTileSize;
    *TileCellAt(probe.x, probe.y) = kTileFloor;
    // Erased from the game's copy too, so that it stays found after a miss.
    map_ex2[stage_no][row][column] = kTileFloor;
    ++genkyu;
    PlayEffect(ds_genkyu, SoundCue::Genkyu);
}

void Miss() {
    state = kSceneMiss;
    PlayEffect(ds_miss, SoundCue::Miss);
}

void DrawPlayer(int sprite) { kaDraw::Layer(px, py, sprite, 0, 0, 32, 32); }

}  // namespace

void p_init() {
    const PlayerStart& start = kPlayerStarts[stage_no];
    px = start.px;
    py = start.py;
    pm = start.pm;
    p_angle = start.p_angle;
    p_angle_no = start.p_angle_no;
    t_count = start.t_count;
    event_pt = start.event_pt;
    p_key_state = kDirStanding;
}

void p_key() {
    const bool reversed = event_pt == 2;
    if (PushKey == kKeyLeft) {
        p_key_state = reversed ? kDirRight : kDirLeft;
    } else if (PushKey == kKeyRight) {
        p_key_state = reversed ? kDirLeft : kDirRight;
    } else if (PushKey == kKeyUp) {
        p_key_state = reversed ? kDirDown : kDirUp;
    } else if (PushKey == kKeyDown) {
        p_key_state = reversed ? kDirUp : kDirDown;
    }

    switch (p_key_state) {
    case kDirLeft: px -= pm; break;
    case kDirRight: px += pm; break;
    case kDirUp: py -= pm; break;
    case kDirDown: py += pm; break;
    default: break;
    }
    if (p_key_state >= kDirLeft && p_key_state <= kDirDown) {
        p_angle = p_key_state;
        ++p_angle_no;
    }

    if (PushKey == kKeyZ && p_z_key_flag == 0) {
        sound_stop();
        state = kSceneSelect;
        p_z_key_flag = 1;
    }
    if (PushKey != kKeyZ) p_z_key_flag = 0;
}

void p_anime() {
    switch (p_angle) {
    case kDirLeft:
        if (p_angle_no >= 2) p_angle_no = 0;
        DrawPlayer(p_angle_no == 0 ? p_left1 : p_left2);
        break;
    case kDirRight:
        if (p_angle_no >= 2) p_angle_no = 0;
        DrawPlayer(p_angle_no == 0 ? p_right1 : p_right2);
        break;
    case kDirUp:
        if (p_angle_no >= 3) p_angle_no = 1;
        DrawPlayer(p_angle_no == 0 ? p_up1 : p_angle_no == 1 ? p_up2 : p_up3);
        break;
    case kDirDown:
        if (p_angle_no >= 3) p_angle_no = 1;
        DrawPlayer(p_angle_no == 0 ? p_down1 : p_angle_no == 1 ? p_down2 : p_down3);
        break;
    default: break;
    }
}

void p_block_check() {
    Probe a{}, b{};
    switch (p_key_state) {
    case kDirLeft: a = {px + 2, py + 5}, b = {px + 2, py + 28}; break;
    case kDirRight: a = {px + 28, py + 5}, b = {px + 28, py + 28}; break;
    case kDirUp: a = {px + 5, py + 5}, b = {px + 28, py + 5}; break;
    case kDirDown: a = {px + 5, py + 28}, b = {px + 28, py + 28}; break;
    default: break;
    }
    if (p_key_state >= kDirLeft && p_key_state <= kDirDown) {
        // Walking left, the spikes are felt two pixels further in than the
        // walls and pickups.
        Probe spikeA = a, spikeB = b;
        if (p_key_state == kDirLeft) spikeA = {px + 4, py + 5}, spikeB = {px + 4, py + 28};

        if (TileIs(a, kTileWall) || TileIs(b, kTileWall)) {
            PushBack();
        } else if (TileIs(a, kTileTreasure)) {
            TakeTreasure(a);
        } else if (TileIs(b, kTileTreasure)) {
            TakeTreasure(b);
        } else if (TileIs(spikeA, kTileSpike) || TileIs(spikeB, kTileSpike)) {
            Miss();
        } else if (TileIs(a, kTileHidden)) {
            FindHiddenItem(a);
        } else if (TileIs(b, kTileHidden)) {
            FindHiddenItem(b);
        }
    }

    if (px <= 0) px = 0;
    if (px >= kPlayerMaxX) px = kPlayerMaxX;
    if (py <= 0) py = 0;
    if (py >= kPlayerMaxY) py = kPlayerMaxY;
}

void p_enemy_hit() {
    const Probe probes[4] = {{px + 4, py + 4}, {px + 4, py + 28}, {px + 28, py + 4}, {px + 28, py + 28}};

    for (s_no = 0; s_no <= LastSlimeSlot(); ++s_no) {
        const int x = s.x[s_no];
        const int y = s.y[s_no];
        // 99 marks an empty slot; a slime passing through 99 is skipped too.
        if (x == 99 || y == 99) continue;
        for (const Probe& p : probes) {
            if (x + 6 <= p.x && p.x <= x + 26 && y + 6 <= p.y && p.y <= y + 26) Miss();
        }
    }

    if (m_hantei_flag == 1 && m_count != 99) {
        for (int i = 0; i <= LastMagicianSlot(); ++i) {
            const int x = m.x[i];
            const int y = m.y[i];
            for (int k = 0; k < 3; ++k) {
                const Probe& p = probes[k];
                if (x + 2 <= p.x && p.x <= x + 30 && y + 2 <= p.y && p.y <= y + 30) Miss();
            }
            // The lower-right probe is tested against the magician's box with
            // its bounds the other way round, 30 on one side.
            if (x + 2 <= px + 30 && x + 30 >= px + 28 && y + 2 <= py + 30 && y + 30 >= py + 28) Miss();
        }
    }
}

void p_main() {
    p_key();
    p_anime();
    p_block_check();
    p_enemy_hit();
}
