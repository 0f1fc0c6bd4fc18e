// The player: position, speed, direction of motion and facing, the per-stage
// start values, key handling, the walking animation, the tile collisions and
// the contact test against slimes and magicians.
#pragma once

// Directions of motion and facing (`p_key_state`, `p_angle`).
constexpr int kDirLeft = 0;
constexpr int kDirRight = 1;
constexpr int kDirUp = 2;
constexpr int kDirDown = 3;
constexpr int kDirStanding = 99;

extern int px;
extern int py;
extern int pm;
extern int p_key_state;
extern int p_angle;
extern int p_angle_no;

void p_init();
void p_main();
void p_key();
void p_anime();
void p_block_check();
void p_enemy_hit();
