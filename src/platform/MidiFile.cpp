// The standard MIDI file reader: chunk walk, track decoding with running
// status, the merge of all tracks in time order and the tempo map that turns
// ticks into microseconds. Every read is checked against the end of its
// chunk; nothing is trusted from the file's own sizes.
#include "platform/MidiFile.h"

#include <algorithm>
#include <utility>

namespace plat::midi {

namespace {

// Ticks may add up to this much; beyond it a file is refused.
constexpr uint64_t kMaxTick = 0x7FFFFFFFu;
constexpr uint32_t kDefaultTempo = 500000;  // microseconds per quarter note: 120 per minute

// An event as read from one track, before the merge.
struct Raw {
    uint32_t tick;
    uint32_t order;   // track index and place in the track: keeps equal ticks in file order
    uint32_t tempo;   // non-zero: a tempo change, nothing else
    Event event;
};

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}
    size_t left() const { return static_cast<size_t>(end_ - p_); }
    bool byte(uint8_t* out) {
        if (p_ == end_) return false;
        *out = *p_++;
        return true;
    }
    bool peek(uint8_t* out) const {
        if (p_ == end_) return false;
        *out = *p_;
        return true;
    }
    bool be(int bytes, uint32_t* out) {
        if (left() < static_cast<size_t>(bytes)) return false;
        uint32_t v = 0;
        for (int i = 0; i < bytes; ++i) v = (v << 8) | *p_++;
        *out = v;
        return true;
    }
    // A variable-length quantity: at most four bytes, seven bits each.
    bool vlq(uint32_t* out) {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            uint8_t b;
            if (!byte(&b)) return false;
            v = (v << 7) | (b & 0x7F);
            if ((b & 0x80) == 0) {
                *out = v;
                return true;
            }
        }
        return false;
    }
    bool skip(size_t n) {
        if (left() < n) return false;
        p_ += n;
        return true;
    }
    const uint8_t* here() const { return p_; }

private:
    const uint8_t* p_;
    const uint8_t* end_;
};

bool Fail(std::string* error, const char* why) {
    if (error != nullptr) *error = why;
    return false;
}

int DataBytes(uint8_t status) {
    const uint8_t kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

// Decodes one track chunk into `out`; *endTick is where the track ends.
bool ReadTrack(Reader track, uint32_t trackIndex, Song* song, std::vector<Raw>* out, uint32_t* endTick,
               std::string* error) {
    uint64_t tick = 0;
    uint8_t running = 0;
    uint32_t place = 0;
    while (track.left() > 0) {
        uint32_t delta;
        if (!track.vlq(&delta)) return Fail(error, "event time cut off");
        tick += delta;
        if (tick > kMaxTick) return Fail(error, "track too long");
        uint8_t status;
        if (!track.peek(&status)) return Fail(error, "event cut off");
        if (status & 0x80) {
            track.skip(1);
        } else if (running != 0) {
            status = running;
        } else {
            return Fail(error, "data byte without a status");
        }
        Raw raw{static_cast<uint32_t>(tick), (trackIndex << 20) + std::min(place, 0xFFFFFu), 0, Event{}};
        raw.event.tick = raw.tick;
        if (status < 0xF0) {
            running = status;
            raw.event.status = status;
            uint8_t d[2] = {0, 0};
            for (int i = 0; i < DataBytes(status); ++i) {
                if (!track.byte(&d[i])) return Fail(error, "channel message cut off");
                if (d[i] & 0x80) return Fail(error, "status byte inside a channel message");
            }
            raw.event.data1 = d[0];
            raw.event.data2 = d[1];
        } else if (status == 0xF0 || status == 0xF7) {
            running = 0;  // system messages cancel running status
            uint32_t length;
            if (!track.vlq(&length) || track.left() < length) return Fail(error, "system exclusive cut off");
            const uint8_t* bytes = track.here();
            track.skip(length);
            if (status == 0xF7) continue;  // escaped data: nothing a synthesizer needs
            uint32_t n = length;
            if (n > 0 && bytes[n - 1] == 0xF7) --n;
            raw.event.status = 0xF0;
            raw.event.sysexOffset = static_cast<uint32_t>(song->sysex.size());
            raw.event.sysexSize = n;
            song->sysex.insert(song->sysex.end(), bytes, bytes + n);
        } else if (status == 0xFF) {
            running = 0;
            uint8_t type;
            uint32_t length;
            if (!track.byte(&type) || !track.vlq(&length) || track.left() < length)
                return Fail(error, "meta event cut off");
            const uint8_t* bytes = track.here();
            track.skip(length);
            if (type == 0x2F) break;  // end of track: what follows in the chunk is not played
            if (type != 0x51 || length != 3) continue;  // text, key and the like: not played
            raw.tempo = (uint32_t{bytes[0]} << 16) | (uint32_t{bytes[1]} << 8) | bytes[2];
            if (raw.tempo == 0) raw.tempo = 1;
        } else {
            return Fail(error, "system message inside a track");
        }
        out->push_back(raw);
        ++place;
    }
    // The track ends at its last event, meta events and the end mark included.
    *endTick = std::max(*endTick, static_cast<uint32_t>(tick));
    return true;
}

// Microseconds of every event from the tempo map, in merged order.
class Timeline {
public:
    explicit Timeline(uint16_t division) {
        if (division & 0x8000) {
            // SMPTE: frames per second (29 stands for 29.97) times ticks per frame.
            const int fps = -static_cast<int8_t>(division >> 8);
            const uint32_t perFrame = division & 0xFF;
            smpteNum_ = 1000000ull * (fps == 29 ? 100 : 1);
            smpteDen_ = uint64_t{perFrame} * (fps == 29 ? 2997 : static_cast<uint64_t>(fps));
        } else {
            quarter_ = division;
        }
    }
    bool valid() const { return quarter_ != 0 || smpteDen_ != 0; }
    uint64_t at(uint32_t tick) const {
        if (smpteDen_ != 0) return tick * smpteNum_ / smpteDen_;
        return baseMicros_ + (uint64_t{tick - baseTick_} * tempo_) / quarter_;
    }
    void setTempo(uint32_t tick, uint32_t tempo) {
        if (smpteDen_ != 0) return;  // SMPTE time ignores tempo
        baseMicros_ = at(tick);
        baseTick_ = tick;
        tempo_ = tempo;
    }

private:
    uint64_t quarter_ = 0;
    uint64_t smpteNum_ = 0;
    uint64_t smpteDen_ = 0;
    uint32_t baseTick_ = 0;
    uint64_t baseMicros_ = 0;
    uint32_t tempo_ = kDefaultTempo;
};

}  // namespace

