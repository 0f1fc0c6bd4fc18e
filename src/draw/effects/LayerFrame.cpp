// The non-template parts of the layer frames: clipping in 64 bits, the check
// of the sprite pixels read, and the paired lock of sprite and back surface.
#include "draw/effects/LayerFrame.h"

#include <algorithm>
#include <climits>

namespace kafx {

namespace {

int NarrowInt(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

}  // namespace

bool SourceInside(const plat::Surface16& sprite, const ReadRect& r) {
    if (r.x2 <= r.x1 || r.y2 <= r.y1) return true;
    return r.x1 >= 0 && r.y1 >= 0 && r.x2 <= sprite.width() && r.y2 <= sprite.height();
}

plat::Rect VisibleBounds(const plat::Surface16& back) {
    return {std::max(kaDraw::Vx1, 0), std::max(kaDraw::Vy1, 0), std::min(kaDraw::Vx2, back.width()),
            std::min(kaDraw::Vy2, back.height())};
}

bool ClipLayerArea(const LayerCall& call, const plat::Rect& bounds, LayerArea* area) {
    int64_t px = call.px, py = call.py, x1 = call.x1, y1 = call.y1;
    int64_t ex = int64_t{call.x2} - call.x1, ey = int64_t{call.y2} - call.y1;
    if (px + ex > bounds.right) ex = bounds.right - px;
    if (py + ey > bounds.bottom) ey = bounds.bottom - py;
    if (px < bounds.left) {
        x1 += bounds.left - px;
        ex -= bounds.left - px;
        px = bounds.left;
    }
    if (py < bounds.top) {
        y1 += bounds.top - py;
        ey -= bounds.top - py;
        py = bounds.top;
    }
    if (ex < 0 || ey < 0) return false;
    // Now px..px+ex lies inside the bounds, so every value but the source
    // start fits an int; a source start out of range (only reachable with a
    // drawn area) is kept out of range for the source check.
    area->call = call;
    area->px = static_cast<int>(px);
    area->py = static_cast<int>(py);
    area->x1 = NarrowInt(x1);
    area->y1 = NarrowInt(y1);
    area->ex = static_cast<int>(ex);
    area->ey = static_cast<int>(ey);
    return true;
}

bool ClipBox(const BoxCall& call, const plat::Rect& bounds, BoxArea* area) {
    area->call = call;
    area->bw = int64_t{call.px2} - call.px1;
    area->bh = int64_t{call.py2} - call.py1;
    area->w = int64_t{call.x2} - call.x1;
    area->h = int64_t{call.y2} - call.y1;
    area->sx = area->sy = 0;
    area->ex = area->bw;
    area->ey = area->bh;
    if (call.px1 + area->ex > bounds.right) area->ex = bounds.right - int64_t{call.px1};
    if (call.py1 + area->ey > bounds.bottom) area->ey = bounds.bottom - int64_t{call.py1};
    if (call.px1 < bounds.left) area->sx = bounds.left - int64_t{call.px1};
    if (call.py1 < bounds.top) area->sy = bounds.top - int64_t{call.py1};
    return area->ex >= area->sx && area->ey >= area->sy;
}

bool LockPair(plat::Surface16& sprite, plat::Surface16& back) {
    void* bits;
    long pitch;
    if (sprite.lock(&bits, &pitch) != plat::kOk) return false;
    if (back.lock(&bits, &pitch) != plat::kOk) {
        sprite.unlock();
        return false;
    }
    return true;
}

void UnlockPair(plat::Surface16& sprite, plat::Surface16& back) {
    sprite.unlock();
    back.unlock();
}

}  // namespace kafx
