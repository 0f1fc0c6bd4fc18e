// kaMusic: the MIDI tune state. No sequencer is attached yet, so a tune is
// only bookkeeping: Replay follows the loop switch as the end notice asks.
#include "sound/kaMusic.h"

int kaMusic::PlayMusic = 0;
int kaMusic::LoopMusic = 0;
int kaMusic::LoopMode = 1;

int kaMusic::Init() {
    PlayMusic = 0;
    LoopMusic = 0;
    LoopMode = 1;
    return 1;
}

void kaMusic::Replay() {
    // Restarting needs a sequencer; without one only the end of a
    // non-looping tune has an effect: it is closed.
    if (LoopMode != 1) PlayMusic = 0;
    LoopMusic = 1;
}

void kaMusic::DestroyObject() { PlayMusic = 0; }
