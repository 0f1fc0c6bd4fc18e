// Bitmaps into surfaces: decoding built-in resources and BMP files, the copy
// with colour conversion into a 16-bit surface, and colour keys made from an
// RGB colour or from a surface's top-left pixel.
#include <string>

#include "draw/DrawInternal.h"
#include "platform/Files.h"
#include "platform/Resources.h"

namespace kadraw {

bool DecodeBitmapResource(const char* name, plat::DecodedBitmap* out) {
    const plat::ResourceEntry* entry = plat::FindResource(name, "BITMAP");
    if (entry == nullptr || entry->data == nullptr) return false;
    return plat::DecodeBmp(entry->data, entry->size, out) && out->width > 0 && out->height > 0;
}

bool DecodeBitmapFile(const std::string& path, plat::DecodedBitmap* out) {
    std::string bytes;
    if (!plat::ReadFile(path, &bytes)) return false;
    return plat::DecodeBmp(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out) && out->width > 0 &&
           out->height > 0;
}

}  // namespace kadraw

plat::Surface16* DDLoadBitmap(plat::DisplayDevice* pdd, const char* szBitmap, uint16_t* dx, uint16_t* dy,
                              int Memory) {
    (void)Memory;  // no placement on this display
    if (pdd == nullptr || szBitmap == nullptr) return nullptr;
    plat::DecodedBitmap bitmap;
    if (!kadraw::DecodeBitmapResource(szBitmap, &bitmap) && !kadraw::DecodeBitmapFile(szBitmap, &bitmap))
        return nullptr;
    *dx = static_cast<uint16_t>(bitmap.width);
    *dy = static_cast<uint16_t>(bitmap.height);
    plat::Surface16* surface = plat::CreateSurface(bitmap.width, bitmap.height);
    if (surface == nullptr) return nullptr;
    DDCopyBitmap(surface, &bitmap, 0, 0, 0, 0);
    return surface;
}

plat::Result DDCopyBitmap(plat::Surface16* pdds, const plat::DecodedBitmap* hbm, int x, int y, int dx, int dy) {
    if (pdds == nullptr || hbm == nullptr || hbm->width <= 0 || hbm->height <= 0 ||
        hbm->pixels.size() < static_cast<size_t>(hbm->width) * static_cast<size_t>(hbm->height))
        return plat::kErrGeneric;
    if (pdds->isLost()) pdds->restore();
    if (dx == 0) dx = hbm->width;
    if (dy == 0) dy = hbm->height;
    if (dx < 0 || dy < 0) return plat::kErrInvalidRect;

    void* bits;
    long pitch;
    if (plat::Result r = pdds->lock(&bits, &pitch); r != plat::kOk) return r;
    const kadraw::RgbPacker pack(plat::GetPixelFormat());
    const int w = pdds->width(), h = pdds->height();
    // Nearest-neighbour scaling from the bitmap rectangle onto the whole
    // surface; with equal sizes every pixel maps to itself. Samples outside
    // the bitmap are clamped to its edge.
    for (int j = 0; j < h; ++j) {
        int64_t sy = y + static_cast<int64_t>(j) * dy / h;
        sy = sy < 0 ? 0 : (sy >= hbm->height ? hbm->height - 1 : sy);
        const uint32_t* src = hbm->pixels.data() + sy * hbm->width;
        uint16_t* dst = pdds->row(j);
        for (int i = 0; i < w; ++i) {
            int64_t sx = x + static_cast<int64_t>(i) * dx / w;
            sx = sx < 0 ? 0 : (sx >= hbm->width ? hbm->width - 1 : sx);
            dst[i] = pack(src[sx]);
        }
    }
    pdds->unlock();
    return plat::kOk;
}

uint32_t DDColorMatch(plat::Surface16* pdds, uint32_t rgb) {
    if (pdds == nullptr) return 0xFFFFFFFF;
    // Converting the colour directly gives the value that painting it into the
    // surface and reading it back would give, without touching the surface.
    if (rgb != kadraw::kLeftTopKey) return plat::PixelFromColorRef(plat::GetPixelFormat(), rgb);
    void* bits;
    long pitch;
    if (pdds->lock(&bits, &pitch) != plat::kOk) return 0xFFFFFFFF;
    uint32_t value = *static_cast<const uint16_t*>(bits);
    pdds->unlock();
    return value;
}

plat::Result DDSetColorKey(plat::Surface16* pdds, uint32_t rgb) {
    if (pdds == nullptr) return plat::kErrGeneric;
    uint32_t key = DDColorMatch(pdds, rgb);
    // The top-left pixel could not be read: leave the key as it was.
    if (key == 0xFFFFFFFF) return plat::kErrSurfaceLost;
    pdds->setColorKey(static_cast<uint16_t>(key));
    return plat::kOk;
}
