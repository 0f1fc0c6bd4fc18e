// The asset generator's MIDI files: read back by the framework's reader, a
// score keeps its notes, gates, tempo and length, and drums land on the
// percussion channel with their keys.
#include <gtest/gtest.h>

#include "assetgen/MidiWrite.h"
#include "assetgen/Mml.h"
#include "platform/MidiFile.h"

namespace {

TEST(MidiWriteTest, AScoreReadsBackWithItsNotesDrumsAndLength) {
    const std::string text =
        "#tempo 150\n#loop\n"
        "#inst lead wave=square50 attack=1 decay=10 sustain=1 release=10\n"
        "#inst kick wave=sine attack=1 decay=90 sustain=0 release=20 sweep=-20,50\n"
        "#inst sn wave=noise attack=1 decay=20 sustain=0 release=8\n"
        "A @lead v15 o4 l4 q8 c e q4 g c\n"
        "B @kick v12 o3 c4 @sn o5 c4 @kick o3 c4 @sn o5 c4\n";
    const assetgen::Score score = assetgen::ParseScore(text, "test");
    const std::vector<uint8_t> bytes = assetgen::EncodeMidi(score, "test");
    plat::midi::Song song;
    std::string why;
    ASSERT_TRUE(plat::midi::ReadMidiFile(bytes.data(), bytes.size(), &song, &why)) << why;
    EXPECT_EQ(song.format, 1);
    EXPECT_EQ(song.tracks, 3);
    EXPECT_EQ(song.endTick, 192u);              // one bar of 4/4, 48 ticks a quarter
    EXPECT_EQ(song.endMicros, 1600000u);        // at 150 quarters a minute
    std::vector<plat::midi::Event> on, off;
    for (const plat::midi::Event& e : song.events) {
        if ((e.status & 0xF0) == 0x90) on.push_back(e);
        if ((e.status & 0xF0) == 0x80) off.push_back(e);
        if ((e.status & 0xF0) == 0xC0) {
            EXPECT_EQ(e.status & 0x0F, 0) << "no program change on the drums";
        }
    }
    ASSERT_EQ(on.size(), 8u);
    ASSERT_EQ(off.size(), 8u);
    // Lead on channel 0, square lead program; full-gate notes end where the next begins.
    EXPECT_EQ(on[0].status, 0x90);
    EXPECT_EQ(on[0].data1, 60);
    EXPECT_EQ(on[0].data2, 127);
    int drums = 0;
    for (const plat::midi::Event& e : on) {
        if ((e.status & 0x0F) != 9) continue;
        EXPECT_EQ(e.data1, drums % 2 == 0 ? 36 : 38) << "kick, then the noise as a snare";
        ++drums;
    }
    EXPECT_EQ(drums, 4);
    // The half-gate g (third quarter) is released after an eighth.
    for (const plat::midi::Event& e : off) {
        if ((e.status & 0x0F) == 0 && e.data1 == 67) {
            EXPECT_EQ(e.tick, 96u + 24u);
        }
    }
    for (const plat::midi::Event& e : song.events) EXPECT_LE(e.tick, song.endTick);
}

}  // namespace
