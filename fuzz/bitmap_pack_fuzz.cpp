// Fuzz entry point for the bitmap pack lookup: looking up names in any input
// must end, never read past it, and a found entry's pixels must lie wholly
// inside the input (every one of them is read here, so the sanitizer sees it).
#include <stdio.h>

#include <cstdlib>
#include <string>

#include "draw/PackLookup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    FILE* f = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (f == nullptr) return 0;
    // Fixed names, and the name the input's first entry claims, so that found
    // entries are reached often.
    std::string first;
    for (size_t i = 4; i < size && i < 4 + 40 && data[i] != 0; ++i) first.push_back(static_cast<char>(data[i]));
    for (const std::string& name : {std::string("A.BMP"), std::string("RGB24.BMP"), std::string(), first}) {
        kadraw::PackEntry entry;
        const kadraw::PackFind found = kadraw::FindPackImage(f, name, &entry);
        if (found != kadraw::PackFind::kFound) continue;
        const uint64_t bytes = uint64_t{entry.width} * entry.height * 2;
        if (entry.width == 0 || entry.height == 0 || entry.pixelOffset < 4 ||
            uint64_t(entry.pixelOffset) + bytes > size) {
            std::abort();
        }
        volatile uint8_t sink = 0;
        for (uint64_t i = 0; i < bytes; ++i) sink ^= data[entry.pixelOffset + i];
        (void)sink;
    }
    fclose(f);
    return 0;
}
