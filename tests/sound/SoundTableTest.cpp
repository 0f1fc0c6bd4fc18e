// The sound table: loading and its failures, round-robin mix buffers,
// pause/resume positions, freeing and rebuilding, the resource fallback,
// and calls on slots the table does not hold.
#include <climits>
#include <cstring>

#include "SoundFixture.h"
#include "platform/Resources.h"

namespace soundtest {
namespace {

class SoundTableTest : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        shortWav_ = Put("short.wav", Wav(2, 44100, 16, Samples16(Pattern(4410))));
    }
    std::string shortWav_;
};

TEST_F(SoundTableTest, LoadFillsTheLowestFreeSlot) {
    const int s = kaSound::LoadObject(shortWav_.c_str(), 3);
    ASSERT_EQ(s, 0);
    EXPECT_EQ(kaSound::ListUse[0], 1);
    EXPECT_EQ(kaSound::ListMix[0], 3);
    EXPECT_EQ(kaSound::ListEffectCount[0], 0);
    EXPECT_EQ(kaSound::ListPitchDef[0], 44100u);
    EXPECT_STREQ(kaSound::ListName[0], shortWav_.c_str());
    for (int m = 0; m < 3; ++m) EXPECT_NE(Buf(0, m), nullptr);
    EXPECT_EQ(Buf(0, 3), nullptr);
    EXPECT_EQ(kaSound::LoadObject(shortWav_.c_str(), -10), 1);
    EXPECT_EQ(kaSound::ListMix[1], 10);
    EXPECT_EQ(kaSound::ListEffectCount[1], -1) << "negative mix counts disable echoes";
    EXPECT_EQ(kaDraw::ErrorCheck, 0);
}

TEST_F(SoundTableTest, LoadFailuresReturnMinusOneAndKeepTheSlotFree) {
    EXPECT_EQ(kaSound::LoadObject(shortWav_.c_str(), 11), -1);
    EXPECT_EQ(kaSound::LoadObject(shortWav_.c_str(), INT_MIN), -1);
    EXPECT_EQ(kaSound::LoadObject("\\nowhere\\missing.wav", 1), -1);
    EXPECT_EQ(kaSound::LoadObject("\\a-name-that-is-longer-than-30.wav", 1), -1);
    // A compressed (ADPCM) file reads fine but no buffer can play it.
    std::string fmt = FmtBody(2, 1, 22050, 4);
    Put16(fmt, 2);
    fmt += "\x01\x02";
    const std::string adpcm = Put("adpcm.wav", Riff(Chunk("fmt ", fmt) + Chunk("data", std::string(512, '\x11'))));
    EXPECT_EQ(kaSound::LoadObject(adpcm.c_str(), 2), -1);
    EXPECT_EQ(kaDraw::ErrorCheck, 1);
    EXPECT_EQ(kaSound::ListUse[0], 0);
    EXPECT_EQ(kaSound::ListMix[0], 1);
    EXPECT_EQ(Buf(0, 0), nullptr);
}

TEST_F(SoundTableTest, SeventyOneLoadsAndAFreedSlotIsReused) {
    for (int i = 0; i < 70; ++i) ASSERT_EQ(kaSound::LoadObject(shortWav_.c_str(), 1), i);
    EXPECT_EQ(kaSound::LoadObject(shortWav_.c_str(), 1), -1);
    kaSound::FreeObject(5);
    EXPECT_EQ(kaSound::ListUse[5], 0);
    EXPECT_EQ(kaSound::ListName[5][0], '\0');
    EXPECT_EQ(Buf(5, 0), nullptr);
    kaSound::FreeObject(5);  // a free slot is left alone
    EXPECT_EQ(kaSound::LoadObject(shortWav_.c_str(), 1), 5);
}

TEST_F(SoundTableTest, AutomaticPlaysCycleThroughTheMixBuffers) {
    const int s = kaSound::LoadObject(shortWav_.c_str(), 3);
    kaSound::Play(s, -1);
    Render(100);
    kaSound::Play(s, -1);
    kaSound::Play(s, -1);
    EXPECT_EQ(kaSound::ListUseMix[s], 0);
    for (int m = 0; m < 3; ++m) EXPECT_TRUE(plat::SoundBufferPlaying(Buf(s, m)));
    EXPECT_EQ(plat::GetSoundPosition(Buf(s, 0)), 400u);
    kaSound::Play(s, -1);  // buffer 0 again, cut off and restarted
    EXPECT_EQ(plat::GetSoundPosition(Buf(s, 0)), 0u);
    EXPECT_EQ(kaSound::ListUseMix[s], 1);
    kaSound::Play(s, 2);
    EXPECT_EQ(kaSound::ListUseMix[s], 1) << "an explicit buffer leaves the round robin alone";
    kaSound::Stop(s, -1);
    for (int m = 0; m < 3; ++m) EXPECT_FALSE(plat::SoundBufferPlaying(Buf(s, m)));
}

