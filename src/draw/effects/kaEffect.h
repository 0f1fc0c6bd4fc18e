// kaEffect: whole-screen effects that rework a rectangle of the back surface
// in place after the scene is drawn: rising fire, blur with fading, the
// enlargements by two and four, a round pixelation and colour noise.
// Every rectangle is limited to the back surface; results are 1 when done,
// 0 when a surface could not be locked.
#pragma once

class kaEffect {
public:
    // 10,000 noise values, each 0, 1 or 2, drawn at screen set-up.
    static char FireRandomList[10000];

    static int Fire(int Px, int Py, unsigned Width, unsigned Height);
    static int Fire(int Red, int Green, int Blue, int Px, int Py, unsigned Width, unsigned Height);
    static int Shade(int Px, int Py, unsigned Width, unsigned Height);
    static int Shade(int Red, int Green, int Blue, int Px, int Py, unsigned Width, unsigned Height);
    static int Zoom2(int Px, int Py, unsigned Width, unsigned Height, int Mesh);
    static int Zoom4(int Px, int Py, unsigned Width, unsigned Height, int Mesh);
    static int Mosaic(int Px, int Py, int Radius, int Size);
    static int Noise(int Force, int Px, int Py, unsigned Width, unsigned Height);
    static int Noise(int Red, int Green, int Blue, int Force, int Px, int Py, unsigned Width, unsigned Height);
};
