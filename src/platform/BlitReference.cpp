// The obviously-correct copies and fills: one pixel at a time, every
// rectangle checked against its surface. The fast paths are tested against
// these.
#include <vector>

#include "platform/Blit.h"
#include "platform/Display.h"

namespace plat {

namespace {

// Bounds are compared in 64 bits so that extreme coordinates cannot wrap
// into a rectangle that looks valid.
bool Inside(int64_t left, int64_t top, int64_t right, int64_t bottom, const Surface16& s) {
    return left >= 0 && top >= 0 && left <= right && top <= bottom && right <= s.width() && bottom <= s.height();
}

bool Inside(const Rect& r, const Surface16& s) { return Inside(r.left, r.top, r.right, r.bottom, s); }

// The source rectangle read out completely before anything is written, so
// that a copy within one surface behaves as if the source were elsewhere.
std::vector<uint16_t> Snapshot(const Surface16& src, const Rect& r) {
    std::vector<uint16_t> pixels;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) pixels.push_back(src.row(y)[x]);
    return pixels;
}

void PresentIfPrimary(Surface16& dst) {
    if (dst.isPrimary()) PresentPrimary(dst);
}

}  // namespace

namespace reference {

Result BltFast(Surface16& dst, int x, int y, const Surface16& src, const Rect& srcRect, bool useKey) {
    if (dst.isLost() || src.isLost()) return kErrSurfaceLost;
    int64_t w = int64_t{srcRect.right} - srcRect.left;
    int64_t h = int64_t{srcRect.bottom} - srcRect.top;
    if (!Inside(srcRect, src) || !Inside(x, y, x + w, y + h, dst)) return kErrInvalidRect;
    if (w == 0 || h == 0) return kOk;
    bool keyed = useKey && src.hasColorKey();
    std::vector<uint16_t> pixels = Snapshot(src, srcRect);
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            uint16_t p = pixels[j * w + i];
            if (keyed && p == src.colorKey()) continue;
            dst.row(y + j)[x + i] = p;
        }
    }
    PresentIfPrimary(dst);
    return kOk;
}

Result Blt(Surface16& dst, const Rect& dstRect, const Surface16& src, const Rect& srcRect, bool useKey) {
    if (dst.isLost() || src.isLost()) return kErrSurfaceLost;
    if (!Inside(srcRect, src) || !Inside(dstRect, dst)) return kErrInvalidRect;
    int sw = srcRect.width(), sh = srcRect.height();
    int dw = dstRect.width(), dh = dstRect.height();
    // An empty source has nothing to sample from.
    if (dw == 0 || dh == 0 || sw == 0 || sh == 0) return kOk;
    bool keyed = useKey && src.hasColorKey();
    std::vector<uint16_t> pixels = Snapshot(src, srcRect);
    for (int j = 0; j < dh; ++j) {
        // Nearest neighbour, sampling the source under the centre of each
        // destination pixel.
        int sy = static_cast<int>((2LL * j + 1) * sh / (2LL * dh));
        for (int i = 0; i < dw; ++i) {
            int sx = static_cast<int>((2LL * i + 1) * sw / (2LL * dw));
            uint16_t p = pixels[static_cast<size_t>(sy) * sw + sx];
            if (keyed && p == src.colorKey()) continue;
            dst.row(dstRect.top + j)[dstRect.left + i] = p;
        }
    }
    PresentIfPrimary(dst);
    return kOk;
}

Result Fill(Surface16& dst, const Rect& rect, uint16_t value) {
    if (dst.isLost()) return kErrSurfaceLost;
    if (!Inside(rect, dst)) return kErrInvalidRect;
    if (rect.width() == 0 || rect.height() == 0) return kOk;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x) dst.row(y)[x] = value;
    PresentIfPrimary(dst);
    return kOk;
}

}  // namespace reference
}  // namespace plat
