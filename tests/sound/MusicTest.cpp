// kaMusic through real window messages: loop, no-loop and stop as the end
// notice drives them, replacing a tune, failed opens, the tune's end and
// output in headless time, and the teardown with the sound device and Exit.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "MidiBytes.h"
#include "SoundFixture.h"
#include "platform/Mci.h"
#include "platform/MidiSequencer.h"
#include "sound/kaMusic.h"

namespace soundtest {
namespace {

using miditest::Chord;

class MusicTest : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        hwnd = plat::CreateMainWindow("kamusic", WindowProc);
        ASSERT_NE(hwnd, nullptr);
        kaMusic::Init();
        Pump();
        chord_ = Put("chord.mid", Chord(200));  // exactly 12 frames
    }
    void TearDown() override {
        kaMusic::DestroyObject();
        SoundTest::TearDown();
        if (plat::IsWindow(hwnd)) plat::DestroyWindow(hwnd);
        Pump();
    }
    // Dispatches what is waiting, as the message loop does between frames.
    void Pump() {
        MSG m;
        while (plat::PeekMessage(&m)) {
            if (m.message != WM_QUIT) plat::DispatchMessage(&m);
        }
    }
    // One 60 Hz frame of audio, then the messages it brought.
    std::vector<int16_t> Frame() {
        std::vector<int16_t> out = Render(735);
        Pump();
        return out;
    }
    // Frames until kaMusic has closed its tune (at most `limit`).
    int FramesUntilClosed(int limit) {
        int frames = 0;
        while (kaMusic::PlayMusic == 1 && frames < limit) {
            Frame();
            ++frames;
        }
        return frames;
    }
    static std::string Mode() {
        char reply[32];
        plat::MciSendString("status midi mode", reply, sizeof reply, nullptr);
        return reply;
    }
    static unsigned long Length() {
        char reply[32];
        plat::MciSendString("status midi length", reply, sizeof reply, nullptr);
        return std::strtoul(reply, nullptr, 10);
    }

    std::string chord_;
};

TEST_F(MusicTest, ALoopingTunePlaysOnUntilNoLoopLetsItEnd) {
    kaMusic::Play(chord_.c_str(), 1);
    EXPECT_EQ(kaMusic::PlayMusic, 1);
    EXPECT_EQ(kaMusic::LoopMusic, 0);
    EXPECT_EQ(Mode(), "playing");
    for (int i = 0; i < 12 * 4 + 6; ++i) Frame();  // four ends, each restarting at once
    EXPECT_EQ(kaMusic::PlayMusic, 1);
    EXPECT_EQ(kaMusic::LoopMusic, 1);
    EXPECT_EQ(Mode(), "playing");
    kaMusic::NoLoop();
    EXPECT_EQ(FramesUntilClosed(100), 6);  // the rest of this pass
    EXPECT_FALSE(plat::midi::IsOpen());
}

TEST_F(MusicTest, ATuneWithoutLoopClosesAtItsEnd) {
    kaMusic::Play(chord_.c_str(), 0);
    EXPECT_EQ(FramesUntilClosed(100), 12);
    EXPECT_EQ(kaMusic::LoopMusic, 1);
    EXPECT_FALSE(plat::midi::IsOpen());
}

TEST_F(MusicTest, OnlyASuccessfulNoticeOfAStoppedSequencerRestarts) {
    kaMusic::Play(chord_.c_str(), 1);
    // A stale success notice while the sequencer plays: nothing happens.
    plat::PostMessage(hwnd, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, plat::midi::kDeviceId);
    Pump();
    EXPECT_EQ(kaMusic::LoopMusic, 0);
    // Stopped behind kaMusic's back: other codes restart nothing...
    plat::MciSendString("stop midi", nullptr, 0, nullptr);
    for (WPARAM code : {plat::midi::kNotifySuperseded, plat::midi::kNotifyAborted, WPARAM{8}})
        plat::PostMessage(hwnd, MM_MCINOTIFY, code, plat::midi::kDeviceId);
    Pump();
    EXPECT_EQ(Mode(), "stopped");
    EXPECT_EQ(kaMusic::LoopMusic, 0);
    // ...the successful one does.
    plat::PostMessage(hwnd, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, plat::midi::kDeviceId);
    Pump();
    EXPECT_EQ(Mode(), "playing");
    EXPECT_EQ(kaMusic::LoopMusic, 1);
    // With no tune of kaMusic's open, even that is ignored.
    kaMusic::Stop();
    plat::MciSendString(("open \"" + dir_ + "chord.mid\" type sequencer alias midi").c_str(), nullptr, 0, nullptr);
    plat::PostMessage(hwnd, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, plat::midi::kDeviceId);
    Pump();
    EXPECT_EQ(Mode(), "stopped");
}

TEST_F(MusicTest, StopWithoutATuneSendsNothing) {
    // A tune opened by someone else is left alone.
    ASSERT_EQ(plat::MciSendString(("open \"" + dir_ + "chord.mid\" type sequencer alias midi").c_str(), nullptr, 0,
                                  nullptr),
              plat::kMciOk);
    kaMusic::Stop();
    EXPECT_TRUE(plat::midi::IsOpen());
    EXPECT_EQ(kaMusic::PlayMusic, 0);
}

