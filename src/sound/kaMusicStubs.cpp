// Temporary definitions so that everything links; replaced piece by piece.
#include "sound/kaMusic.h"

int kaMusic::PlayMusic{};
int kaMusic::LoopMusic{};
int kaMusic::LoopMode{};
int kaMusic::Init() { return 0; }
void kaMusic::Replay() { }
void kaMusic::DestroyObject() { }
