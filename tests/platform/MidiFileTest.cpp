// The MIDI file reader: event decoding with running status, the merge of
// format 1 tracks, tempo changes and SMPTE time, and the refusal of every
// malformed or truncated file.
#include <gtest/gtest.h>

#include "MidiBytes.h"
#include "platform/Files.h"
#include "platform/MidiFile.h"

namespace {

using namespace miditest;
using plat::midi::ReadMidiFile;
using plat::midi::Song;

bool Read(const std::string& bytes, Song* song, std::string* why = nullptr) {
    return ReadMidiFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), song, why);
}

TEST(MidiFileTest, RunningStatusNotesAndTheirTimes) {
    Song song;
    ASSERT_TRUE(Read(Chord(750), &song));
    EXPECT_EQ(song.format, 0);
    ASSERT_EQ(song.events.size(), 7u);  // program, three ons, three offs
    EXPECT_EQ(song.events[0].status, 0xC0);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(song.events[i].status, 0x90);
        EXPECT_EQ(song.events[i].micros, 0u);
    }
    EXPECT_EQ(song.events[2].data1, 64);
    EXPECT_EQ(song.events[4].status, 0x80);
    EXPECT_EQ(song.events[6].data1, 67);
    EXPECT_EQ(song.events[6].micros, 750000u);
    EXPECT_EQ(song.endTick, 750u);
    EXPECT_EQ(song.endMicros, 750000u);
}

TEST(MidiFileTest, Format1TracksMergeInTimeAndFollowTheTempoMap) {
    // Track 0: 120 per minute, then from tick 96 at 60 per minute (1 s a quarter).
    const std::string tempo0 = Bytes({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20});
    const std::string tempo1 = Vlq(96) + Bytes({0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40});
    const std::string conductor = Track(tempo0 + tempo1 + EndOfTrack(0));
    // Track 1: notes at ticks 48, 96 and 144; a text event and sysex between.
    std::string t1 = Vlq(48) + Bytes({0x91, 60, 90});
    t1 += Vlq(0) + Bytes({0xFF, 0x01, 0x02, 'h', 'i'});
    t1 += Vlq(48) + Bytes({0xF0, 0x04, 0x7E, 0x7F, 0x09, 0xF7});
    t1 += Vlq(0) + Bytes({0x91, 62, 90});
    t1 += Vlq(48) + Bytes({0x81, 60, 0});
    t1 += EndOfTrack(48);
    // Track 2 plays on channel 3 at tick 96, after track 1's event there.
    const std::string t2 = Vlq(96) + Bytes({0xB3, 7, 100}) + EndOfTrack(0);
    const std::string unknownChunk = "XYZW" + Be(3, 4) + "abc";
    Song song;
    std::string why;
    ASSERT_TRUE(Read(Header(1, 3, 96) + conductor + unknownChunk + Track(t1) + Track(t2), &song, &why)) << why;
    ASSERT_EQ(song.events.size(), 5u);
    EXPECT_EQ(song.events[0].micros, 250000u);  // 48 ticks at 0.5 s a quarter
    EXPECT_EQ(song.events[1].status, 0xF0);
    EXPECT_EQ(song.events[1].micros, 500000u);
    ASSERT_EQ(song.events[1].sysexSize, 3u);  // F0 and F7 left out
    EXPECT_EQ(song.sysex[song.events[1].sysexOffset], 0x7E);
    EXPECT_EQ(song.events[2].data1, 62);
    EXPECT_EQ(song.events[3].status, 0xB3);
    EXPECT_EQ(song.events[4].micros, 1000000u);  // 48 ticks at 1 s a quarter
    EXPECT_EQ(song.endTick, 192u);
    EXPECT_EQ(song.endMicros, 1500000u);
}