TEST_F(SoundTableTest, PauseResumesFromThePausedByte) {
    const int s = kaSound::LoadObject(shortWav_.c_str(), 1);
    kaSound::Play(s, 0);
    Render(1000);
    kaSound::Pause(s, 0);
    EXPECT_FALSE(plat::SoundBufferPlaying(Buf(s, 0)));
    EXPECT_EQ(kaSound::ListPosition[s][0], 4000u);
    Render(1000);
    EXPECT_EQ(kaSound::GetPos(s), 4000u);
    kaSound::Pause(s, 0);
    EXPECT_TRUE(plat::SoundBufferPlaying(Buf(s, 0)));
    Render(4410 - 1000 + 1);
    EXPECT_FALSE(plat::SoundBufferPlaying(Buf(s, 0))) << "started by Play: resumes once";

    kaSound::Loop(s, -1);
    Render(2000);
    kaSound::Pause(s, -1);
    kaSound::Pause(s, -1);
    Render(4410);
    EXPECT_TRUE(plat::SoundBufferPlaying(Buf(s, 0))) << "started by Loop: resumes looping";
}

TEST_F(SoundTableTest, CallsOnSlotsWithoutBuffersDoNothing) {
    const int s = kaSound::LoadObject(shortWav_.c_str(), 2);
    const int empty = kaSound::LoadObject(shortWav_.c_str(), 0);
    EXPECT_EQ(kaSound::ListUse[empty], 1);
    EXPECT_EQ(kaSound::ListMix[empty], 0);
    for (int slot : {-1, 69, 70, 1000, INT_MIN, INT_MAX, empty}) {
        for (int mix : {-3, -2, -1, 0, 2, 9, 10, 1000, INT_MIN}) {
            kaSound::Play(slot, mix);
            kaSound::Loop(slot, mix);
            kaSound::Pause(slot, mix);
            kaSound::Stop(slot, mix);
            kaSound::Pitch(slot, 5, mix);
            kaSound::Pan(slot, 5, mix);
            kaSound::Volume(slot, -5, mix);
        }
        kaSound::Delay(slot, 0, 3, 6);
        kaSound::Chorus(slot, 0, 3, 6, 1);
        EXPECT_EQ(kaSound::GetPos(slot), 0u);
        EXPECT_EQ(kaSound::ResetStream(slot), 0);
        kaSound::FreeObject(slot);
    }
    kaSound::Play(s, 2);
    kaSound::Pause(s, 5);
    EXPECT_FALSE(plat::SoundBufferPlaying(Buf(s, 0)));
    EXPECT_FALSE(plat::SoundBufferPlaying(Buf(s, 1)));
    EXPECT_EQ(kaSound::ListUseMix[s], 0);
}

TEST_F(SoundTableTest, RebuildKeepsEverySlotAsItWas) {
    const int a = kaSound::LoadObject(shortWav_.c_str(), 2);
    const int b = kaSound::LoadObject(shortWav_.c_str(), -3);
    kaSound::SetVolume(a, -12, 1);
    kaSound::SetPitch(a, -10, 0);
    kaSound::SetPan(b, 25, 2);
    kaSound::Play(a, -1);
    kaSound::ReloadObject();
    EXPECT_EQ(kaSound::Ok, 1);
    EXPECT_EQ(kaSound::ListMix[a], 2);
    EXPECT_EQ(kaSound::ListMix[b], 3);
    EXPECT_EQ(kaSound::ListEffectCount[b], 0) << "rebuilt with the stored positive count";
    EXPECT_EQ(kaSound::ListUseMix[a], 1);
    EXPECT_STREQ(kaSound::ListName[b], shortWav_.c_str());
    EXPECT_EQ(kaSound::ListVolume[a][1], -1200);
    EXPECT_EQ(plat::GetSoundFrequency(Buf(a, 0)), 43100u);
    EXPECT_EQ(kaSound::ListPan[b][2], 2500);
    for (int m = 0; m < 3; ++m) EXPECT_NE(Buf(b, m), nullptr);
}

TEST_F(SoundTableTest, PlayFileWaitsAndRestoresTheTable) {
    const int s = kaSound::LoadObject(shortWav_.c_str(), 2);
    kaSound::SetVolume(s, -3, -1);
    kaSound::PlayFile((dir_ + "short.wav").c_str());
    EXPECT_EQ(kaSound::Ok, 1);
    EXPECT_NE(Buf(s, 1), nullptr);
    EXPECT_EQ(kaSound::ListVolume[s][1], -300);
}

TEST_F(SoundTableTest, ResourcesStandInForMissingFiles) {
    // A canonical 44-byte-header image whose count claims more than it holds.
    std::string image = Wav(1, 22050, 16, std::string(100, '\x01'));
    image[40] = '\x00';
    image[41] = '\x10';
    static std::string keep;
    keep = image;
    static plat::ResourceEntry entry{"WAVE", "TESTCHIME", nullptr, 0};
    entry.data = reinterpret_cast<const uint8_t*>(keep.data());
    entry.size = keep.size();
    plat::RegisterResources(&entry, 1);
    const int s = kaSound::LoadObject("TESTCHIME", 1);
    ASSERT_GE(s, 0);
    EXPECT_EQ(plat::GetSoundSize(Buf(s, 0)), 100u) << "the count is cut to the resource";
}

TEST_F(SoundTableTest, BeepAndShutdownAreHarmless) {
    kaSound::Beep();
    Render(100);
    kaSound::DestroyObject();
    EXPECT_EQ(DSObject, nullptr);
    kaSound::Beep();
    kaSound::Play(0, -1);
    EXPECT_EQ(kaSound::LoadObject(shortWav_.c_str(), 1), -1) << "no device: buffers cannot be made";
}

}  // namespace
}  // namespace soundtest
