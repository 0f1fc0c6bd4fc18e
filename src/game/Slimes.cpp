// Slimes: their placement per stage, and each frame their drawing, their step
// and their turn at walls, treasures, spikes and the screen edge.
#include "draw/kaDraw.h"
#include "game/Assets.h"
#include "game/Enemies.h"
#include "game/GameState.h"
#include "game/StageMaps.h"

suraimu s;
int s_count = 0;
int s_no = 0;

namespace {

struct SlimeStart {
    int x, y, speed, color, move;
};

struct StageSlimes {
    int s_count;  // -1: leave s_count as it is
    int n;
    SlimeStart slimes[7];
};

// The slimes of each stage, filling slots 0, 1, 2, ... in this order. Some
// counts reach past the slimes placed; the loops skip the empty slots.
constexpr StageSlimes kStageSlimes[kStageCount] = {
    {3, 4, {{288, 64, 1, 0, 2}, {288, 224, 1, 0, 2}, {352, 384, 1, 0, 3}, {544, 244, 1, 0, 3}}},
    {3, 3, {{128, 192, 1, 0, 1}, {320, 448, 1, 0, 2}, {608, 224, 1, 0, 0}}},
    {5,
     6,
     {{352, 384, 1, 0, 3},
      {480, 320, 1, 0, 2},
      {128, 256, 1, 0, 3},
      {128, 192, 1, 0, 2},
      {416, 32, 1, 0, 3},
      {160, 32, 1, 0, 2}}},
    {2, 3, {{128, 384, 2, 1, 1}, {416, 224, 2, 1, 0}, {256, 64, 2, 1, 1}}},
    {4, 5, {{32, 288, 2, 1, 1}, {96, 192, 2, 1, 1}, {224, 64, 2, 1, 1}, {448, 128, 2, 1, 0}, {576, 256, 2, 1, 0}}},
    {3, 4, {{128, 128, 2, 1, 3}, {256, 320, 2, 1, 2}, {384, 128, 2, 1, 3}, {512, 320, 2, 1, 2}}},
    {5,
     6,
     {{64, 64, 1, 0, 0},
      {96, 128, 1, 0, 3},
      {64, 352, 1, 0, 0},
      {96, 384, 1, 0, 3},
      {544, 224, 1, 0, 1},
      {512, 256, 1, 0, 3}}},
    {0, 0, {}},
    {6,
     7,
     {{64, 416, 2, 1, 2},
      {192, 96, 1, 0, 2},
      {192, 384, 1, 0, 3},
      {320, 64, 1, 0, 3},
      {320, 416, 1, 0, 2},
      {448, 96, 1, 0, 2},
      {448, 352, 1, 0, 3}}},
    {3, 4, {{32, 224, 1, 0, 1}, {224, 32, 2, 1, 3}, {384, 96, 2, 1, 2}, {576, 224, 1, 0, 0}}},
    {1, 2, {{160, 320, 1, 0, 1}, {448, 160, 1, 0, 0}}},
    {-1, 0, {}},
};

bool BlocksSlime(int x, int y) {
    const int code = TileAt(x, y);
    return code == kTileWall || code == kTileTreasure || code == kTileSpike;
}

}  // namespace

void ResetEnemySlots() {
    s.count = kEmptySlot;
    for (int i = 0; i < kSlimeSlots; ++i) {
        s.x[i] = s.y[i] = s.speed[i] = s.color[i] = s.move[i] = kEmptySlot;
    }
}

void suraimu_init() {
    const StageSlimes& stage = kStageSlimes[stage_no];
    if (stage.s_count >= 0) s_count = stage.s_count;
    for (int i = 0; i < stage.n; ++i) {
        const SlimeStart& start = stage.slimes[i];
        s.x[i] = start.x;
        s.y[i] = start.y;
        s.speed[i] = start.speed;
        s.color[i] = start.color;
        s.move[i] = start.move;
    }
}

void s_move() {
    for (s_no = 0; s_no <= LastSlimeSlot(); ++s_no) {
        const int i = s_no;
        if (s.color[i] == kEmptySlot) continue;

        kaDraw::Layer(s.x[i], s.y[i], s.color[i] == 0 ? s_g : s_r, 0, 0, 32, 32);

        switch (s.move[i]) {
        case 0:
            s.x[i] -= s.speed[i];
            if (BlocksSlime(s.x[i], s.y[i]) || s.x[i] <= 0) s.move[i] = 1;
            break;
        case 1:
            s.x[i] += s.speed[i];
            if (BlocksSlime(s.x[i] + 26, s.y[i]) || s.x[i] >= 608) s.move[i] = 0;
            break;
        case 2:
            s.y[i] -= s.speed[i];
            if (BlocksSlime(s.x[i], s.y[i]) || s.y[i] <= 0) s.move[i] = 3;
            break;
        case 3:
            s.y[i] += s.speed[i];
            if (BlocksSlime(s.x[i], s.y[i] + 26) || s.y[i] >= 448) s.move[i] = 2;
            break;
        default: break;
        }
    }
}

void suraimu_main() { s_move(); }
