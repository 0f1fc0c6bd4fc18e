// kaFont: font set-up and text drawing.
#pragma once

class kaFont {
public:
    static void Init();
    static void DestroyObject();
};
