// What the screen effects share: the rectangle limited to the back surface,
// the surface lock, and the step of a noise cursor through the fire list.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "draw/kaDraw.h"
#include "draw/effects/kaEffect.h"

namespace kadraw {

constexpr int kNoiseLength = 10000;

// A rectangle of the back surface, inside it.
struct BackArea {
    int x = 0, y = 0, w = 0, h = 0;
};

// (px, py, w, h) cut to the back surface, keeping `reserveBelow` rows of the
// surface under it (the fire reads the row below its rectangle). Sizes come
// in as 64-bit so that no unsigned size can wrap.
inline BackArea ClipToBack(int64_t px, int64_t py, int64_t w, int64_t h, int reserveBelow = 0) {
    BackArea a;
    if (DDBack == nullptr) return a;
    const int64_t right = std::min<int64_t>(px + w, DDBack->width());
    const int64_t bottom = std::min<int64_t>(py + h, int64_t{DDBack->height()} - reserveBelow);
    const int64_t left = std::max<int64_t>(px, 0), top = std::max<int64_t>(py, 0);
    if (right <= left || bottom <= top) return a;
    a.x = static_cast<int>(left);
    a.y = static_cast<int>(top);
    a.w = static_cast<int>(right - left);
    a.h = static_cast<int>(bottom - top);
    return a;
}

inline bool LockBack() {
    void* bits;
    long pitch;
    return DDBack != nullptr && DDBack->lock(&bits, &pitch) == plat::kOk;
}

// One step of a cursor through the noise list: past the end it restarts
// somewhere in the first thousand entries.
inline void AdvanceNoiseCursor(int* cursor) {
    if (++*cursor >= kNoiseLength) *cursor = std::rand() % 1000;
}

}  // namespace kadraw
