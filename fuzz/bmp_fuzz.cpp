// Fuzz entry point for the BMP decoder: any input must be refused or decode
// to a bitmap whose size matches its pixel buffer, without reading outside
// the input (the sanitizers watch that).
#include <cstdlib>

#include "platform/Bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A smaller pixel budget than the default keeps each run fast; the size
    // checks are the same code either way.
    plat::BmpLimits limits;
    limits.maxPixels = int64_t{1} << 20;
    plat::DecodedBitmap bitmap;
    if (plat::DecodeBmp(data, size, &bitmap, limits)) {
        if (bitmap.width < 1 || bitmap.height < 1 || bitmap.width > limits.maxWidth ||
            bitmap.height > limits.maxHeight ||
            bitmap.pixels.size() != static_cast<size_t>(bitmap.width) * static_cast<size_t>(bitmap.height)) {
            std::abort();
        }
        for (uint32_t p : bitmap.pixels) {
            if (p > 0xFFFFFFu) std::abort();
        }
    } else if (bitmap.width != 0 || bitmap.height != 0 || !bitmap.pixels.empty()) {
        std::abort();
    }
    return 0;
}
