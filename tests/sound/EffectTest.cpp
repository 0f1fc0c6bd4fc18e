// Pitch, pan and volume clamps and their selection of mix buffers, and the
// timing and attenuation of the Delay and Chorus echoes under a controlled
// frame time.
#include "SoundFixture.h"

namespace soundtest {
namespace {

class EffectTest : public SoundTest {
protected:
    int Load(int mix, uint32_t rate = 22050) {
        const std::string name = Put("e.wav", Wav(2, rate, 16, Samples16(Pattern(rate))));
        return kaSound::LoadObject(name.c_str(), mix);
    }

    // Runs frames of 1/60 s calling `effect` once per frame; returns the frame
    // numbers at which a mix buffer was (re)started, with its buffer and volume.
    struct Start {
        int frame;
        int mix;
        long volume;
    };
    template <class F>
    std::vector<Start> Frames(int s, int count, F effect) {
        std::vector<Start> starts;
        std::vector<uint32_t> last(kaSound::ListMix[s], 0);
        std::vector<bool> wasPlaying(kaSound::ListMix[s], false);
        for (int f = 1; f <= count; ++f) {
            Render(735);
            for (int m = 0; m < kaSound::ListMix[s]; ++m) {
                last[m] = plat::GetSoundPosition(Buf(s, m));
                wasPlaying[m] = plat::SoundBufferPlaying(Buf(s, m));
            }
            effect();
            for (int m = 0; m < kaSound::ListMix[s]; ++m) {
                if (plat::SoundBufferPlaying(Buf(s, m)) &&
                    (!wasPlaying[m] || plat::GetSoundPosition(Buf(s, m)) < last[m])) {
                    starts.push_back({f, m, kaSound::ListVolume[s][m]});
                }
            }
        }
        return starts;
    }
};

TEST_F(EffectTest, ValuesAreClampedAndReachTheBuffers) {
    const int s = Load(3);
    kaSound::SetVolume(s, -150, -1);
    for (int m = 0; m < 3; ++m) EXPECT_EQ(kaSound::ListVolume[s][m], -10000);
    kaSound::SetVolume(s, -3, 0);
    kaSound::Volume(s, 5, 0);
    EXPECT_EQ(kaSound::ListVolume[s][0], 0);

    kaSound::Pitch(s, -300, 0);
    EXPECT_EQ(kaSound::ListPitch[s][0], 100u);
    kaSound::SetPitch(s, 1000, 0);
    EXPECT_EQ(kaSound::ListPitch[s][0], 100000u);
    EXPECT_EQ(plat::GetSoundFrequency(Buf(s, 0)), 100000u);
    kaSound::InitPitch(s, 0);
    EXPECT_EQ(plat::GetSoundFrequency(Buf(s, 0)), 22050u);

    kaSound::Pan(s, 60, -1);
    EXPECT_EQ(kaSound::ListPan[s][2], 6000);
    kaSound::Pan(s, 60, -1);
    for (int m = 0; m < 3; ++m) EXPECT_EQ(kaSound::ListPan[s][m], 10000);
    kaSound::LeftPan(s, 1);
    EXPECT_EQ(kaSound::ListPan[s][1], -10000);
    kaSound::SetPan(s, -1000000, 0);
    EXPECT_EQ(kaSound::ListPan[s][0], -10000);
}

TEST_F(EffectTest, MinusTwoSelectsTheNextRoundRobinBuffer) {
    const int s = Load(3);
    kaSound::Play(s, -1);
    kaSound::SetPitch(s, 10, -2);  // buffer 1 plays next
    EXPECT_EQ(kaSound::ListPitch[s][0], 22050u);
    EXPECT_EQ(kaSound::ListPitch[s][1], 23050u);
    EXPECT_EQ(kaSound::ListPitch[s][2], 22050u);
    kaSound::SetVolume(s, -20, 7);  // no such buffer
    EXPECT_EQ(kaSound::ListVolume[s][2], 0);
}

TEST_F(EffectTest, DelayEchoesOnTimeEachQuieter) {
    const int s = Load(4);
    kaSound::SetPitch(s, 5, -1);
    kaSound::Play(s, -2);
    EXPECT_EQ(kaSound::ListPitch[s][3], 22050u) << "starting a series resets the buffers";
    EXPECT_EQ(kaSound::ListEffectCount[s], 1);
    const auto starts = Frames(s, 60, [&] { kaSound::Delay(s, 200, 3, 6); });
    ASSERT_EQ(starts.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        // 200 ms is 12 frames of 1/60 s, give or take the float sum of frame times.
        EXPECT_NEAR(starts[k].frame, 12 * (k + 1), k + 1) << "echo " << k + 1;
        EXPECT_EQ(starts[k].mix, k + 1);
        EXPECT_EQ(starts[k].volume, -600 * (k + 1));
    }
    EXPECT_EQ(kaSound::ListEffectCount[s], 0) << "series finished";
}

TEST_F(EffectTest, DelayNeverEchoesWithOneBufferAndStopEndsASeries) {
    const int one = Load(1);
    kaSound::Play(one, -2);
    EXPECT_TRUE(Frames(one, 30, [&] { kaSound::Delay(one, 100, 3, 6); }).empty());

    const int s = Load(4);
    kaSound::Loop(s, -2);
    EXPECT_EQ(kaSound::ListEffectLoop[s], 1);
    kaSound::Stop(s, -1);
    EXPECT_EQ(kaSound::ListEffectCount[s], 0);
    EXPECT_TRUE(Frames(s, 30, [&] { kaSound::Delay(s, 100, 3, 6); }).empty());
}

TEST_F(EffectTest, ChorusSwingsThePanWithinLimits) {
    const int s = Load(10);
    kaSound::Play(s, -2);
    const int dir = kaSound::ListEffectDir[s];
    std::vector<long> pans;
    for (int f = 0; f < 9; ++f) {
        const int next = kaSound::ListUseMix[s];
        FrameTime = 0.5f;  // large steps: the swing reaches its limit at once
        kaSound::Chorus(s, 0, 9, 1, 1);
        pans.push_back(kaSound::ListPan[s][next]);
    }
    EXPECT_EQ(pans[0], dir * 3000L);
    EXPECT_EQ(pans[1], dir * -2000L) << "the direction reversed at the limit";
    for (long p : pans) EXPECT_LE(std::abs(p), 3000);
    EXPECT_EQ(kaSound::ListEffectCount[s], 0);
}

}  // namespace
}  // namespace soundtest
