// Parsing of the command line: built-in options, values, positional
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
    int argc() const { return static_cast<int>(pointers.size()); }
    char** argv() { return pointers.data(); }
    std::vector<std::string> strings;
    std::vector<char*> pointers;
};

shell::ParseOutcome Parse(std::vector<std::string> list, shell::CommandLine* line) {
    Args args(std::move(list));
    return shell::ParseCommandLine(args.argc(), args.argv(), line);
}

TEST(CommandLineTest, OptionsAndPositionalArgumentsMix) {
    shell::CommandLine line;
    ASSERT_EQ(Parse({"first", "--headless", "--frames", "120", "two words", "--screenshot=/tmp/x.bmp",
                     "--scale", "2", "--rgb555", "--windowed", "--audio-capture", "a.wav", "last"},
                    &line),
              shell::ParseOutcome::Run);
    EXPECT_TRUE(line.platform.headless);
    EXPECT_TRUE(line.platform.windowed);
    EXPECT_TRUE(line.platform.rgb555);
    EXPECT_EQ(line.frames, 120ul);
    EXPECT_EQ(line.platform.scale, 2);
    EXPECT_EQ(line.platform.screenshot, "/tmp/x.bmp");
    EXPECT_EQ(line.platform.audioCapture, "a.wav");
    EXPECT_EQ(line.parameter, "first two words last");

    ASSERT_EQ(Parse({"--", "--headless", "-x"}, &line), shell::ParseOutcome::Run);
    EXPECT_FALSE(line.platform.headless);
    EXPECT_EQ(line.parameter, "--headless -x");
    ASSERT_EQ(Parse({}, &line), shell::ParseOutcome::Run);
    EXPECT_EQ(line.frames, 0ul);
    EXPECT_EQ(line.parameter, "");
}

TEST(CommandLineTest, UnknownOptionsAndBadValuesAreRefusedWithTheUsageLine) {
    const std::vector<std::vector<std::string>> refused = {
        {"--bogus"}, {"--frames"}, {"--frames", "0"}, {"--frames", "12x"}, {"--frames", "-5"},
        {"--scale", "9"}, {"--headless=1"}, {"--screenshot", ""}, {"-z"},
    };
    for (const auto& list : refused) {
        shell::CommandLine line;
        testing::internal::CaptureStderr();
        EXPECT_EQ(Parse(list, &line), shell::ParseOutcome::UsageError) << list[0];
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find("usage: kasample"), std::string::npos) << err;
    }
}

TEST(CommandLineTest, KaRunEndsWithTwoOnAnUnknownOptionBeforeAnythingOpens) {
    Args args({"--no-such-option"});
    testing::internal::CaptureStderr();
    EXPECT_EQ(kaRun(args.argc(), args.argv()), 2);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("--no-such-option"), std::string::npos);
}

TEST(CommandLineTest, ProgramsAddTheirOwnOptions) {
    static bool loop = false;
    static std::string replay;
    shell::AddCommandLineOption({"--loop", "", "repeat", [](shell::CommandLine&, const std::string&) {
                                     loop = true;
                                     return true;
                                 }});
    shell::AddCommandLineOption({"--replay", "FILE", "replay input",
                                 [](shell::CommandLine& line, const std::string& value) {
                                     replay = value;
                                     line.platform.headless = true;
                                     return true;
                                 }});
    shell::CommandLine line;
    ASSERT_EQ(Parse({"sound.wav", "--loop", "--replay", "in.rec"}, &line), shell::ParseOutcome::Run);
    EXPECT_TRUE(loop);
    EXPECT_EQ(replay, "in.rec");
    EXPECT_TRUE(line.platform.headless);
    EXPECT_EQ(line.parameter, "sound.wav");
    EXPECT_NE(shell::UsageLine("p").find("[--replay FILE]"), std::string::npos);
}

}  // namespace
