// Temporary definitions so that everything links; replaced piece by piece.
#include "sound/kaSound.h"

int kaSound::Ok{};
int kaSound::Init() { return 0; }
void kaSound::DestroyObject() { }
void kaSound::ResetTable() { }
int kaSound::LoadObject(const char*, int) { return 0; }
void kaSound::Play(int, int) { }
void kaSound::Loop(int, int) { }
void kaSound::Stop(int, int) { }
void kaSound::Beep() { }
int kaSound::Streaming() { return 0; }
