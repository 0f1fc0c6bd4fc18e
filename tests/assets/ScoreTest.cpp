// The score language and the synthesizer: note timing, repeats, bar checks,
// and loops that come out exactly one pass long with their tails wrapped.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "assetgen/Mml.h"
#include "assetgen/Synth.h"

namespace {

using assetgen::ParseScore;
using assetgen::RenderScore;
using assetgen::Score;

const char* kHeader = "#tempo 120\n#inst s wave=square50 attack=1 decay=10 sustain=1 release=100\n";

Score Parse(const std::string& body) { return ParseScore(std::string(kHeader) + body, "test"); }

std::string Error(const std::string& body) {
    try {
        Parse(body);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}

TEST(ScoreTest, LengthsDotsTiesAndOctavesGiveTicksAndPitches) {
    Score s = Parse("A @s o4 l8 c d4. r16 e16 ^8 > c & c4 < b-\n");
    const auto& n = s.tracks.at(0).notes;
    ASSERT_EQ(n.size(), 5u);
    EXPECT_EQ(n[0].midi, 60);  // middle C
    EXPECT_EQ(n[0].lengthTicks, 24);
    EXPECT_EQ(n[1].startTick, 24);
    EXPECT_EQ(n[1].lengthTicks, 72);  // dotted quarter
    EXPECT_EQ(n[2].startTick, 24 + 72 + 12);
    EXPECT_EQ(n[2].lengthTicks, 12 + 24);  // tied on
    EXPECT_EQ(n[3].midi, 72);
    EXPECT_EQ(n[3].lengthTicks, 24 + 48);  // joined with the next c
    EXPECT_EQ(n[4].midi, 70);               // b flat, an octave down again
    EXPECT_EQ(s.lengthTicks, 24 + 72 + 12 + 36 + 72 + 24);
}

TEST(ScoreTest, RepeatsExpandWithNestingAndAnEarlyLastPass) {
    // c d d e, then the last pass stops at the slash: c d d.
    EXPECT_EQ(Parse("A @s l4 [c [d]2 / e]2\n").tracks[0].notes.size(), 7u);
    EXPECT_NE(Error("A @s [c d\n").find("'['"), std::string::npos);
    EXPECT_NE(Error("A @s [c d]\n").find("count"), std::string::npos);
}

TEST(ScoreTest, FaultsNameTheirPlace) {
    EXPECT_NE(Error("A @s c4 c4 c4 |\n").find("bar line 1"), std::string::npos);
    EXPECT_NE(Error("A c4\n").find("before any @instrument"), std::string::npos);
    EXPECT_NE(Error("A @nope c\n").find("unknown instrument"), std::string::npos);
    EXPECT_NE(Error("A @s c x\n").find("track A"), std::string::npos);
    EXPECT_NE(Error("#loop\nA @s c1\nB @s c2\n").find("track B"), std::string::npos);
    EXPECT_NE(Error("A @s o9 b+\n").find("out of range"), std::string::npos);
}

TEST(ScoreTest, ALoopIsExactlyOnePassLongAndItsLastNoteRingsIntoTheStart) {
    // One note that ends right at the loop point: its release must be heard
    // at the start of the buffer, and the buffer must not be any longer.
    Score s = Parse("#loop\nA @s r2 o5 q8 a2\n");
    std::vector<float> out = RenderScore(s, 22050);
    ASSERT_EQ(out.size(), 44100u);  // one 4/4 bar at 120 = 2 s
    double early = 0, silentMiddle = 0;
    for (size_t i = 0; i < 1000; ++i) early = std::max(early, double(std::fabs(out[i])));
    for (size_t i = 3000; i < 10000; ++i) silentMiddle = std::max(silentMiddle, double(std::fabs(out[i])));
    EXPECT_GT(early, 0.2);
    EXPECT_EQ(silentMiddle, 0.0);
}

TEST(ScoreTest, ALoopMatchesTheSecondPassOfTheSameMusicPlayedTwice) {
    const std::string pass = "@s o4 l8 c e g > c < g e c g";
    const std::string extra = "#echo A 150 0.4\n#lowpass 3000\n";
    std::vector<float> loop = RenderScore(ParseScore(std::string(kHeader) + extra + "#loop\nA " + pass + "\n", "x"), 22050);
    std::vector<float> twice = RenderScore(ParseScore(std::string(kHeader) + extra + "A " + pass + " " + pass + "\n", "x"), 22050);
    ASSERT_GE(twice.size(), 2 * loop.size());
    // The levels differ by the normalisation only; fit it, then compare.
    double ab = 0, bb = 0;
    for (size_t i = 0; i < loop.size(); ++i) {
        ab += double(loop[i]) * twice[loop.size() + i];
        bb += double(twice[loop.size() + i]) * twice[loop.size() + i];
    }
    const double k = ab / bb;
    double worst = 0;
    for (size_t i = 0; i < loop.size(); ++i)
        worst = std::max(worst, std::fabs(loop[i] - k * twice[loop.size() + i]));
    // Echo tails from before the first pass are all that may differ.
    EXPECT_LT(worst, 0.02);
}

TEST(ScoreTest, OneShotsEndWhenTheirSoundDiesAndPeakAtTheWantedLevel) {
    std::vector<float> out = RenderScore(Parse("#peak -6\nA @s o5 c8\n"), 22050);
    // An eighth at 120 is 0.25 s, held for 7/8 of it, then 0.1 s of release.
    EXPECT_NEAR(double(out.size()) / 22050, 0.25 * 7 / 8 + 0.1, 0.01);
    double peak = 0;
    for (float v : out) peak = std::max(peak, double(std::fabs(v)));
    EXPECT_NEAR(20 * std::log10(peak), -6.0, 0.01);
    EXPECT_LT(std::fabs(out.back()), 0.01);
}

TEST(ScoreTest, RenderingIsRepeatable) {
    Score s = Parse("#inst n wave=noise decay=50 sustain=0\nA @s c8 e8 @n o6 c8 c8\n");
    EXPECT_EQ(RenderScore(s, 22050), RenderScore(s, 22050));
}

}  // namespace
