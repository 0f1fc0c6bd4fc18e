// Streaming from a pack on the headless mixer: which entries stream, ring
// and piece sizes, the end countdown of a sound played once, gap-free loops
// from the loop point, restarts, and loop points outside the data.
#include <cstring>

#include "SoundFixture.h"

namespace soundtest {
namespace {

constexpr uint32_t kRate = 44100;
constexpr uint32_t kFrameBytes = 4;
constexpr uint32_t kPerSecond = kRate * kFrameBytes;
constexpr uint32_t kFramesPerTick = 735;  // one 1/60 s frame

class StreamTest : public SoundTest {
protected:
    // A pack with one 16-bit stereo entry of `frames` frames at `rate`.
    void MakePack(const char* name, uint32_t frames, uint32_t rate = kRate) {
        data_ = Pattern(frames);
        std::string pack;
        Put32(pack, frames * kFrameBytes);
        pack += name;
        pack.push_back('\0');
        Put32(pack, 18);
        pack += FmtBody(1, 2, rate, 16);
        Put16(pack, 0);
        pack += Samples16(data_);
        WriteFile(dir_ + "m.pak", pack);
        kaSound::SetPack(("\\" + folder_ + "\\m.pak").c_str());
    }

    struct Piece {
        unsigned long bytes;
        bool silent;
    };

    // Runs frames like the main loop (Streaming, then 1/60 s of audio) until
    // the slot stops or `maxTicks` pass; collects the output and the pieces.
    void Run(int s, int maxTicks) {
        _soundstream& st = kaSound::SoundStream[s];
        for (int t = 0; t < maxTicks && plat::SoundBufferPlaying(Buf(s, 0)); ++t) {
            const unsigned long before = st.NextWrite;
            kaSound::Streaming();
            if (st.NextWrite != before) {
                const unsigned long n = (st.NextWrite + st.WriteMax - st.WriteCheck) % st.WriteMax;
                pieces_.push_back({n == 0 ? st.WriteMax : n, st.NextStop == 1});
            }
            const std::vector<int16_t> out = Render(kFramesPerTick);
            out_.insert(out_.end(), out.begin(), out.end());
        }
    }

    // Frame i of the output must be frame `frame` of the data.
    ::testing::AssertionResult Matches(size_t i, size_t frame) {
        if (out_[2 * i] == data_[2 * frame] && out_[2 * i + 1] == data_[2 * frame + 1]) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << "output frame " << i << " is not data frame " << frame;
    }

