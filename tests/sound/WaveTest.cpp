// The WAV reader's chunk walk and its refusals, sound pack layout, building
// and loading, and the change of the output format.
#include <cstdlib>
#include <cstring>

#include "SoundFixture.h"

namespace soundtest {
namespace {

class WaveTest : public SoundTest {
protected:
    // Reads a file of the scratch folder; returns SearchFile's result.
    int Read(const std::string& bytes, std::string* head = nullptr, std::string* data = nullptr) {
        WriteFile(dir_ + "t.wav", bytes);
        WAVEFORMATEX* h = reinterpret_cast<WAVEFORMATEX*>(1);
        uint8_t* d = reinterpret_cast<uint8_t*>(1);
        unsigned long hs = 99, ds = 99;
        const int r = kaSound::SearchFile((dir_ + "t.wav").c_str(), &h, &hs, &d, &ds);
        if (r != 0) {
            EXPECT_EQ(h, nullptr);
            EXPECT_EQ(d, nullptr);
            EXPECT_EQ(hs, 0u);
            EXPECT_EQ(ds, 0u);
        }
        if (head != nullptr && h != nullptr) head->assign(reinterpret_cast<const char*>(h), hs);
        if (data != nullptr && d != nullptr) data->assign(reinterpret_cast<const char*>(d), ds);
        std::free(h);
        std::free(d);
        return r;
    }
};

TEST_F(WaveTest, ChunksAreFoundInAnyOrderPastOtherChunks) {
    const std::string fmt = Chunk("fmt ", FmtBody(1, 2, 22050, 16));
    const std::string data = Chunk("data", "ABCDEFGH");
    std::string head, samples;
    ASSERT_EQ(Read(Riff(data + fmt), &head, &samples), 0) << "data before fmt";
    EXPECT_EQ(samples, "ABCDEFGH");
    ASSERT_EQ(head.size(), 18u);
    const auto* w = reinterpret_cast<const WAVEFORMATEX*>(head.data());
    EXPECT_EQ(w->nSamplesPerSec, 22050u);
    EXPECT_EQ(w->nBlockAlign, 4);
    EXPECT_EQ(w->cbSize, 0);

    // An odd-sized LIST chunk (padded) between them.
    ASSERT_EQ(Read(Riff(fmt + Chunk("LIST", "INFOabc") + data), nullptr, &samples), 0);
    EXPECT_EQ(samples, "ABCDEFGH");

    // A non-PCM format carries its extra bytes.
    std::string ext = FmtBody(0xFFFE, 2, 44100, 16);
    Put16(ext, 22);
    ext += std::string(22, '\x07');
    ASSERT_EQ(Read(Riff(Chunk("fmt ", ext) + data), &head), 0);
    EXPECT_EQ(head.size(), 40u);

    // The RIFF size is not trusted; the file's length is.
    std::string lying = Riff(fmt + data);
    lying[4] = lying[5] = lying[6] = lying[7] = '\xFF';
    EXPECT_EQ(Read(lying), 0);
}

TEST_F(WaveTest, MalformedFilesAreRefusedWithoutReadingPastTheEnd) {
    const std::string fmt = Chunk("fmt ", FmtBody(1, 2, 22050, 16));
    const std::string data = Chunk("data", "ABCDEFGH");
    EXPECT_EQ(Read(""), 1);
    EXPECT_EQ(Read(std::string("RIFF\x04\x00\x00\x00WAVX", 12)), 1);
    EXPECT_EQ(Read("RIFX" + Riff(fmt + data).substr(4)), 1);
    EXPECT_EQ(Read(Riff(fmt)), 1) << "no data";
    EXPECT_EQ(Read(Riff(data)), 1) << "no fmt";
    EXPECT_EQ(Read(Riff(Chunk("fmt ", FmtBody(1, 2, 22050, 16).substr(0, 14)) + data)), 1) << "fmt below 16";
    EXPECT_EQ(Read(Riff(fmt + Chunk("data", "ABCDEFGH", 0xFFFFFFF0))), 1) << "huge data size";
    EXPECT_EQ(Read(Riff(fmt + Chunk("data", "ABCDEFGH", 9))), 1) << "data one byte short";
    EXPECT_EQ(Read(Riff(Chunk("fmt ", FmtBody(1, 2, 22050, 16), 0x7FFFFFFF) + data)), 1) << "huge fmt size";
    EXPECT_EQ(Read(Riff(Chunk("LIST", "xxxx", 0xFFFFFFF0) + fmt + data)), 1) << "a lying chunk ends the walk";
    std::string ext = FmtBody(3, 2, 22050, 32);
    Put16(ext, 60000);  // extra bytes beyond the chunk
    EXPECT_EQ(Read(Riff(Chunk("fmt ", ext) + data)), 1);
    EXPECT_EQ(kaSound::SearchFile((dir_ + "absent.wav").c_str(), nullptr, nullptr, nullptr, nullptr), 1);
}

class PackTest : public WaveTest {
protected:
    void SetUp() override {
        WaveTest::SetUp();
        std::system(("mkdir -p '" + dir_ + "w'").c_str());
        a_ = Wav(2, 22050, 16, Samples16(Pattern(300, 1)));
        WriteFile(dir_ + "w/a.wav", a_);
        WriteFile(dir_ + "w/b.WAV", Wav(1, 11025, 8, std::string(99, '\x90')));
        WriteFile(dir_ + "w/broken.wav", "RIFF....WAVE");
        WriteFile(dir_ + "w/note.txt", "not a sound");
    }
    std::string Pack() { return ReadAll(dir_ + "s.pak"); }
    std::string PackName() { return "\\" + folder_ + "\\s.pak"; }
    std::string a_;
};

TEST_F(PackTest, EntriesLieEndToEndWithUpperCaseNames) {
    EXPECT_EQ(kaSound::Convert(PackName().c_str(), ("\\" + folder_ + "\\w").c_str(), 1), 1);
    const std::string pack = Pack();
    const uint32_t s1 = 300 * 4;
    const size_t second = 4 + 6 + 4 + 18 + s1;
    ASSERT_EQ(pack.size(), second + 4 + 6 + 4 + 18 + 99) << "the unreadable file is left out";
    uint32_t size = 0;
    std::memcpy(&size, pack.data(), 4);
    EXPECT_EQ(size, s1);
    EXPECT_EQ(pack.substr(4, 6), std::string("A.WAV\0", 6));
    EXPECT_EQ(pack.substr(second + 4, 6), std::string("B.WAV\0", 6));
    EXPECT_EQ(pack.substr(14 + 18, s1), a_.substr(44)) << "samples unchanged";

    // Without Delete a second run appends: every name twice.
    kaSound::Convert(PackName().c_str(), ("\\" + folder_ + "\\w").c_str(), 0);
    EXPECT_EQ(Pack().size(), 2 * pack.size());
    kaSound::Convert(PackName().c_str(), ("\\" + folder_ + "\\w").c_str(), 1);
    EXPECT_EQ(Pack().size(), pack.size());
}

TEST_F(PackTest, LoadPackFindsNamesInAnyCase) {
    kaSound::Convert(PackName().c_str(), ("\\" + folder_ + "\\w").c_str(), 1);
    EXPECT_EQ(kaSound::LoadPack("b.wav", 1), -1) << "no pack chosen yet";
    kaSound::SetPack(PackName().c_str());
    const int b = kaSound::LoadPack("b.wav", 1);
    ASSERT_GE(b, 0);
    EXPECT_STREQ(kaSound::ListName[b], "b.wav");
    EXPECT_EQ(kaSound::ListPack[b], 1);
    EXPECT_EQ(kaSound::ListPitchDef[b], 11025u);
    EXPECT_EQ(plat::GetSoundSize(Buf(b, 0)), 99u);
    EXPECT_EQ(kaSound::LoadPack("c.wav", 1), -1);
    EXPECT_EQ(kaSound::LoadPack("a.wav", 11), -1);

    // A rebuild takes pack sounds from the pack they came from, and the
    // application's current pack stays chosen.
    kaSound::SetPack("\\elsewhere.pak");
    kaSound::ReloadObject();
    EXPECT_NE(Buf(b, 0), nullptr);
    EXPECT_NE(std::strstr(kaSound::PackFileName, "elsewhere.pak"), nullptr);
}

TEST_F(PackTest, MalformedPacksFindNothing) {
    kaSound::SetPack(PackName().c_str());
    std::string pack;
    Put32(pack, 0xFFFFFF00);  // samples far past the end
    pack += std::string("A.WAV\0", 6);
    Put32(pack, 18);
    pack += std::string(18, '\0');
    WriteFile(dir_ + "s.pak", pack);
    EXPECT_EQ(kaSound::LoadPack("a.wav", 1), -1);
    WriteFile(dir_ + "s.pak", std::string(4, '\0') + std::string(300, 'A'));  // a name without end
    EXPECT_EQ(kaSound::LoadPack("a.wav", 1), -1);
    EXPECT_EQ(kaSound::ListUse[0], 0);
}

TEST_F(WaveTest, SelectFormatSetsTheOutputAndRebuilds) {
    const std::string name = Put("x.wav", Wav(2, 44100, 16, Samples16(Pattern(1000))));
    const int s = kaSound::LoadObject(name.c_str(), 2);
    ASSERT_EQ(kaSound::SelectFormat(2, 22, 16), 1);
    plat::PcmFormat f = plat::GetOutputFormat();
    EXPECT_EQ(f.samplesPerSec, 22050u);
    EXPECT_EQ(f.blockAlign, 4);
    EXPECT_EQ(f.avgBytesPerSec, 88200u);
    EXPECT_NE(Buf(s, 1), nullptr);
    kaSound::Play(s, 0);
    Render(50);
    EXPECT_EQ(kaSound::GetPos(s), 400u) << "a 44100 Hz sound runs two frames per output frame";

    ASSERT_EQ(kaSound::SelectFormat(1, 32000, 8), 1);
    f = plat::GetOutputFormat();
    EXPECT_EQ(f.samplesPerSec, 32000u);
    EXPECT_EQ(f.blockAlign, 1);
    EXPECT_EQ(kaSound::SelectFormat(3, 44, 16), 0);
    EXPECT_EQ(Buf(s, 0), nullptr) << "refused: buffers are gone, the slot stays";
    EXPECT_EQ(kaSound::ListUse[s], 1);
    kaSound::Play(s, -1);
}

}  // namespace
}  // namespace soundtest
