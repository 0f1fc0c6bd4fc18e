// One page per effect member: its main parameter (Up/Down) and how it draws
// one frame from the time spent on the page (pages that work on their own
// previous frames, such as the fire, draw their picture on frame 0 only).
#pragma once

#include <vector>

#include "Pictures.h"

namespace kafx_gallery {

struct Frame {
    const Pictures& pictures;
    double t;     // seconds on the page
    int frame;    // frames drawn on the page before this one
    int p;        // the main parameter
    int shown;    // out: the animated value the caption shows
};

struct Page {
    int p, lo, hi;       // main parameter: start, limits
    void (*draw)(Frame& f);
};

// In the order of the caption lines.
const std::vector<Page>& Pages();

// The unprocessed picture every page starts from: the background and the
// picture drawn plainly at its place.
void DrawPlain(const Pictures& p);

}  // namespace kafx_gallery
