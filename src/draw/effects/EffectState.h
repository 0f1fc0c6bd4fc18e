// The animation phases of the distortion layers and the noise cursors of the
// screen effects: one set per member, shared by every call, living for the
// whole run. Internal to the drawing code; tests reset them through
// ResetEffectState().
#pragma once

namespace kadraw::state {

struct Wave {
    float angle = 0;
    int lineX = 1;  // swing of the next row in the alternating mode, +1 or -1
};
struct RollWave {
    float angle = 0;
    float roll = 0;
};
struct Tile {
    float rollX = 0;
    float rollY = 0;
};
struct FireCursor {
    int count = 0;   // length of the current run
    int count2 = 0;  // position in the noise list
};

extern Wave wave;
extern RollWave rollWave;
extern RollWave tileRollWave;
extern Tile tile;
extern float waterfall;   // rt
extern int lightCount;    // noise position of the light rays
extern FireCursor fire[2];   // [0] the plain fire, [1] the fading one
extern int noiseCount[2];    // [0] all channels, [1] the flagged ones

// Everything back to its start-up value.
void ResetEffectState();

}  // namespace kadraw::state