TEST(MidiFileTest, SmpteDivisionCountsFramesAndIgnoresTempo) {
    // 25 frames a second, 40 ticks a frame: one tick is a millisecond.
    const std::string e = Bytes({0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40}) + Vlq(250) + Bytes({0x90, 60, 1}) +
                          EndOfTrack(250);
    Song song;
    ASSERT_TRUE(Read(Header(0, 1, static_cast<uint16_t>((0xE7 << 8) | 40)) + Track(e), &song));
    ASSERT_EQ(song.events.size(), 1u);
    EXPECT_EQ(song.events[0].micros, 250000u);
    EXPECT_EQ(song.endMicros, 500000u);
}

TEST(MidiFileTest, MalformedFilesAreRefused) {
    const std::string ok = Chord(100);
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"another format", "RIFF" + ok.substr(4)},
        {"header cut off", ok.substr(0, 12)},
        {"format 2", Header(2, 1, 96) + ok.substr(14)},
        {"no tracks", Header(1, 0, 96)},
        {"format 0 with two tracks", Header(0, 2, 96) + ok.substr(14) + ok.substr(14)},
        {"zero division", Header(0, 1, 0) + ok.substr(14)},
        {"track missing", Header(1, 2, 96) + ok.substr(14)},
        {"chunk longer than the file", Header(0, 1, 96) + "MTrk" + Be(1000, 4) + Bytes({0, 0x90, 60, 1})},
        {"data byte without a status", Header(0, 1, 96) + Track(Bytes({0, 60, 100}) + EndOfTrack(0))},
        {"channel message cut off", Header(0, 1, 96) + Track(Bytes({0, 0x90, 60}))},
        {"status inside a message", Header(0, 1, 96) + Track(Bytes({0, 0x90, 60, 0x80}) + EndOfTrack(0))},
        {"five-byte delta time", Header(0, 1, 96) + Track(Bytes({0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 60, 1}))},
        {"system message in a track", Header(0, 1, 96) + Track(Bytes({0, 0xF2, 0, 0}) + EndOfTrack(0))},
        {"sysex longer than its track", Header(0, 1, 96) + Track(Bytes({0, 0xF0, 0x10, 1, 2}))},
        {"a fault after a sysex", Header(0, 1, 96) + Track(Bytes({0, 0xF0, 1, 0x7E, 0, 0x90, 60}))},
        {"meta longer than its track", Header(0, 1, 96) + Track(Bytes({0, 0xFF, 0x01, 0x10, 'a'}))},
        {"tune longer than a day", Header(0, 1, 1) + Track(Bytes({0, 0xFF, 0x51, 3, 0xFF, 0xFF, 0xFF}) +
                                                             EndOfTrack(0x0FFFFFFF))},
    };
    for (const Case& c : cases) {
        Song song;
        song.endTick = 99;
        EXPECT_FALSE(Read(c.bytes, &song)) << c.what;
        EXPECT_TRUE(song.events.empty()) << c.what;
        EXPECT_TRUE(song.sysex.empty()) << c.what;
        EXPECT_EQ(song.endTick, 0u) << c.what;
    }
}

TEST(MidiFileTest, EveryTruncationOfTheGeneratedTuneIsRefused) {
    std::string tune;
    ASSERT_TRUE(plat::ReadFile(std::string(KA_BINARY_DIR) + "/bin/music/op.mid", &tune)) << "the tune is built";
    Song song;
    ASSERT_TRUE(Read(tune, &song));
    // Sixteen bars of 4/4 at 140 quarters a minute, 48 ticks a quarter.
    EXPECT_EQ(song.format, 1);
    EXPECT_EQ(song.endTick, 16u * 4 * 48);
    EXPECT_NEAR(static_cast<double>(song.endMicros), 16 * 4 * 60e6 / 140, 16 * 4);
    EXPECT_GT(song.events.size(), 500u);
    for (size_t n = 0; n < tune.size(); ++n) ASSERT_FALSE(Read(tune.substr(0, n), &song)) << n << " bytes";
}

}  // namespace
