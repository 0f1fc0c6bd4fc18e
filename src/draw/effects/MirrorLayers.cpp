// The layers that rearrange sprite pixels: the mirror (left-right,
// top-bottom or both) and the smear of one column or row (PickLayer).
#include <algorithm>
#include <climits>

#include "draw/effects/EffectPixels.h"
#include "draw/effects/LayerFrame.h"

namespace {

using kafx::LayerArea;
using kafx::LayerPixels;
using kafx::ReadRect;

// Sprite pixel (x, y) in sprite coordinates.
inline const uint16_t* SpriteAt(const LayerPixels& p, int64_t x, int64_t y) {
    return p.sprite->row(static_cast<int>(y)) + x;
}

// Mirrored axes: destination column Px + k (Px as given) shows source column
// X2 - 1 - k, and row Py + k source row Y2 - 1 - k; the other axis copies.
// This holds however the destination was clipped.
ReadRect MirrorReads(const LayerArea& a, int mirror) {
    if (mirror < 0 || mirror > 3) return {0, 0, 0, 0};
    ReadRect r = kafx::DrawnRect(a);
    const int64_t dx0 = int64_t{a.px} - a.call.px, dy0 = int64_t{a.py} - a.call.py;
    if (mirror & 1) r.x1 = int64_t{a.call.x2} - dx0 - a.ex, r.x2 = int64_t{a.call.x2} - dx0;
    if (mirror & 2) r.y1 = int64_t{a.call.y2} - dy0 - a.ey, r.y2 = int64_t{a.call.y2} - dy0;
    return r;
}

}  // namespace

int kaDraw::MirrorLayer(int Px, int Py, int Mirror, int ObjDD, int X1, int Y1, int X2, int Y2) {
    auto reads = [Mirror](const LayerArea& a) { return MirrorReads(a, Mirror); };
    return kafx::RunLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, reads, [Mirror](const LayerArea& a, const LayerPixels& p) {
        if (Mirror < 0 || Mirror > 3) return;
        const ReadRect r = MirrorReads(a, Mirror);
        const bool flipX = Mirror & 1, flipY = Mirror & 2;
        uint16_t* d = p.dst;
        for (int y = 0; y < a.ey; ++y, d += p.dstPitch) {
            const uint16_t* s = SpriteAt(p, r.x1, flipY ? r.y2 - 1 - y : r.y1 + y);
            if (flipX) {
                for (int x = 0; x < a.ex; ++x) {
                    const uint16_t v = s[a.ex - 1 - x];
                    d[x] = v != 0 ? v : d[x];
                }
            } else {
                for (int x = 0; x < a.ex; ++x) d[x] = s[x] != 0 ? s[x] : d[x];
            }
        }
    });
}

int kaDraw::PickLayer(int Px, int Py, int Mode, int Start, int ObjDD, int X1, int Y1, int X2, int Y2) {
    // The smear to the right (down) reaches to the screen's edge.
    if (Mode == 0) X2 = static_cast<int>(kafx::Clamp64(int64_t{Width} - X1, INT_MIN, INT_MAX));
    if (Mode == 2) Y2 = static_cast<int>(kafx::Clamp64(int64_t{Height} - Y1, INT_MIN, INT_MAX));
    const int64_t start = static_cast<unsigned>(Start) & 0xFFFF;
    bool refused = false;
    auto reads = [&](const LayerArea& a) -> ReadRect {
        ReadRect r = kafx::DrawnRect(a);
        switch (Mode) {
            case 0: r.x2 = std::min<int64_t>(r.x2, a.x1 + start + 1); break;  // nothing right of Start
            case 2: r.y2 = std::min<int64_t>(r.y2, a.y1 + start + 1); break;
            case 1:  // the pixel repeated must be one that is drawn
                refused = a.ex > 0 && a.ey > 0 && start >= a.ex;
                break;
            case 3:
                refused = a.ex > 0 && a.ey > 0 && start >= a.ey;
                break;
            default: return {0, 0, 0, 0};
        }
        return refused ? ReadRect{-1, -1, INT64_MAX, INT64_MAX} : r;
    };
    return kafx::RunLayer({Px, Py, ObjDD, X1, Y1, X2, Y2}, reads, [&](const LayerArea& a, const LayerPixels& p) {
        const plat::Rect bounds = kafx::VisibleBounds(*p.back);
        const uint16_t* s = p.src;
        uint16_t* d = p.dst;
        const int st = static_cast<int>(start);
        switch (Mode) {
            case 0:
                for (int y = 0; y < a.ey; ++y, s += p.srcPitch, d += p.dstPitch) {
                    const int copied = std::min(a.ex, st + 1);
                    for (int x = 0; x < copied; ++x) d[x] = s[x] != 0 ? s[x] : d[x];
                    const uint16_t last = s[copied - 1];
                    if (last != 0)
                        for (int x = copied; x < a.ex; ++x) d[x] = last;
                }
                break;
            case 1: {
                // Fill pass: from column 0 up to the drawn area, inside what is visible.
                const int from = std::max(0, bounds.left), to = std::min(a.px, bounds.right);
                for (int y = 0; y < a.ey; ++y, s += p.srcPitch, d += p.dstPitch) {
                    const uint16_t pick = s[st];
                    for (int x = 0; x < a.ex; ++x) {
                        const uint16_t v = x <= st ? pick : s[x];
                        d[x] = v != 0 ? v : d[x];
                    }
                    uint16_t* row = p.back->row(a.py + y);
                    for (int x = from; x < to; ++x) row[x] = pick;
                }
                break;
            }
            case 2:
                for (int y = 0; y < a.ey; ++y, d += p.dstPitch) {
                    const uint16_t* row = s + static_cast<ptrdiff_t>(std::min(y, st)) * p.srcPitch;
                    for (int x = 0; x < a.ex; ++x) d[x] = row[x] != 0 ? row[x] : d[x];
                }
                break;
            case 3: {
                const uint16_t* pick = s + static_cast<ptrdiff_t>(st) * p.srcPitch;
                const int from = std::max(0, bounds.top), to = std::min(a.py, bounds.bottom);
                for (int y = from; y < to; ++y) std::copy(pick, pick + a.ex, p.back->row(y) + a.px);
                for (int y = 0; y < a.ey; ++y, s += p.srcPitch, d += p.dstPitch) {
                    const uint16_t* row = y <= st ? pick : s;
                    for (int x = 0; x < a.ex; ++x) d[x] = row[x] != 0 ? row[x] : d[x];
                }
                break;
            }
            default: break;
        }
    });
}
