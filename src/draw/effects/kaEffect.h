// kaEffect: whole-screen effects on the back surface.
#pragma once

class kaEffect {
public:
    static char FireRandomList[10000];
};
