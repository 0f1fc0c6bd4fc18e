// Fuzz entry point for the MIDI file reader: any input is refused with an
// empty song, or read into events in time order that all lie within the
// tune's length, with system-exclusive ranges inside the bytes kept.
#include <cstdlib>

#include "platform/MidiFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    plat::midi::Song song;
    if (!plat::midi::ReadMidiFile(data, size, &song)) {
        if (!song.events.empty() || !song.sysex.empty() || song.endTick != 0) std::abort();
        return 0;
    }
    if (song.format > 1 || song.tracks == 0 || song.endMicros > plat::midi::kMaxMicros) std::abort();
    uint64_t last = 0;
    for (const plat::midi::Event& e : song.events) {
        if (e.micros < last || e.micros > song.endMicros || e.tick > song.endTick) std::abort();
        if (e.status < 0x80 || (e.status >= 0xF0 && e.status != 0xF0)) std::abort();
        if (e.data1 > 0x7F || e.data2 > 0x7F) std::abort();
        if (e.status == 0xF0 && uint64_t{e.sysexOffset} + e.sysexSize > song.sysex.size()) std::abort();
        last = e.micros;
    }
    return 0;
}