bool ReadMidiFile(const uint8_t* data, size_t size, Song* out, std::string* error) {
    // Filled in a song of its own: a refused file leaves *out empty.
    *out = Song{};
    Song made;
    Song* song = &made;
    if (data == nullptr || size > kMaxFileBytes) return Fail(error, "no file or too large");
    Reader file(data, size);
    uint32_t id = 0, length = 0, format = 0, tracks = 0, division = 0;
    if (!file.be(4, &id) || id != 0x4D546864 /* MThd */) return Fail(error, "not a MIDI file");
    if (!file.be(4, &length) || length < 6 || file.left() < length) return Fail(error, "header cut off");
    file.be(2, &format);
    file.be(2, &tracks);
    file.be(2, &division);
    file.skip(length - 6);
    if (format > 1) return Fail(error, "only formats 0 and 1 can be played");
    if (tracks == 0 || (format == 0 && tracks != 1)) return Fail(error, "wrong number of tracks");
    song->format = static_cast<uint16_t>(format);
    song->tracks = static_cast<uint16_t>(tracks);
    song->division = static_cast<uint16_t>(division);
    Timeline time(song->division);
    if (!time.valid()) return Fail(error, "zero division");

    std::vector<Raw> raw;
    uint32_t endTick = 0;
    uint32_t read = 0;
    while (read < tracks) {
        if (!file.be(4, &id) || !file.be(4, &length)) return Fail(error, "track missing");
        if (file.left() < length) return Fail(error, "chunk cut off");
        if (id == 0x4D54726B /* MTrk */) {
            if (!ReadTrack(Reader(file.here(), length), read, song, &raw, &endTick, error)) return false;
            ++read;
        }
        file.skip(length);  // chunks of other kinds are passed over
    }

    // Equal ticks keep the order of the file: track 0 (with the tempo map of
    // a format 1 file) first, then each track's own order.
    std::sort(raw.begin(), raw.end(), [](const Raw& a, const Raw& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    song->events.reserve(raw.size());
    for (const Raw& r : raw) {
        if (r.tempo != 0) {
            time.setTempo(r.tick, r.tempo);
            continue;
        }
        Event e = r.event;
        e.micros = time.at(r.tick);
        song->events.push_back(e);
    }
    song->endTick = endTick;
    song->endMicros = time.at(endTick);
    if (song->endMicros > kMaxMicros) return Fail(error, "tune too long");
    *out = std::move(made);
    return true;
}

}  // namespace plat::midi
