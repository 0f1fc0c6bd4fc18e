// The stage grids: the layouts as shipped, the copy of the current game (with
// the hidden items found so far erased) and the working grid of the running
// attempt; the tile codes and the drawing of the grid.
#pragma once

constexpr int kMapLayers = 13;  // twelve stages and one empty layer
constexpr int kMapRows = 15;
constexpr int kMapColumns = 20;
constexpr int kTileSize = 32;

// Tile codes.
constexpr int kTileFloor = 0;
constexpr int kTileWall = 1;
constexpr int kTileTreasure = 2;
constexpr int kTileSpike = 3;
constexpr int kTileGreen = 4;
constexpr int kTileFalseWall = 5;
constexpr int kTileHidden = 10;

extern int map_ex[kMapLayers][kMapRows][kMapColumns];
extern int map_ex2[kMapLayers][kMapRows][kMapColumns];
extern int map[kMapLayers][kMapRows][kMapColumns];
extern int map_x;
extern int map_y;

void map_draw();
void mapchip_select();

// The code of the tile of `map` layer stage_no under pixel (x, y), or -1 when
// the pixel lies outside the 20x15 grid (no tile there).
int TileAt(int x, int y);
// The cell of `map` layer stage_no under pixel (x, y), or nullptr outside.
int* TileCellAt(int x, int y);

// The layouts as text, one string per row; see StageData.cpp for the
// characters. Fills map_ex from them.
extern const char* const kStageLayouts[12][kMapRows];
void LoadStageLayouts();
// The tile code of a layout character, or -1 for a character that is no tile.
int TileCodeOf(char c);
