// Fuzz entry point for the WAV reader: any input must be refused with every
// output empty, or read into a format record of at least 18 bytes and a
// sample block no larger than the input, never reading past its end.
#include <stdio.h>

#include <cstdlib>
#include <cstring>

#include "sound/SoundInternal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    FILE* f = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (f == nullptr) return 0;
    WAVEFORMATEX* head = nullptr;
    unsigned long headSize = 0;
    uint8_t* samples = nullptr;
    unsigned long count = 0;
    const int result = kasound::ReadWave(f, &head, &headSize, &samples, &count);
    fclose(f);
    if (result == 0) {
        if (head == nullptr || samples == nullptr || headSize < 18 || headSize != 18u + head->cbSize ||
            count > size) {
            std::abort();
        }
        // Touch every byte handed out, so that the sanitizer sees their extent.
        volatile uint8_t sink = 0;
        for (unsigned long i = 0; i < headSize; ++i) sink ^= reinterpret_cast<const uint8_t*>(head)[i];
        for (unsigned long i = 0; i < count; ++i) sink ^= samples[i];
        (void)sink;
        (void)kasound::ToPcm(head, headSize);
    } else if (head != nullptr || samples != nullptr || headSize != 0 || count != 0) {
        std::abort();
    }
    std::free(head);
    std::free(samples);
    return 0;
}
