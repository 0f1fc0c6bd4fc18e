// The example player end to end: a headless run with an audio capture gives
// back exactly the samples of a 16-bit stereo file at the output rate.
#include <sys/stat.h>

#include "SoundFixture.h"

namespace soundtest {
namespace {

TEST(KaplayTest, HeadlessCaptureReproducesTheFile) {
    const std::string bin = std::string(KA_BINARY_DIR) + "/bin/kaplay";
    struct stat st {};
    if (stat(bin.c_str(), &st) != 0) GTEST_SKIP() << "kaplay is not built";
    const std::string dir = "/tmp/kaplay-test-" + std::to_string(getpid());
    ASSERT_EQ(std::system(("mkdir -p " + dir).c_str()), 0);
    const std::vector<int16_t> samples = Pattern(30000, 3);
    WriteFile(dir + "/in.wav", Wav(2, 44100, 16, Samples16(samples)));
    // Its own runtime folder: the single-instance lock of a program running
    // in parallel (another test) must not turn this run away.
    const std::string cmd = "XDG_RUNTIME_DIR=" + dir + " " + bin + " --headless --audio-capture " + dir +
                            "/out.wav " + dir + "/in.wav";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    const std::string out = ReadAll(dir + "/out.wav");
    std::system(("rm -rf " + dir).c_str());
    ASSERT_GE(out.size(), 44 + samples.size() * 2);
    EXPECT_EQ(out.substr(0, 4), "RIFF");
    EXPECT_EQ(out.substr(44, samples.size() * 2), Samples16(samples));
    for (size_t i = 44 + samples.size() * 2; i < out.size(); ++i) ASSERT_EQ(out[i], 0) << "silence after the end";
}

TEST(KaplayTest, AFileThatCannotBePlayedEndsWithAnError) {
    const std::string bin = std::string(KA_BINARY_DIR) + "/bin/kaplay";
    struct stat st {};
    if (stat(bin.c_str(), &st) != 0) GTEST_SKIP() << "kaplay is not built";
    const std::string dir = "/tmp/kaplay-test-" + std::to_string(getpid());
    ASSERT_EQ(std::system(("mkdir -p " + dir).c_str()), 0);
    const std::string cmd = "XDG_RUNTIME_DIR=" + dir + " " + bin + " --headless /nonexistent/file.wav 2>/dev/null";
    const int status = std::system(cmd.c_str());
    std::system(("rm -rf " + dir).c_str());
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
}

}  // namespace
}  // namespace soundtest
