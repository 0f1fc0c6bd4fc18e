// The WAV files as built beside the program: format, lengths, levels, the
// size budget, and loops that run on from their last sample into their first.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "assetgen/Bmp.h"
#include "assetgen/Wav.h"

namespace {

struct WavCase {
    const char* file;
    bool loops;
};

const WavCase kWavs[] = {
    {"music/op.WAV", true},     {"music/main.WAV", true},   {"music/select.WAV", true}, {"music/boss.WAV", true},
    {"music/end1.WAV", true},   {"music/end2.WAV", true},   {"music/staff.WAV", true},  {"music/clear.WAV", false},
    {"wave/select.WAV", false}, {"wave/start.WAV", false},  {"wave/miss.WAV", false},   {"wave/get.WAV", false},
    {"wave/genkyu.WAV", false},
};

double Db(double v) { return 20.0 * std::log10(std::max(v, 1e-9)); }

double Peak(const std::vector<int16_t>& s, size_t from, size_t to) {
    double peak = 0;
    for (size_t i = from; i < to; ++i) peak = std::max(peak, std::fabs(s[i] / 32768.0));
    return peak;
}

double Rms(const std::vector<int16_t>& s, size_t from, size_t to) {
    double e = 0;
    for (size_t i = from; i < to; ++i) e += (s[i] / 32768.0) * (s[i] / 32768.0);
    return std::sqrt(e / double(std::max<size_t>(to - from, 1)));
}

assetgen::Pcm16 Load(const char* file) {
    assetgen::Pcm16 pcm;
    const std::string path = std::string(KA_BINARY_DIR) + "/bin/" + file;
    EXPECT_TRUE(assetgen::DecodeWav(assetgen::ReadBytes(path), &pcm)) << path;
    return pcm;
}

TEST(SoundFilesTest, AllAreMono16BitAt22050HzAndTogetherUnderTwentyMegabytes) {
    size_t total = 0;
    for (const WavCase& c : kWavs) {
        const assetgen::Pcm16 pcm = Load(c.file);
        EXPECT_EQ(pcm.channels, 1) << c.file;
        EXPECT_EQ(pcm.sampleRate, 22050) << c.file;
        total += 44 + pcm.samples.size() * 2;
    }
    EXPECT_LT(total, 20u * 1000 * 1000);
}

TEST(SoundFilesTest, PiecesLastTwentyToSixtySecondsAndEffectsStayShort) {
    for (const WavCase& c : kWavs) {
        const assetgen::Pcm16 pcm = Load(c.file);
        const double seconds = double(pcm.samples.size()) / pcm.sampleRate;
        if (c.loops) {
            EXPECT_GE(seconds, 20.0) << c.file;
            EXPECT_LE(seconds, 60.0) << c.file;
        } else {
            EXPECT_GT(seconds, 0.05) << c.file;
            EXPECT_LT(seconds, 6.0) << c.file;
        }
    }
}

// The mixer adds voices and saturates at full scale, so every piece (the
// clear jingle too, which starts over the tail of the last treasure's sound)
// must leave room for the loudest effect on top of its own loudest moment.
// The levels must not get there by fading into silence either.
TEST(SoundFilesTest, EveryPieceLeavesRoomForTheLoudestEffectOnTop) {
    double loudestEffect = 0;
    for (const WavCase& c : kWavs) {
        if (std::string(c.file).rfind("wave/", 0) != 0) continue;
        const assetgen::Pcm16 pcm = Load(c.file);
        const double peak = Peak(pcm.samples, 0, pcm.samples.size());
        EXPECT_GT(Db(peak), -10.0) << c.file;
        loudestEffect = std::max(loudestEffect, peak);
    }
    for (const WavCase& c : kWavs) {
        if (std::string(c.file).rfind("music/", 0) != 0) continue;
        const assetgen::Pcm16 pcm = Load(c.file);
        const double peak = Peak(pcm.samples, 0, pcm.samples.size());
        EXPECT_GT(Db(peak), -10.0) << c.file;
        EXPECT_LT(Db(peak + loudestEffect), -0.3) << c.file;
    }
}

TEST(SoundFilesTest, LoopsRunOnWithoutGapOrClickAndEffectsEndQuietly) {
    for (const WavCase& c : kWavs) {
        const assetgen::Pcm16 pcm = Load(c.file);
        const std::vector<int16_t>& s = pcm.samples;
        if (c.loops) {
            ASSERT_GT(s.size(), 4410u) << c.file;
            // No silence before the loop point: the last tenth of a second
            // carries music...
            EXPECT_GT(Db(Rms(s, s.size() - 2205, s.size())), -45.0) << c.file;
            // ...and the step from the last sample to the first is no bigger
            // than steps inside the piece.
            int largest = 0;
            for (size_t i = 1; i < s.size(); ++i) largest = std::max(largest, std::abs(s[i] - s[i - 1]));
            EXPECT_LE(std::abs(s.front() - s.back()), largest) << c.file;
        } else {
            EXPECT_LT(std::abs(s.back()), 200) << c.file;
            EXPECT_LT(std::abs(s.front()), 2000) << c.file;
        }
    }
}

}  // namespace
