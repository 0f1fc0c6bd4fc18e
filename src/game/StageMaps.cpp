// The three copies of the stage grids, their start-up fill from the layout
// text, tile look-up by pixel for the player and the slimes, and the drawing
// of the running stage.
#include "game/StageMaps.h"

#include "draw/kaDraw.h"
#include "game/Assets.h"
#include "game/GameState.h"

int map_ex[kMapLayers][kMapRows][kMapColumns];
int map_ex2[kMapLayers][kMapRows][kMapColumns];
int map[kMapLayers][kMapRows][kMapColumns];
int map_x = 0;
int map_y = 0;

namespace {

// The shipped layouts are in place before anything runs, as constant data
// would be.
const bool kLayoutsLoaded = (LoadStageLayouts(), true);

}  // namespace

int TileCodeOf(char c) {
    switch (c) {
    case '.': return kTileFloor;
    case '#': return kTileWall;
    case '$': return kTileTreasure;
    case '^': return kTileSpike;
    case '%': return kTileFalseWall;
    case '*': return kTileHidden;
    default: return -1;
    }
}

void LoadStageLayouts() {
    for (int stage = 0; stage < kMapLayers; ++stage) {
        for (int row = 0; row < kMapRows; ++row) {
            for (int column = 0; column < kMapColumns; ++column) {
                int code = 0;
                if (stage < 12) {
                    code = TileCodeOf(kStageLayouts[stage][row][column]);
                    if (code < 0) code = kTileFloor;
                }
                map_ex[stage][row][column] = code;
                map_ex2[stage][row][column] = code;
            }
        }
    }
}

int* TileCellAt(int x, int y) {
    // Division rounds toward zero, so a probe a few pixels left of or above
    // the screen still reads column or row 0. A probe beyond the right or
    // bottom edge (a fast player one step into the border) has no tile:
    // reading on would land in the next row or layer.
    const int column = x / kTileSize;
    const int row = y / kTileSize;
    if (column < 0 || row < 0 || column >= kMapColumns || row >= kMapRows) return nullptr;
    if (stage_no < 0 || stage_no >= kMapLayers) return nullptr;
    return &map[stage_no][row][column];
}

int TileAt(int x, int y) {
    const int* cell = TileCellAt(x, y);
    return cell ? *cell : -1;
}

void mapchip_select() {
    int sprite = 0;
    switch (map[stage_no][map_y][map_x]) {
    case kTileFloor:
    case kTileHidden: sprite = block_hosi; break;
    case kTileWall:
    case kTileFalseWall: sprite = block_c; break;
    case kTileTreasure: sprite = takara; break;
    case kTileSpike: sprite = block_y; break;
    case kTileGreen: sprite = block_g; break;
    default: return;  // codes without a picture leave the cleared screen
    }
    kaDraw::Layer(kTileSize * map_x, kTileSize * map_y, sprite, 0, 0, kTileSize, kTileSize);
}

void map_draw() {
    for (map_x = 0; map_x < kMapColumns; ++map_x) {
        for (map_y = 0; map_y < kMapRows; ++map_y) mapchip_select();
    }
}
