// Storage of the effect phases and noise cursors.
#include "draw/effects/EffectState.h"

namespace kadraw::state {

Wave wave;
RollWave rollWave;
RollWave tileRollWave;
Tile tile;
float waterfall = 0;
int lightCount = 0;
FireCursor fire[2];
int noiseCount[2] = {0, 0};

void ResetEffectState() {
    wave = Wave{};
    rollWave = RollWave{};
    tileRollWave = RollWave{};
    tile = Tile{};
    waterfall = 0;
    lightCount = 0;
    fire[0] = fire[1] = FireCursor{};
    noiseCount[0] = noiseCount[1] = 0;
}

}  // namespace kadraw::state
