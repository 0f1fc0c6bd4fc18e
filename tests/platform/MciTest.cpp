// The sequencer behind its command strings: the words it takes and refuses,
// its bounded replies, the notices it posts, and the synthesizer's output
// in the mixer (deterministic, silent for bad files, faded on close).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "MidiBytes.h"
#include "platform/AudioDevice.h"
#include "platform/Mci.h"
#include "platform/MidiSequencer.h"
#include "platform/Options.h"
#include "platform/Window.h"

namespace {

using namespace miditest;
using plat::MciSendString;

std::vector<MSG> gNotices;

LRESULT NoticeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == MM_MCINOTIFY) gNotices.push_back({hwnd, message, wParam, lParam});
    return plat::DefWindowProc(hwnd, message, wParam, lParam);
}

void WriteFile(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

class MciTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::Options options;
        options.headless = true;
        plat::SetOptions(options);
        gNotices.clear();
        hwnd_ = plat::CreateMainWindow("mci", NoticeProc);
        ASSERT_NE(hwnd_, nullptr);
        device_ = plat::OpenAudioDevice();
        ASSERT_NE(device_, nullptr);
        char pattern[] = "/tmp/mcitest-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        WriteFile(dir_ + "/chord.mid", Chord(500));
        Pump();
    }
    void TearDown() override {
        Send("close midi");
        plat::CloseAudioDevice(device_);
        if (plat::IsWindow(hwnd_)) plat::DestroyWindow(hwnd_);
        Pump();
        std::system(("rm -rf '" + dir_ + "'").c_str());
    }
    uint32_t Send(const std::string& command, char* reply = nullptr, unsigned size = 0) {
        return MciSendString(command.c_str(), reply, size, hwnd_);
    }
    uint32_t Open(const std::string& name) {
        return Send("open \"" + dir_ + "/" + name + "\" type sequencer alias midi");
    }
    std::string Mode() {
        char reply[32] = "stale";
        return Send("status midi mode", reply, sizeof reply) == plat::kMciOk ? reply : "error:" + std::string(reply);
    }
    void Pump() {
        MSG m;
        while (plat::PeekMessage(&m)) plat::DispatchMessage(&m);
    }
    // Renders `frames` frames at 44100 Hz and hands out the notices posted.
    std::vector<int16_t> Render(uint32_t frames) {
        std::vector<int16_t> out(size_t{frames} * 2);
        plat::AdvanceAudio(frames, out.data());
        Pump();
        return out;
    }
    static double Peak(const std::vector<int16_t>& s, size_t from = 0, size_t to = SIZE_MAX) {
        double peak = 0;
        for (size_t i = from; i < std::min(to, s.size()); ++i) peak = std::max(peak, std::fabs(double(s[i])));
        return peak;
    }

    HWND hwnd_ = nullptr;
    plat::AudioDevice* device_ = nullptr;
    std::string dir_;
};

TEST_F(MciTest, ATuneOpensPlaysStopsAndCloses) {
    ASSERT_EQ(Open("chord.mid"), plat::kMciOk);
    EXPECT_EQ(Mode(), "stopped");
    EXPECT_EQ(Send("seek midi to start"), plat::kMciOk);
    EXPECT_EQ(Send("play midi notify"), plat::kMciOk);
    EXPECT_EQ(Mode(), "playing");
    char reply[32];
    ASSERT_EQ(Send("status midi length", reply, sizeof reply), plat::kMciOk);
    EXPECT_STREQ(reply, "500");
    Render(4410);
    ASSERT_EQ(Send("STATUS Midi Position", reply, sizeof reply), plat::kMciOk);  // any letter case
    EXPECT_STREQ(reply, "100");
    EXPECT_EQ(Send("stop midi"), plat::kMciOk);
    EXPECT_EQ(Mode(), "stopped");
    EXPECT_EQ(Send("close midi"), plat::kMciOk);
    EXPECT_EQ(Mode(), "error:");
    EXPECT_EQ(Send("close midi"), plat::kMciInvalidDeviceName);
}

