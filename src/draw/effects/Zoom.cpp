// kaEffect::Zoom2 and kaEffect::Zoom4: the rectangle enlarged into the
// Buffer sprite (sprite 0) in blocks of k x k pixels, then copied back opaque
// at the rectangle's corner. The rectangle is cut to the back surface, the
// blocks to the Buffer sprite; each surface is walked with its own pitch.
#include <algorithm>

#include "draw/effects/ScreenArea.h"

namespace {

// With a mesh only the top-left kDot x kDot pixels of each block are
// written; the rest keeps what the Buffer held.
template <int kK, int kDot>
int Enlarge(int Px, int Py, unsigned Width, unsigned Height) {
    plat::Surface16* buffer = Sprite[0].Object;
    if (buffer == nullptr || DDBack == nullptr) return 0;
    void* bits;
    long pitch;
    if (buffer->lock(&bits, &pitch) != plat::kOk) return 0;
    if (!kadraw::LockBack()) {
        buffer->unlock();
        return 0;
    }
    const kadraw::BackArea a = kadraw::ClipToBack(Px, Py, Width, Height);
    // Source pixels whose block starts inside the Buffer; the last block may
    // be cut at the Buffer's edge.
    const int cols = std::min(a.w, (buffer->width() + kK - 1) / kK);
    const int rows = std::min(a.h, (buffer->height() + kK - 1) / kK);
    const int outW = std::min(cols * kK, buffer->width()), outH = std::min(rows * kK, buffer->height());
    const int wholeCols = std::min(cols, buffer->width() / kK);
    for (int y = 0; y < rows; ++y) {
        const uint16_t* src = DDBack->row(a.y + y) + a.x;
        const int blockRows = std::min(kDot, outH - y * kK);
        for (int j = 0; j < blockRows; ++j) {
            uint16_t* out = buffer->row(y * kK + j);
            for (int x = 0; x < wholeCols; ++x)
                for (int i = 0; i < kDot; ++i) out[x * kK + i] = src[x];
            for (int x = wholeCols; x < cols; ++x) {
                const int n = std::min(kDot, outW - x * kK);
                for (int i = 0; i < n; ++i) out[x * kK + i] = src[x];
            }
        }
    }
    buffer->unlock();
    DDBack->unlock();
    if (outW > 0 && outH > 0) kaDraw::DirectLayer(a.x, a.y, 0, 0, 0, outW, outH);
    return 1;
}

}  // namespace

int kaEffect::Zoom2(int Px, int Py, unsigned Width, unsigned Height, int Mesh) {
    return Mesh != 0 ? Enlarge<2, 1>(Px, Py, Width, Height) : Enlarge<2, 2>(Px, Py, Width, Height);
}

int kaEffect::Zoom4(int Px, int Py, unsigned Width, unsigned Height, int Mesh) {
    return Mesh != 0 ? Enlarge<4, 2>(Px, Py, Width, Height) : Enlarge<4, 4>(Px, Py, Width, Height);
}
