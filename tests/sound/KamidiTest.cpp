// The MIDI player end to end: a headless run plays the generated tune to its
// end into the capture, loops it with --loop, and refuses what it cannot play.
#include <sys/stat.h>

#include <cmath>
#include <cstring>

#include "SoundFixture.h"

namespace soundtest {
namespace {

struct Capture {
    int status = -1;
    std::vector<int16_t> samples;  // 44100 Hz stereo
};

Capture RunKamidi(const std::string& args) {
    Capture c;
    const std::string bin = std::string(KA_BINARY_DIR) + "/bin/kamidi";
    struct stat st {};
    if (stat(bin.c_str(), &st) != 0) return c;
    char pattern[] = "/tmp/kamidi-test-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return c;
    const std::string dir = pattern;
    // Its own runtime folder: the single-instance lock of a program running
    // in parallel must not turn this run away.
    c.status = std::system(("XDG_RUNTIME_DIR=" + dir + " " + bin + " --headless --audio-capture " + dir +
                            "/out.wav " + args + " 2>/dev/null")
                               .c_str());
    const std::string wav = ReadAll(dir + "/out.wav");
    std::system(("rm -rf " + dir).c_str());
    if (wav.size() > 44) {
        c.samples.resize((wav.size() - 44) / 2);
        std::memcpy(c.samples.data(), wav.data() + 44, c.samples.size() * 2);
    }
    return c;
}

double Rms(const std::vector<int16_t>& s, double fromSeconds, double toSeconds) {
    const size_t from = static_cast<size_t>(fromSeconds * 44100) * 2;
    const size_t to = std::min(s.size(), static_cast<size_t>(toSeconds * 44100) * 2);
    double sum = 0;
    for (size_t i = from; i < to; ++i) sum += double(s[i]) * s[i];
    return to > from ? std::sqrt(sum / double(to - from)) : 0.0;
}

const std::string kTune = std::string(KA_BINARY_DIR) + "/bin/music/op.mid";

TEST(KamidiTest, PlaysTheTuneToItsEnd) {
    const Capture c = RunKamidi(kTune);
    if (c.status == -1) GTEST_SKIP() << "kamidi is not built";
    EXPECT_TRUE(WIFEXITED(c.status) && WEXITSTATUS(c.status) == 0);
    const double seconds = c.samples.size() / 2 / 44100.0;
    EXPECT_NEAR(seconds, 16 * 4 * 60 / 140.0, 0.1);
    for (double t = 0; t + 1 < seconds; t += 1) EXPECT_GT(Rms(c.samples, t, t + 1), 500.0) << "second " << t;
}

TEST(KamidiTest, LoopsUntilTheProgramIsClosed) {
    const Capture c = RunKamidi("--loop --frames 2100 " + kTune);
    if (c.status == -1) GTEST_SKIP() << "kamidi is not built";
    EXPECT_TRUE(WIFEXITED(c.status) && WEXITSTATUS(c.status) == 0);
    EXPECT_NEAR(c.samples.size() / 2 / 44100.0, 35.0, 0.1);
    // Across the loop point the music goes on.
    const double loop = 16 * 4 * 60 / 140.0;
    EXPECT_GT(Rms(c.samples, loop - 0.5, loop), 500.0);
    EXPECT_GT(Rms(c.samples, loop, loop + 0.5), 500.0);
}

TEST(KamidiTest, AFileThatIsNotMidiEndsWithAnError) {
    for (const std::string& file : {std::string("/nonexistent/tune.mid"), std::string(KA_SOURCE_DIR) + "/README.md"}) {
        const Capture c = RunKamidi(file);
        if (c.status == -1) GTEST_SKIP() << "kamidi is not built";
        EXPECT_TRUE(WIFEXITED(c.status)) << file;
        EXPECT_EQ(WEXITSTATUS(c.status), 1) << file;
    }
}

}  // namespace
}  // namespace soundtest
