// The mixer and the sound device buffers: sample-exact unity playback,
// gains and pan in hundredths of a decibel, resampling, saturation, 8-bit
// data, looping/one-shot ends, wrapping locks and click-free changes.
#include <cmath>
#include <cstring>

#include "SoundFixture.h"

namespace soundtest {
namespace {

plat::PcmFormat Format(uint16_t channels, uint32_t rate, uint16_t bits) {
    plat::PcmFormat f;
    f.channels = channels;
    f.samplesPerSec = rate;
    f.bitsPerSample = bits;
    f.blockAlign = static_cast<uint16_t>(channels * bits / 8);
    f.avgBytesPerSec = rate * f.blockAlign;
    return f;
}

// A buffer on the current device holding `bytes`.
plat::SoundBuffer* MakeBuffer(const plat::PcmFormat& f, const std::string& bytes) {
    plat::SoundBuffer* b = plat::CreateSoundBuffer(DSObject, f, static_cast<uint32_t>(bytes.size()));
    if (b == nullptr) return nullptr;
    void *p1, *p2;
    uint32_t n1, n2;
    if (plat::LockSoundBuffer(b, 0, static_cast<uint32_t>(bytes.size()), &p1, &n1, &p2, &n2) == plat::kOk) {
        std::memcpy(p1, bytes.data(), n1);
        plat::UnlockSoundBuffer(b);
    }
    return b;
}

std::string Constant(uint32_t frames, int16_t left, int16_t right) {
    std::vector<int16_t> s(size_t{frames} * 2);
    for (uint32_t i = 0; i < frames; ++i) {
        s[2 * i] = left;
        s[2 * i + 1] = right;
    }
    return Samples16(s);
}

using MixerTest = SoundTest;

TEST_F(MixerTest, UnityPlaybackAtTheOutputRateIsSampleExact) {
    const std::vector<int16_t> pattern = Pattern(5000);
    plat::SoundBuffer* b = MakeBuffer(Format(2, 44100, 16), Samples16(pattern));
    ASSERT_NE(b, nullptr);
    plat::PlaySoundBuffer(b, false);
    const std::vector<int16_t> out = Render(5100);
    EXPECT_TRUE(std::equal(pattern.begin(), pattern.end(), out.begin()));
    for (size_t i = pattern.size(); i < out.size(); ++i) ASSERT_EQ(out[i], 0) << i;
    EXPECT_FALSE(plat::SoundBufferPlaying(b));
    EXPECT_EQ(plat::GetSoundPosition(b), 0u) << "a finished one-shot rewinds";
    plat::ReleaseSoundBuffer(b);
}

TEST_F(MixerTest, VolumeAndPanFollowHundredthsOfADecibel) {
    plat::SoundBuffer* b = MakeBuffer(Format(2, 44100, 16), Constant(4000, 20000, 20000));
    plat::SetSoundVolume(b, -600);
    plat::PlaySoundBuffer(b, true);
    std::vector<int16_t> out = Render(100);
    EXPECT_NEAR(out[100] / 20000.0, 0.5, 0.01) << "-6 dB halves the amplitude";

    plat::StopSoundBuffer(b);
    plat::SetSoundVolume(b, 0);
    plat::SetSoundPan(b, -10000);
    plat::PlaySoundBuffer(b, true);
    out = Render(100);
    EXPECT_EQ(out[100], 20000) << "full left keeps the left channel";
    EXPECT_EQ(out[101], 0) << "and silences the right one";

    plat::StopSoundBuffer(b);
    plat::SetSoundPan(b, 600);
    plat::PlaySoundBuffer(b, true);
    out = Render(100);
    EXPECT_NEAR(out[100] / 20000.0, 0.5, 0.01) << "pan right attenuates the left";
    EXPECT_EQ(out[101], 20000);

    plat::StopSoundBuffer(b);
    plat::SetSoundPan(b, 0);
    plat::SetSoundVolume(b, -10000);
    plat::PlaySoundBuffer(b, true);
    out = Render(100);
    EXPECT_EQ(out[100], 0);
    EXPECT_EQ(out[101], 0);
    plat::ReleaseSoundBuffer(b);
}

TEST_F(MixerTest, FrequencySetsDurationAndIsClamped) {
    plat::SoundBuffer* b = MakeBuffer(Format(2, 44100, 16), Constant(10000, 1000, 1000));
    plat::SetSoundFrequency(b, 88200);
    plat::PlaySoundBuffer(b, false);
    Render(4990);
    EXPECT_TRUE(plat::SoundBufferPlaying(b));
    Render(20);
    EXPECT_FALSE(plat::SoundBufferPlaying(b)) << "double rate, half the duration";

    plat::SetSoundFrequency(b, 5);
    EXPECT_EQ(plat::GetSoundFrequency(b), plat::kMinFrequency);
    plat::SetSoundFrequency(b, 10000000);
    EXPECT_EQ(plat::GetSoundFrequency(b), plat::kMaxFrequency);
    plat::ReleaseSoundBuffer(b);
}

TEST_F(MixerTest, LowerRatesAreInterpolatedLinearly) {
    // 0, 1000, 2000, ... at 22050 Hz: every other output sample falls half-way.
    std::vector<int16_t> s(200);
    for (int i = 0; i < 100; ++i) s[2 * i] = s[2 * i + 1] = static_cast<int16_t>(i * 100);
    plat::SoundBuffer* b = MakeBuffer(Format(2, 22050, 16), Samples16(s));
    plat::PlaySoundBuffer(b, false);
    const std::vector<int16_t> out = Render(50);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(out[2 * i], i * 50) << i;
    plat::ReleaseSoundBuffer(b);
}

TEST_F(MixerTest, LoudSumsSaturateInsteadOfWrapping) {
    plat::SoundBuffer* a = MakeBuffer(Format(2, 44100, 16), Constant(100, 30000, -30000));
    plat::SoundBuffer* b = MakeBuffer(Format(2, 44100, 16), Constant(100, 30000, -30000));
    plat::PlaySoundBuffer(a, false);
    plat::PlaySoundBuffer(b, false);
    const std::vector<int16_t> out = Render(10);
    EXPECT_EQ(out[0], 32767);
    EXPECT_EQ(out[1], -32768);
    plat::ReleaseSoundBuffer(a);
    plat::ReleaseSoundBuffer(b);
}

TEST_F(MixerTest, EightBitMonoIsCentredAndSpreadToBothChannels) {
    const std::string bytes = {'\x80', '\xFF', '\x00', '\x80'};
    plat::SoundBuffer* b = MakeBuffer(Format(1, 44100, 8), bytes);
    ASSERT_NE(b, nullptr);
    plat::PlaySoundBuffer(b, false);
    const std::vector<int16_t> out = Render(4);
    const std::vector<int16_t> expected = {0, 0, 127 * 256, 127 * 256, -128 * 256, -128 * 256, 0, 0};
    EXPECT_EQ(out, expected);
    plat::ReleaseSoundBuffer(b);
}

TEST_F(MixerTest, LoopingWrapsAndStopKeepsThePosition) {
    plat::SoundBuffer* b = MakeBuffer(Format(2, 44100, 16), Samples16(Pattern(1000)));
    plat::SetSoundPosition(b, 996 * 4);
    plat::PlaySoundBuffer(b, true);
    const std::vector<int16_t> out = Render(8);
    const std::vector<int16_t> p = Pattern(1000);
    EXPECT_EQ(out[8], p[0]) << "frame 4 of the output is frame 0 of the buffer";
    EXPECT_EQ(plat::GetSoundPosition(b), 4u * 4);
    plat::StopSoundBuffer(b);
    Render(100);
    EXPECT_EQ(plat::GetSoundPosition(b), 4u * 4);
    plat::SetSoundPosition(b, 7);  // inside frame 1: positions are whole frames
    EXPECT_EQ(plat::GetSoundPosition(b), 4u);
    plat::ReleaseSoundBuffer(b);
}

TEST_F(MixerTest, LockOfAWrappingRangeGivesTwoRegions) {
    plat::SoundBuffer* b = MakeBuffer(Format(2, 44100, 16), std::string(400, '\0'));
    void *p1, *p2;
    uint32_t n1, n2;
    ASSERT_EQ(plat::LockSoundBuffer(b, 300, 200, &p1, &n1, &p2, &n2), plat::kOk);
    EXPECT_EQ(n1, 100u);
    EXPECT_EQ(n2, 100u);
    std::memset(p1, 0x11, n1);
    std::memset(p2, 0x22, n2);
    EXPECT_NE(plat::LockSoundBuffer(b, 0, 4, &p1, &n1, &p2, &n2), plat::kOk) << "one lock at a time";
    ASSERT_EQ(plat::UnlockSoundBuffer(b), plat::kOk);
    ASSERT_EQ(plat::LockSoundBuffer(b, 0, 400, &p1, &n1, &p2, &n2), plat::kOk);
    const auto* all = static_cast<const uint8_t*>(p1);
    EXPECT_EQ(all[0], 0x22);
    EXPECT_EQ(all[99], 0x22);
    EXPECT_EQ(all[100], 0);
    EXPECT_EQ(all[300], 0x11);
    EXPECT_EQ(all[399], 0x11);
    EXPECT_EQ(p2, nullptr);
    plat::UnlockSoundBuffer(b);
    EXPECT_NE(plat::LockSoundBuffer(b, 400, 4, &p1, &n1, &p2, &n2), plat::kOk);
    EXPECT_NE(plat::LockSoundBuffer(b, 0, 401, &p1, &n1, &p2, &n2), plat::kOk);
    plat::ReleaseSoundBuffer(b);
}

TEST_F(MixerTest, RateAndVolumeChangesDoNotClick) {
    // A slow triangle: neighbouring output samples differ by at most ~200.
    std::vector<int16_t> s(2 * 8000);
    for (int i = 0; i < 8000; ++i) {
        const int t = i % 400;
        s[2 * i] = s[2 * i + 1] = static_cast<int16_t>((t < 200 ? t : 400 - t) * 100 - 10000);
    }
    plat::SoundBuffer* b = MakeBuffer(Format(2, 44100, 16), Samples16(s));
    plat::PlaySoundBuffer(b, true);
    std::vector<int16_t> out = Render(1000);
    plat::SetSoundFrequency(b, 61234);
    std::vector<int16_t> more = Render(1000);
    out.insert(out.end(), more.begin(), more.end());
    plat::SetSoundVolume(b, -10000);
    more = Render(1000);
    out.insert(out.end(), more.begin(), more.end());
    int worst = 0;
    for (size_t i = 2; i < out.size(); i += 2) worst = std::max(worst, std::abs(out[i] - out[i - 2]));
    EXPECT_LE(worst, 400);
    EXPECT_EQ(out.back(), 0) << "the ramp ends at the new volume";
    plat::ReleaseSoundBuffer(b);
}

TEST_F(MixerTest, UnplayableFormatsAndSizesAreRefused) {
    plat::Result why = plat::kOk;
    plat::PcmFormat adpcm = Format(1, 22050, 4);
    adpcm.formatTag = 2;
    EXPECT_EQ(plat::CreateSoundBuffer(DSObject, adpcm, 1000, &why), nullptr);
    EXPECT_EQ(why, plat::kErrBadFormat);
    EXPECT_EQ(plat::CreateSoundBuffer(DSObject, Format(2, 44100, 24), 1200), nullptr);
    EXPECT_EQ(plat::CreateSoundBuffer(DSObject, Format(3, 44100, 16), 1200), nullptr);
    EXPECT_EQ(plat::CreateSoundBuffer(DSObject, Format(2, 50, 16), 1200), nullptr);
    EXPECT_EQ(plat::CreateSoundBuffer(DSObject, Format(2, 44100, 16), 3), nullptr);
    EXPECT_EQ(plat::CreateSoundBuffer(nullptr, Format(2, 44100, 16), 400), nullptr);
}

}  // namespace
}  // namespace soundtest
