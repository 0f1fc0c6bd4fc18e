// Fuzz entry point for the window icon reader: any input is refused or gives
// an icon whose size matches its pixel buffer, without reading outside the
// input (the sanitizers watch that).
#include <cstdlib>

#include "platform/Icon.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    plat::DecodedIcon icon;
    if (plat::DecodeIcon(data, size, &icon)) {
        if (icon.width < 1 || icon.height < 1 || icon.width > 256 || icon.height > 256 ||
            icon.pixels.size() != static_cast<size_t>(icon.width) * static_cast<size_t>(icon.height))
            std::abort();
    } else if (icon.width != 0 || icon.height != 0 || !icon.pixels.empty()) {
        std::abort();
    }
    return 0;
}