    std::vector<int16_t> data_;
    std::vector<int16_t> out_;
    std::vector<Piece> pieces_;
};

TEST_F(StreamTest, OnlyEntriesOfFiveSecondsOrMoreStream) {
    MakePack("SHORT.WAV", kRate * 49 / 10);
    const int shortSlot = kaSound::LoadStream("short.wav", 0);
    ASSERT_GE(shortSlot, 0);
    EXPECT_EQ(kaSound::SoundStream[shortSlot].DataSize, 0u);
    EXPECT_EQ(kaSound::ListMix[shortSlot], 1);
    EXPECT_EQ(plat::GetSoundSize(Buf(shortSlot, 0)), kRate * 49 / 10 * kFrameBytes);

    MakePack("LONG.WAV", 22050 * 5, 22050);
    const int s = kaSound::LoadStream("long.wav", 0);
    ASSERT_GE(s, 0);
    const _soundstream& st = kaSound::SoundStream[s];
    EXPECT_EQ(st.DataSize, 22050u * 5 * 4);
    EXPECT_EQ(st.WriteMax, 352800u);
    EXPECT_EQ(st.WriteSize, 176400u);
    EXPECT_EQ(plat::GetSoundSize(Buf(s, 0)), 352800u);
    EXPECT_EQ(kaSound::ListEffectCount[s], -1);
    EXPECT_EQ(kaSound::ListPack[s], 1);
    EXPECT_EQ(kaSound::LoadStream("none.wav", 0), -1);
}

TEST_F(StreamTest, PlayedOncePlaysEverySampleThenOneSilentPieceAndStops) {
    const uint32_t frames = kRate * 55 / 10;
    MakePack("MUSIC.WAV", frames);
    const int s = kaSound::LoadStream("MUSIC.WAV", 0);
    kaSound::Play(s, -1);
    Run(s, 60 * 10);
    EXPECT_FALSE(plat::SoundBufferPlaying(Buf(s, 0)));
    ASSERT_EQ(pieces_.size(), 3u);
    EXPECT_EQ(pieces_[0].bytes, kPerSecond * 7 / 4);
    EXPECT_FALSE(pieces_[0].silent);
    EXPECT_EQ(pieces_[1].bytes, kPerSecond * 7 / 4);
    EXPECT_TRUE(pieces_[2].silent);
    ASSERT_GE(out_.size() / 2, frames);
    for (size_t i = 0; i < frames; ++i) ASSERT_TRUE(Matches(i, i));
    for (size_t i = 2 * frames; i < out_.size(); ++i) ASSERT_EQ(out_[i], 0);
    EXPECT_LE(out_.size() / 2, frames + 2 * kFramesPerTick) << "stops as soon as the data has played";
}

TEST_F(StreamTest, LoopingResumesAtTheLoopPointWithoutAGap) {
    const uint32_t frames = kRate * 5 + 1234;
    MakePack("MUSIC.WAV", frames);
    const uint32_t loopFrame = kRate * 3 / 2;
    const int s = kaSound::LoadStream("MUSIC.WAV", loopFrame * kFrameBytes + 2);  // rounded to a frame
    kaSound::Loop(s, -1);
    Run(s, 60 * 14);
    EXPECT_TRUE(plat::SoundBufferPlaying(Buf(s, 0)));
    for (size_t i = 0; i < out_.size() / 2; ++i) {
        const size_t frame = i < frames ? i : loopFrame + (i - frames) % (frames - loopFrame);
        ASSERT_TRUE(Matches(i, frame));
    }
}

TEST_F(StreamTest, PlayRestartsAPlayingStreamFromTheTop) {
    MakePack("MUSIC.WAV", kRate * 6);
    const int s = kaSound::LoadStream("MUSIC.WAV", 0);
    kaSound::Play(s, -1);
    Run(s, 60 * 3);
    out_.clear();
    kaSound::Play(s, -1);
    Run(s, 60 * 4);
    for (size_t i = 0; i < out_.size() / 2; ++i) ASSERT_TRUE(Matches(i, i));
}

TEST_F(StreamTest, LoopPointsOutsideTheDataLoopToTheStart) {
    const uint32_t frames = kRate * 5;
    MakePack("MUSIC.WAV", frames);
    const int s = kaSound::LoadStream("MUSIC.WAV", frames * kFrameBytes + 100);
    EXPECT_EQ(kaSound::SoundStream[s].LoopPos, kaSound::SoundStream[s].StartPos);
    kaSound::Loop(s, -1);
    Run(s, 60 * 7);
    for (size_t i = 0; i < out_.size() / 2; ++i) ASSERT_TRUE(Matches(i, i % frames));
}

TEST_F(StreamTest, PlayedOnceWithALateLoopPointStillStops) {
    const uint32_t frames = kRate * 6;
    MakePack("MUSIC.WAV", frames);
    // Half a second of loop region: shorter than a piece.
    const int s = kaSound::LoadStream("MUSIC.WAV", (frames - kRate / 2) * kFrameBytes);
    kaSound::Play(s, -1);
    Run(s, 60 * 12);
    EXPECT_FALSE(plat::SoundBufferPlaying(Buf(s, 0)));
    for (size_t i = 0; i < frames; ++i) ASSERT_TRUE(Matches(i, i));
}

TEST_F(StreamTest, RebuildReloadsTheStreamWithItsLoopPoint) {
    MakePack("MUSIC.WAV", kRate * 5);
    const int s = kaSound::LoadStream("MUSIC.WAV", kPerSecond);
    kaSound::SetPack("\\other.pak");
    kaSound::ReloadObject();
    const _soundstream& st = kaSound::SoundStream[s];
    EXPECT_EQ(st.DataSize, kRate * 5 * kFrameBytes);
    EXPECT_EQ(st.LoopPos - st.StartPos, kPerSecond);
    EXPECT_NE(Buf(s, 0), nullptr);
    kaSound::Loop(s, -1);
    Run(s, 30);
    for (size_t i = 0; i < out_.size() / 2; ++i) ASSERT_TRUE(Matches(i, i));
}

}  // namespace
}  // namespace soundtest
