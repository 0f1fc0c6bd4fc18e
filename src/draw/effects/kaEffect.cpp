// kaEffect statics.
#include "draw/effects/kaEffect.h"

char kaEffect::FireRandomList[10000]{};
