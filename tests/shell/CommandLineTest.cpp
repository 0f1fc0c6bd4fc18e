// The command line: built-in options and their values, positional
// arguments, options added by a program, and refusals.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "shell/CommandLine.h"
#include "shell/Globals.h"

namespace {

struct Args {
    explicit Args(std::vector<std::string> list) : strings(std::move(list)) {
        strings.insert(strings.begin(), "/some/where/kasample");
        for (std::string& s : strings) pointers.push_back(s.data());
    }
    shell::ParseOutcome Parse(shell::CommandLine* line) {
        return shell::ParseCommandLine(static_cast<int>(pointers.size()), pointers.data(), line);
    }
    std::vector<std::string> strings;
    std::vector<char*> pointers;
};

TEST(CommandLineTest, OptionsAndPositionalArgumentsMix) {
    shell::CommandLine line;
    ASSERT_EQ(Args({"first", "--headless", "--frames", "120", "two words", "--screenshot=/tmp/x.bmp", "--scale",
                    "2", "--rgb555", "--windowed", "--audio-capture", "a.wav", "--", "--last"})
                  .Parse(&line),
              shell::ParseOutcome::Run);
    EXPECT_TRUE(line.platform.headless && line.platform.windowed && line.platform.rgb555);
    EXPECT_EQ(line.frames, 120ul);
    EXPECT_EQ(line.platform.scale, 2);
    EXPECT_EQ(line.platform.screenshot, "/tmp/x.bmp");
    EXPECT_EQ(line.platform.audioCapture, "a.wav");
    EXPECT_EQ(line.parameter, "first two words --last");
}

TEST(CommandLineTest, UnknownOptionsAndBadValuesAreRefusedWithTheUsageLine) {
    for (const char* bad : {"--bogus", "--frames", "--frames=0", "--frames=12x", "--scale=9", "--headless=1", "-z"}) {
        shell::CommandLine line;
        testing::internal::CaptureStderr();
        EXPECT_EQ(Args({bad}).Parse(&line), shell::ParseOutcome::UsageError) << bad;
        EXPECT_NE(testing::internal::GetCapturedStderr().find("usage: kasample [--headless]"), std::string::npos);
    }
    Args args({"--no-such-option"});
    testing::internal::CaptureStderr();
    EXPECT_EQ(kaRun(static_cast<int>(args.pointers.size()), args.pointers.data()), 2);
    testing::internal::GetCapturedStderr();
}

TEST(CommandLineTest, ProgramsAddTheirOwnOptions) {
    static std::string replay;
    shell::AddCommandLineOption({"--replay", "FILE", "replay input",
                                 [](shell::CommandLine& line, const std::string& value) {
                                     replay = value;
                                     line.platform.headless = true;
                                     return true;
                                 }});
    shell::CommandLine line;
    ASSERT_EQ(Args({"sound.wav", "--replay", "in.rec"}).Parse(&line), shell::ParseOutcome::Run);
    EXPECT_EQ(replay, "in.rec");
    EXPECT_TRUE(line.platform.headless);
    EXPECT_EQ(line.parameter, "sound.wav");
    EXPECT_NE(shell::UsageLine("p").find("[--replay FILE]"), std::string::npos);
}

}  // namespace
