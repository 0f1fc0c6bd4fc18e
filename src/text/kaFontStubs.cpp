// Temporary definitions so that everything links; replaced piece by piece.
#include "text/kaFont.h"

void kaFont::Init() { }
void kaFont::DestroyObject() { }
