// What the gallery's main loop and its contact sheet share: one frame of a
// page with its caption, drawn onto the back surface.
#pragma once

#include "Pages.h"

namespace kafx_gallery {

constexpr int kBand = 20;  // rows of one caption line

struct PageState {
    int page = 0;
    int frame = 0;
    double t = 0;
};

// Draws frame `s.frame` of the page (FrameTime is the step of its phases),
// then its caption and values from the caption sprite; with an inset the
// page is drawn with a small virtual screen.
void DrawPage(const Pictures& pictures, int captions, const PageState& s, int p, bool inset);

}  // namespace kafx_gallery
