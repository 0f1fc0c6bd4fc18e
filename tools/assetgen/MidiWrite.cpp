// Writing a score as a standard MIDI file: instrument mapping, the note-on
// and note-off events of each track in time order, and the chunk encoding
// (big-endian sizes, variable-length delta times, running status).
#include "MidiWrite.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace assetgen {

namespace {

constexpr int kTicksPerQuarter = kTicksPerWhole / 4;
constexpr int kDrumChannel = 9;

void PutBig(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(uint8_t(v >> (8 * i)));
}

void PutVlq(std::vector<uint8_t>& out, uint32_t v) {
    uint8_t groups[5];
    int n = 0;
    do {
        groups[n++] = uint8_t(v & 0x7F);
        v >>= 7;
    } while (v != 0);
    while (n > 1) out.push_back(uint8_t(groups[--n] | 0x80));
    out.push_back(groups[0]);
}

bool Contains(const std::string& s, const char* word) { return s.find(word) != std::string::npos; }

struct TrackEvent {
    int tick;
    int order;  // note-offs before note-ons at the same tick, then set-up first
    std::vector<uint8_t> bytes;
};

// The bytes of one MTrk chunk: events sorted, then the end mark at `endTick`.
std::vector<uint8_t> Chunk(std::vector<TrackEvent> events, int endTick) {
    std::stable_sort(events.begin(), events.end(), [](const TrackEvent& a, const TrackEvent& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::vector<uint8_t> body;
    int now = 0;
    uint8_t running = 0;
    for (const TrackEvent& e : events) {
        PutVlq(body, uint32_t(e.tick - now));
        now = e.tick;
        const bool channel = e.bytes[0] < 0xF0;
        if (channel && e.bytes[0] == running) {
            body.insert(body.end(), e.bytes.begin() + 1, e.bytes.end());
        } else {
            body.insert(body.end(), e.bytes.begin(), e.bytes.end());
        }
        running = channel ? e.bytes[0] : 0;
    }
    PutVlq(body, uint32_t(std::max(0, endTick - now)));
    body.insert(body.end(), {0xFF, 0x2F, 0x00});
    std::vector<uint8_t> chunk = {'M', 'T', 'r', 'k'};
    PutBig(chunk, uint32_t(body.size()), 4);
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
}

TrackEvent Meta(int tick, uint8_t type, const std::string& data) {
    TrackEvent e{tick, 0, {0xFF, type}};
    PutVlq(e.bytes, uint32_t(data.size()));
    e.bytes.insert(e.bytes.end(), data.begin(), data.end());
    return e;
}

int Velocity(int volume, double gain) {
    const double v = 127.0 * std::clamp(volume, 0, 15) / 15.0 * std::sqrt(std::clamp(gain, 0.2, 1.0));
    return std::clamp(int(std::lround(v)), 1, 127);
}

}  // namespace

int GeneralMidiProgram(const std::string& name, const Instrument& instrument, int* drumKey) {
    const bool noise = instrument.wave == Wave::Noise || instrument.wave == Wave::NoiseShort;
    const bool kick = instrument.wave == Wave::Sine && instrument.sweepSemitones < 0 && instrument.sustain == 0;
    if (noise || kick) {
        int key = kick ? 36 : instrument.wave == Wave::NoiseShort ? 42 : 38;  // bass drum, closed hat, snare
        if (Contains(name, "hat") || Contains(name, "tick")) key = 42;
        if (Contains(name, "crash")) key = 49;
        if (Contains(name, "shaker")) key = 70;  // maracas
        if (Contains(name, "kick")) key = 36;
        *drumKey = key;
        return -1;
    }
    *drumKey = 0;
    if (Contains(name, "bass")) return 38;      // synth bass
    if (instrument.attackMs >= 20) return 89;   // warm pad for the slow swells
    switch (instrument.wave) {
    case Wave::Square50:
    case Wave::Square25:
        return 80;  // square lead
    case Wave::Square12:
    case Wave::Saw:
        return 81;  // thin, bright lead
    case Wave::Triangle:
        return 46;  // harp: soft plucked arpeggios
    case Wave::Sine:
        return 10;  // music box, for bells
    default:
        return 80;
    }
}

std::vector<uint8_t> EncodeMidi(const Score& score, const std::string& title) {
    if (score.tracks.size() > 15) throw std::runtime_error("a MIDI file holds at most 15 tonal tracks");
    std::vector<uint8_t> file = {'M', 'T', 'h', 'd'};
    PutBig(file, 6, 4);
    PutBig(file, 1, 2);  // format 1
    PutBig(file, uint32_t(score.tracks.size() + 1), 2);
    PutBig(file, kTicksPerQuarter, 2);

    const uint32_t tempo = uint32_t(std::lround(60000000.0 / score.tempo));
    std::vector<TrackEvent> conductor = {Meta(0, 0x03, title)};
    conductor.push_back(Meta(0, 0x51, std::string{char(tempo >> 16), char(tempo >> 8), char(tempo)}));
    std::vector<uint8_t> chunk = Chunk(conductor, score.lengthTicks);
    file.insert(file.end(), chunk.begin(), chunk.end());

    for (size_t t = 0; t < score.tracks.size(); ++t) {
        const Track& track = score.tracks[t];
        const uint8_t channel = uint8_t(t < kDrumChannel ? t : t + 1);
        std::vector<TrackEvent> events = {Meta(0, 0x03, std::string(1, track.name))};
        for (uint8_t drums : {channel, uint8_t(kDrumChannel)}) {
            // Volume, centre pan and a little reverb on both channels used.
            for (auto [cc, value] : {std::pair{7, 100}, std::pair{10, 64}, std::pair{91, 40}})
                events.push_back({0, 1, {uint8_t(0xB0 | drums), uint8_t(cc), uint8_t(value)}});
        }
        int program = -2;
        for (const NoteEvent& n : track.notes) {
            const auto found = score.instruments.find(n.instrument);
            if (found == score.instruments.end()) throw std::runtime_error("unknown instrument " + n.instrument);
            int key = 0;
            const int p = GeneralMidiProgram(n.instrument, found->second, &key);
            const uint8_t ch = p < 0 ? uint8_t(kDrumChannel) : channel;
            if (p >= 0) {
                key = std::clamp(n.midi, 0, 127);
                if (p != program) events.push_back({n.startTick, 2, {uint8_t(0xC0 | ch), uint8_t(p)}});
                program = p;
            }
            const int gate = std::max(1, std::min(n.gateTicks, score.lengthTicks - n.startTick));
            events.push_back({n.startTick, 3,
                              {uint8_t(0x90 | ch), uint8_t(key), uint8_t(Velocity(n.volume, found->second.gain))}});
            events.push_back({n.startTick + gate, 0, {uint8_t(0x80 | ch), uint8_t(key), 64}});
        }
        chunk = Chunk(events, score.lengthTicks);
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    return file;
}

}  // namespace assetgen
