// The gallery's generated pictures: a busy background, a picture with
// transparent holes, a tunnel texture, a displacement map and a sparse
// light sprite, all made in code as sprites at start-up.
#pragma once

namespace kafx_gallery {

constexpr int kPicW = 200, kPicH = 150;
constexpr int kPicX = 320 - kPicW / 2, kPicY = 240 - kPicH / 2;

struct Pictures {
    int back = 0;     // 640x480, stripes, checks and gradients
    int pic = 0;      // kPicW x kPicH, a rounded picture with holes (0 = transparent)
    int texture = 0;  // 128x128, no transparent pixels
    int map = 0;      // kPicW x kPicH, red rising to the right: a displacement map
    int light = 0;    // kPicW x kPicH, a few bright dots
    int small = 0;    // 64x48 tile
};

// Makes the sprites; false when the sprite table refused one.
bool MakePictures(Pictures* p);

// A pixel of the screen's format from 8-bit channels.
unsigned short Colour(int r, int g, int b);

}  // namespace kafx_gallery
