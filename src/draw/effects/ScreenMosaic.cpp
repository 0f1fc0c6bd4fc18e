// kaEffect::Mosaic: a disc around a centre pixelated in Size x Size blocks.
// Each block takes the colour of its top-left pixel; only the block's pixels
// inside the disc change. The block grid starts at the clipped edge of the
// disc's bounding square.
#include <cmath>
#include <vector>

#include "draw/effects/ScreenArea.h"

namespace {

// A pixel at column offset dx and row offset dy from the centre lies in the
// disc when trunc(sqrt(dx² + dy²)) < radius.
bool InDisc(int64_t dx, int64_t dy, int64_t radius) {
    const double d = static_cast<double>(dx) * dx + static_cast<double>(dy) * dy;
    return static_cast<int64_t>(std::sqrt(d)) < radius;
}

// The largest |dx| in the disc on row offset dy, or -1 when the row misses
// it. The test grows with |dx|, so one root and a correction step find the
// edge exactly.
int64_t HalfChord(int64_t dy, int64_t radius) {
    if (!InDisc(0, dy, radius)) return -1;
    const double rest = static_cast<double>(radius) * radius - static_cast<double>(dy) * dy;
    int64_t a = rest > 0 ? static_cast<int64_t>(std::sqrt(rest)) : 0;
    while (a > 0 && !InDisc(a, dy, radius)) --a;
    while (InDisc(a + 1, dy, radius)) ++a;
    return a;
}

}  // namespace

int kaEffect::Mosaic(int Px, int Py, int Radius, int Size) {
    if (!kadraw::LockBack()) return 0;
    const int64_t size = Size < 1 ? 1 : Size;
    const int64_t width = std::min<int64_t>(kaDraw::Width, DDBack->width());
    const int64_t height = std::min<int64_t>(kaDraw::Height, DDBack->height());
    const int64_t px = Px, py = Py, radius = Radius;
    int64_t sx = -radius, sy = -radius, ex = radius, ey = radius;
    if (px + sx < 0) sx = -px;
    if (py + sy < 0) sy = -py;
    if (px + ex >= width) ex = width - px;
    if (py + ey >= height) ey = height - py;
    // The disc's extent on every row a block can reach, worked out once.
    static std::vector<int64_t> chords;
    const int64_t lastRow = std::min(ey + size, height - py);  // offsets, exclusive
    chords.clear();
    for (int64_t yy = sy; yy < lastRow; ++yy) chords.push_back(HalfChord(yy, radius));
    for (int64_t y = sy; y < ey; y += size) {
        for (int64_t x = sx; x < ex; x += size) {
            const uint16_t c = DDBack->row(static_cast<int>(py + y))[px + x];
            const int64_t right = std::min(x + size, width - px);  // offsets, exclusive
            const int64_t bottom = std::min(y + size, height - py);
            for (int64_t yy = y; yy < bottom; ++yy) {
                const int64_t half = chords[static_cast<size_t>(yy - sy)];
                const int64_t from = std::max(x, -half), to = std::min(right, half + 1);
                uint16_t* row = DDBack->row(static_cast<int>(py + yy));
                for (int64_t xx = from; xx < to; ++xx) row[px + xx] = c;
            }
        }
    }
    DDBack->unlock();
    return 1;
}
