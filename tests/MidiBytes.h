// Standard MIDI files built byte by byte for the tests: chunks, delta times,
// and a small tune whose length is known to the millisecond.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

namespace miditest {

inline std::string Vlq(uint32_t v) {
    std::string out(1, static_cast<char>(v & 0x7F));
    while ((v >>= 7) != 0) out.insert(out.begin(), static_cast<char>(0x80 | (v & 0x7F)));
    return out;
}

inline std::string Be(uint32_t v, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return out;
}

inline std::string Header(uint16_t format, uint16_t tracks, uint16_t division) {
    return "MThd" + Be(6, 4) + Be(format, 2) + Be(tracks, 2) + Be(division, 2);
}

inline std::string Track(const std::string& events) { return "MTrk" + Be(static_cast<uint32_t>(events.size()), 4) + events; }

inline std::string Bytes(std::initializer_list<int> b) {
    std::string out;
    for (int v : b) out.push_back(static_cast<char>(v));
    return out;
}

inline std::string EndOfTrack(uint32_t delta) { return Vlq(delta) + Bytes({0xFF, 0x2F, 0x00}); }

// Division 500 at the default tempo (120 quarters a minute): one tick is
// exactly one millisecond. A chord of three piano notes held for `ms`
// milliseconds, the track ending there too.
inline std::string Chord(uint32_t ms, int key = 60) {
    std::string e = Bytes({0x00, 0xC0, 0x00});
    e += Bytes({0x00, 0x90, key, 100, 0x00, key + 4, 100, 0x00, key + 7, 100});  // running status
    e += Vlq(ms) + Bytes({0x80, key, 64, 0x00, key + 4, 64, 0x00, key + 7, 64});
    e += EndOfTrack(0);
    return Header(0, 1, 500) + Track(e);
}

}  // namespace miditest
