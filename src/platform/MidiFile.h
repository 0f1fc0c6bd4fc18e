// The standard MIDI file reader: format 0 and 1 files (metrical or SMPTE
// time), running status, system-exclusive and meta events, tempo changes.
// The tracks come out merged into one time-ordered list with each event's
// time in microseconds, ready for the sequencer to play.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace plat::midi {

struct Event {
    uint64_t micros = 0;     // from the start of the tune
    uint32_t tick = 0;
    uint8_t status = 0;      // 0x80..0xEF: channel message; 0xF0: system exclusive
    uint8_t data1 = 0;
    uint8_t data2 = 0;
    uint32_t sysexOffset = 0;  // 0xF0: its bytes in Song::sysex (without F0 and the final F7)
    uint32_t sysexSize = 0;
};

struct Song {
    uint16_t format = 0;
    uint16_t tracks = 0;
    uint16_t division = 0;
    std::vector<Event> events;  // every track's sounding events, in time order
    std::vector<uint8_t> sysex;
    uint32_t endTick = 0;       // tick of the last event, end-of-track marks included
    uint64_t endMicros = 0;     // the tune's length
};

// Files above this size are refused before they are read.
constexpr size_t kMaxFileBytes = 8u << 20;
// Tunes longer than a day are refused (their times would not stay exact).
constexpr uint64_t kMaxMicros = 24ull * 3600 * 1000000;

// Reads a whole file image. False, with a reason in *error when given, for
// anything that is not a complete format 0 or 1 file: a truncated chunk, a
// data byte where a status is needed, an event cut off at the end of its
// track, a zero division.
bool ReadMidiFile(const uint8_t* data, size_t size, Song* song, std::string* error = nullptr);

}  // namespace plat::midi