TEST_F(MciTest, CommandsItDoesNotKnowAreRefusedAndChangeNothing) {
    const std::string path = "\"" + dir_ + "/chord.mid\"";
    struct Case {
        std::string command;
        uint32_t error;
    } cases[] = {
        {"", plat::kMciUnrecognizedCommand},
        {"opne " + path + " type sequencer alias midi", plat::kMciUnrecognizedCommand},
        {"open " + path + " type sequencer", plat::kMciMissingParameter},
        {"open " + path + " type sequencer alias other", plat::kMciUnrecognizedKeyword},
        {"open " + path + " type waveaudio alias midi", plat::kMciUnrecognizedKeyword},
        {"open " + path + " type sequencer alias midi alias midi", plat::kMciUnrecognizedKeyword},
        {"open " + path + " type sequencer alias midi type sequencer", plat::kMciUnrecognizedKeyword},
        {"open " + path + "x type sequencer alias midi", plat::kMciUnrecognizedKeyword},
        {"open \"" + dir_ + "/chord.mid type sequencer alias midi", plat::kMciNoClosingQuote},
        // A quote inside the name ends the path early: the words after it are refused.
        {"open \"" + dir_ + "/chord.mid\" type sequencer alias midi\" type sequencer alias midi",
         plat::kMciUnrecognizedKeyword},
        {"open \"" + dir_ + "/chord.mid\" type sequencer alias midi \"\"", plat::kMciMissingParameter},
        {"open \"" + dir_ + "/none.mid\" type sequencer alias midi", plat::kMciFileNotFound},
        {"open \"" + dir_ + "\" type sequencer alias midi", plat::kMciFileNotFound},
        {"play other", plat::kMciInvalidDeviceName},
        {"play", plat::kMciMissingParameter},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Send(c.command), c.error) << c.command;
        EXPECT_FALSE(plat::midi::IsOpen()) << c.command;
    }
    ASSERT_EQ(Open("chord.mid"), plat::kMciOk);
    for (const char* bad : {"play midi now", "seek midi to end", "seek midi", "stop midi notify", "close midi now",
                            "status midi", "status midi volume", "status midi mode now", "pause midi"}) {
        EXPECT_NE(Send(bad), plat::kMciOk) << bad;
        EXPECT_EQ(Mode(), "stopped") << bad;
    }
    EXPECT_EQ(Open("chord.mid"), plat::kMciDuplicateAlias);
}

TEST_F(MciTest, RepliesAreBoundedAndEmptyOnAnyError) {
    ASSERT_EQ(Open("chord.mid"), plat::kMciOk);
    Send("play midi");
    char reply[8] = "xxxxxxx";
    ASSERT_EQ(Send("status midi mode", reply, 4), plat::kMciOk);
    EXPECT_STREQ(reply, "pla");
    EXPECT_EQ(reply[4], 'x');  // nothing written past the size given
    ASSERT_EQ(Send("status midi mode", reply, 1), plat::kMciOk);
    EXPECT_STREQ(reply, "");
    Send("close midi");
    std::snprintf(reply, sizeof reply, "stopped");
    EXPECT_EQ(Send("status midi mode", reply, sizeof reply), plat::kMciInvalidDeviceName);
    EXPECT_STREQ(reply, "");  // never a stale "stopped"
    std::snprintf(reply, sizeof reply, "stopped");
    EXPECT_NE(Send("no such command", reply, sizeof reply), plat::kMciOk);
    EXPECT_STREQ(reply, "");
}

TEST_F(MciTest, PathsTakeBackslashesAndAnyLetterCase) {
    EXPECT_EQ(Send("open \"" + dir_ + "\\CHORD.MID\" type sequencer alias midi"), plat::kMciOk);
}

TEST_F(MciTest, FilesThatAreNotWholeMidiFilesAreRefused) {
    const std::string tune = Chord(500);
    WriteFile(dir_ + "/short.mid", tune.substr(0, tune.size() - 3));
    WriteFile(dir_ + "/wave.mid", "RIFF" + std::string(40, '\0'));
    WriteFile(dir_ + "/empty.mid", "");
    for (const char* name : {"short.mid", "wave.mid", "empty.mid"}) {
        EXPECT_EQ(Open(name), plat::kMciInvalidFile) << name;
        EXPECT_EQ(Send("play midi notify"), plat::kMciInvalidDeviceName);
    }
    // Nothing plays: the output stays silent, and no notice comes.
    EXPECT_EQ(Peak(Render(44100)), 0.0);
    EXPECT_TRUE(gNotices.empty());
}

