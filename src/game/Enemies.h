// The enemies of the running stage: up to ten slimes that patrol a row or a
// column, and the four magicians of the last stage that appear around the
// player every 200 frames.
#pragma once

constexpr int kSlimeSlots = 10;
constexpr int kMagicianSlots = 5;
constexpr int kEmptySlot = 99;  // also "no magicians" in m_count

struct suraimu {
    int count;
    int x[kSlimeSlots];
    int y[kSlimeSlots];
    int speed[kSlimeSlots];
    int color[kSlimeSlots];  // 0 green, 1 red, 99 empty slot
    int move[kSlimeSlots];   // 0 left, 1 right, 2 up, 3 down
};

struct mhoutukai {
    int x[kMagicianSlots];
    int y[kMagicianSlots];
    int move[kMagicianSlots];
};

extern suraimu s;
extern int s_count;
extern int s_no;

extern mhoutukai m;
extern int m_count;
extern int m_hantei_flag;
extern int m_anime_time;

// Empties every slime slot (part of the new-game and new-attempt resets).
void ResetEnemySlots();

void suraimu_init();
void suraimu_main();
void s_move();
void m_init();
void mahoutukai_main();
void mahoutukai_move();

// The last slot index the enemy loops may visit, whatever the counters say.
inline int LastSlimeSlot() { return s_count < kSlimeSlots ? s_count : kSlimeSlots - 1; }
inline int LastMagicianSlot() { return m_count < kMagicianSlots ? m_count : kMagicianSlots - 1; }