TEST_F(MusicTest, PlayWhilePlayingClosesTheOldTuneFirst) {
    const std::string longer = Put("long.mid", Chord(400, 48));
    kaMusic::Play(chord_.c_str(), 1);
    for (int i = 0; i < 5; ++i) Frame();
    kaMusic::Play(longer.c_str(), 0);
    EXPECT_EQ(Length(), 400u);
    EXPECT_EQ(kaMusic::LoopMode, 0);
    EXPECT_EQ(kaMusic::LoopMusic, 0);
    // The old tune's aborted notice restarts nothing; the new one plays out
    // (after the old one's short fade) and closes.
    const int frames = FramesUntilClosed(100);
    EXPECT_GE(frames, 24);
    EXPECT_LE(frames, 26);
}

TEST_F(MusicTest, AFailedOpenLeavesTheTuneSilentAndStopHarmless) {
    const std::vector<std::string> names = {
        "\\" + folder_ + "\\missing.mid",
        "\\" + folder_ + "\\" + std::string(300, 'a') + ".mid",     // does not fit the command
        "\\" + folder_ + "\\chord.mid\" type sequencer alias midi",  // a quote in the name
    };
    // The 255 characters a cut-off command would keep name a file that
    // exists: it must still not open.
    const size_t kept = 255 - std::strlen("open \"") - ProgramDir().size() - folder_.size() - 2;
    WriteFile(dir_ + std::string(kept, 'a'), Chord(200));
    for (const std::string& name : names) {
        kaMusic::Play(name.c_str(), 1);
        EXPECT_EQ(kaMusic::PlayMusic, 1) << name;
        EXPECT_FALSE(plat::midi::IsOpen()) << name;
        std::vector<int16_t> all;
        for (int i = 0; i < 30; ++i) {
            const std::vector<int16_t> f = Frame();
            all.insert(all.end(), f.begin(), f.end());
        }
        EXPECT_EQ(*std::max_element(all.begin(), all.end()), 0) << name;
        kaMusic::Stop();
        EXPECT_EQ(kaMusic::PlayMusic, 0);
    }
}

TEST_F(MusicTest, AMalformedTuneGivesSilence) {
    std::string tune = Chord(200);
    const std::string truncated = Put("cut.mid", tune.substr(0, tune.size() - 5));
    tune[20] = '\x40';  // a data byte where the first status should be
    const std::string broken = Put("bad.mid", tune);
    for (const std::string& name : {truncated, broken}) {
        kaMusic::Play(name.c_str(), 0);
        EXPECT_FALSE(plat::midi::IsOpen());
        int16_t peak = 0;
        for (int i = 0; i < 20; ++i) {
            for (int16_t s : Frame()) peak = std::max<int16_t>(peak, static_cast<int16_t>(std::abs(s)));
        }
        EXPECT_EQ(peak, 0);
        EXPECT_EQ(kaMusic::PlayMusic, 1);  // nothing ends it: the caller stops it
    }
}

TEST_F(MusicTest, TheTestTuneSoundsTheSameEachRunAndEndsAtItsLength) {
    uint64_t sums[2] = {0, 0};
    int frames[2] = {0, 0};
    double peak = 0;
    for (int run = 0; run < 2; ++run) {
        kaSound::DestroyObject();  // a fresh device and synthesizer
        ASSERT_EQ(kaSound::Init(), 1);
        kaMusic::Play("music\\op.mid", 0);
        ASSERT_TRUE(plat::midi::IsOpen()) << "the generated tune is in bin/music";
        while (kaMusic::PlayMusic == 1 && frames[run] < 3000) {
            for (int16_t s : Frame()) {
                sums[run] = sums[run] * 31 + static_cast<uint16_t>(s);
                peak = std::max(peak, std::fabs(double(s)));
            }
            ++frames[run];
        }
    }
    // 16 bars at 140 quarters a minute: 27.43 s, 1645.7 frames.
    EXPECT_GE(frames[0], 1646);
    EXPECT_LE(frames[0], 1647);
    EXPECT_EQ(frames[0], frames[1]);
    EXPECT_EQ(sums[0], sums[1]);
    EXPECT_GT(peak, 3000.0);
    EXPECT_LT(peak, 32000.0);
}

TEST_F(MusicTest, ClosingTheSoundDeviceStopsTheTuneForGood) {
    kaMusic::Play(chord_.c_str(), 1);
    kaSound::DestroyObject();
    EXPECT_FALSE(plat::midi::IsOpen());
    Pump();
    EXPECT_EQ(kaMusic::PlayMusic, 1);  // kaMusic's own bookkeeping is untouched
    kaMusic::Stop();
    ASSERT_EQ(kaSound::Init(), 1);
    kaMusic::Play(chord_.c_str(), 0);
    EXPECT_EQ(FramesUntilClosed(100), 12);
}

TEST_F(MusicTest, ExitStopsTheTuneBeforeTheDeviceCloses) {
    kaMusic::Play(chord_.c_str(), 1);
    kaDraw::Exit();
    EXPECT_EQ(kaMusic::PlayMusic, 0);
    EXPECT_FALSE(plat::midi::IsOpen());
    Pump();  // the close request Exit posted
}

}  // namespace
}  // namespace soundtest
