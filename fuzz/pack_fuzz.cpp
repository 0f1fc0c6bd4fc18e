// Fuzz entry point for the sound pack scanner: looking up names in any input
// must end, and a found entry must lie wholly inside the input, its format
// record readable.
#include <stdio.h>

#include <cstdlib>
#include <string>

#include "sound/SoundInternal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    FILE* f = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (f == nullptr) return 0;
    for (const char* name : {"A.WAV", "GET.WAV", "", "MUSIC.WAV"}) {
        rewind(f);
        kasound::PackEntry entry;
        if (!kasound::FindPackEntry(f, name, &entry)) continue;
        if (entry.headOffset < 0 || uint64_t(entry.headOffset) + entry.headSize + entry.size > size ||
            entry.headSize < 16) {
            std::abort();
        }
        WAVEFORMATEX* head = nullptr;
        unsigned long headSize = 0;
        if (!kasound::ReadPackHead(f, entry, &head, &headSize) || headSize < 18) std::abort();
        (void)kasound::ToPcm(head, headSize);
        std::free(head);
    }
    fclose(f);
    return 0;
}