TEST_F(MciTest, WithoutASoundOutputNothingOpens) {
    plat::CloseAudioDevice(device_);
    device_ = nullptr;
    EXPECT_EQ(Open("chord.mid"), plat::kMciCannotLoadDriver);
    EXPECT_FALSE(plat::midi::IsOpen());
}

TEST_F(MciTest, NoticesSayHowPlaybackEnded) {
    ASSERT_EQ(Open("chord.mid"), plat::kMciOk);
    Send("play midi notify");
    Send("play midi notify");  // the first play's notice is superseded
    Send("stop midi");         // the second's is aborted
    ASSERT_EQ(gNotices.size(), 0u);
    Pump();
    ASSERT_EQ(gNotices.size(), 2u);
    EXPECT_EQ(gNotices[0].wParam, plat::midi::kNotifySuperseded);
    EXPECT_EQ(gNotices[1].wParam, plat::midi::kNotifyAborted);
    EXPECT_EQ(gNotices[1].lParam, plat::midi::kDeviceId);
    gNotices.clear();
    Send("play midi");  // no notify: no notice, also not at the end
    Render(44100);
    EXPECT_TRUE(gNotices.empty());
    EXPECT_EQ(Mode(), "stopped");
    Send("seek midi to start");
    Send("play midi notify");
    Send("close midi");
    Pump();
    ASSERT_EQ(gNotices.size(), 1u);
    EXPECT_EQ(gNotices[0].wParam, plat::midi::kNotifyAborted);
}

TEST_F(MciTest, TheEndNoticeComesAtTheLastEventWithinAFrame) {
    ASSERT_EQ(Open("chord.mid"), plat::kMciOk);
    Send("play midi notify");
    int frames = 0;
    while (gNotices.empty() && frames < 200) {
        Render(735);  // one 60 Hz frame
        ++frames;
    }
    ASSERT_EQ(gNotices.size(), 1u);
    EXPECT_EQ(gNotices[0].wParam, plat::midi::kNotifySuccessful);
    EXPECT_EQ(frames, 30);  // 500 ms: the frame that reaches the end
    EXPECT_EQ(Mode(), "stopped");
}

TEST_F(MciTest, TheSynthesizerSoundsTheSameEveryTimeAndFadesOnClose) {
    // A fresh device each time: as in a new run of the program.
    std::vector<int16_t> first, second;
    for (std::vector<int16_t>* out : {&first, &second}) {
        plat::CloseAudioDevice(device_);
        device_ = plat::OpenAudioDevice();
        ASSERT_EQ(Open("chord.mid"), plat::kMciOk);
        Send("play midi");
        *out = Render(11025);
        Send("close midi");
    }
    EXPECT_GT(Peak(first), 1000.0);
    EXPECT_EQ(first, second);
    // Closing while notes sound: gone within the fade, with no jump upwards.
    ASSERT_EQ(Open("chord.mid"), plat::kMciOk);
    Send("play midi");
    const std::vector<int16_t> before = Render(8820);
    Send("close midi");
    const std::vector<int16_t> after = Render(4410);
    const double level = Peak(before, before.size() - 441 * 2);
    EXPECT_GT(level, 1000.0);
    EXPECT_LE(Peak(after, 0, 88 * 2), level * 1.2);
    EXPECT_EQ(Peak(after, 1400 * 2), 0.0);  // 30 ms after the close, silence
}

}  // namespace

namespace {

TEST_F(MciTest, ATuneKeepsItsTimeWhenTheOutputRateChanges) {
    ASSERT_EQ(Open("chord.mid"), plat::kMciOk);
    Send("play midi notify");
    Render(11025);  // 250 ms at 44100 Hz
    plat::PcmFormat half;
    half.samplesPerSec = 22050;
    half.avgBytesPerSec = 22050 * 4;
    ASSERT_EQ(plat::SetOutputFormat(device_, half), plat::kOk);
    Render(2205);  // 100 ms at 22050 Hz
    char reply[32];
    ASSERT_EQ(Send("status midi position", reply, sizeof reply), plat::kMciOk);
    EXPECT_NEAR(std::strtod(reply, nullptr), 350.0, 1.0);
    Render(3308);  // past the end at 500 ms
    ASSERT_EQ(gNotices.size(), 1u);
    EXPECT_EQ(gNotices[0].wParam, plat::midi::kNotifySuccessful);
}

}  // namespace
