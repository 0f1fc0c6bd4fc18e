// The obviously-correct copies and fills: one pixel at a time, every
// rectangle checked against its surface. The fast paths are tested against
// these.
#include "platform/Blit.h"

namespace plat {

namespace {

bool Inside(const Rect& r, const Surface16& s) {
    return r.left >= 0 && r.top >= 0 && r.left <= r.right && r.top <= r.bottom && r.right <= s.width() &&
           r.bottom <= s.height();
}

}  // namespace

namespace reference {

Result BltFast(Surface16& dst, int x, int y, const Surface16& src, const Rect& srcRect, bool useKey) {
    if (dst.isLost() || src.isLost()) return kErrSurfaceLost;
    Rect dstRect{x, y, x + srcRect.width(), y + srcRect.height()};
    if (!Inside(srcRect, src) || !Inside(dstRect, dst)) return kErrInvalidRect;
    bool keyed = useKey && src.hasColorKey();
    for (int j = 0; j < srcRect.height(); ++j) {
        for (int i = 0; i < srcRect.width(); ++i) {
            uint16_t p = src.row(srcRect.top + j)[srcRect.left + i];
            if (keyed && p == src.colorKey()) continue;
            dst.row(y + j)[x + i] = p;
        }
    }
    return kOk;
}

Result Blt(Surface16& dst, const Rect& dstRect, const Surface16& src, const Rect& srcRect, bool useKey) {
    if (dst.isLost() || src.isLost()) return kErrSurfaceLost;
    if (!Inside(srcRect, src) || !Inside(dstRect, dst)) return kErrInvalidRect;
    if (dstRect.width() == 0 || dstRect.height() == 0) return kOk;
    bool keyed = useKey && src.hasColorKey();
    for (int j = 0; j < dstRect.height(); ++j) {
        int sy = srcRect.top + static_cast<int>(static_cast<long long>(j) * srcRect.height() / dstRect.height());
        for (int i = 0; i < dstRect.width(); ++i) {
            int sx = srcRect.left + static_cast<int>(static_cast<long long>(i) * srcRect.width() / dstRect.width());
            uint16_t p = src.row(sy)[sx];
            if (keyed && p == src.colorKey()) continue;
            dst.row(dstRect.top + j)[dstRect.left + i] = p;
        }
    }
    return kOk;
}

Result Fill(Surface16& dst, const Rect& rect, uint16_t value) {
    if (dst.isLost()) return kErrSurfaceLost;
    if (!Inside(rect, dst)) return kErrInvalidRect;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x) dst.row(y)[x] = value;
    return kOk;
}

}  // namespace reference
}  // namespace plat
