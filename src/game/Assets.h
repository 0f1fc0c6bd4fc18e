// The game's pictures and sounds: the sprite and sound numbers the loaders
// hand out, and the start-up step that loads them all in their fixed order.
#pragma once

// Sprites (numbers 4..41 when loaded into an empty table).
extern int op, stage_select, stage_cursor, stage_batu;
extern int block_g, block_c, block_hosi, block_y;
extern int p_left1, p_left2, p_right1, p_right2;
extern int p_up1, p_up2, p_up3, p_down1, p_down2, p_down3, p_clear;
extern int s_g, s_r, m_left, m_right, m_usiro, m_mae;
extern int takara, takara2;
extern int ball_p, ball_g, ball_b, ball_r, ball_s;
extern int window, end1a, end1b, end2, staff, event;

// Sounds (numbers 0..12 when loaded into an empty table).
extern int ds_op, ds_Main1, ds_select, ds_boss, ds_end1, ds_end2, ds_staff, ds_clear;
extern int ds_cursor, ds_push, ds_miss, ds_get, ds_genkyu;

// Sets blue as the colour key, then loads the 38 sprites and the 13 sounds.
// A failed load is reported by its loader and leaves its failure value
// (0 for a sprite, -1 for a sound) in the global; loading goes on.
void load_assets();
