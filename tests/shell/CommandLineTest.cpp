// The command line: built-in options and their values, positional
// arguments, options added by a program, and refusals.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "shell/CommandLine.h"
#include "shell/Globals.h"

namespace {

shell::ParseOutcome Parse(std::vector<std::string> args, shell::CommandLine* line) {
    args.insert(args.begin(), "/some/where/kasample");
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    return shell::ParseCommandLine(static_cast<int>(argv.size()), argv.data(), line);
}

TEST(CommandLineTest, OptionsOfTheTableAndPositionalArgumentsMix) {
    static std::string replay;  // an option added by a program
    shell::AddCommandLineOption({"--replay", "FILE", "replay input", [](shell::CommandLine& l, const std::string& v) {
                                     replay = v;
                                     l.platform.headless = true;
                                     return true;
                                 }});
    shell::CommandLine line;
    ASSERT_EQ(Parse({"first", "--frames", "120", "two words", "--screenshot=/tmp/x.bmp", "--scale", "2", "--rgb555",
                     "--replay", "in.rec", "--", "--last"},
                    &line),
              shell::ParseOutcome::Run);
    EXPECT_TRUE(line.platform.headless && line.platform.rgb555 && !line.platform.windowed);
    EXPECT_EQ(line.frames, 120ul);
    EXPECT_EQ(line.platform.scale, 2);
    EXPECT_EQ(line.platform.screenshot, "/tmp/x.bmp");
    EXPECT_EQ(replay, "in.rec");
    EXPECT_EQ(line.parameter, "first two words --last");
}

TEST(CommandLineTest, UnknownOptionsAndBadValuesAreRefusedWithTheUsageLine) {
    for (const char* bad : {"--bogus", "--frames", "--frames=0", "--frames=12x", "--scale=9", "--headless=1", "-z"}) {
        shell::CommandLine line;
        testing::internal::CaptureStderr();
        EXPECT_EQ(Parse({bad}, &line), shell::ParseOutcome::UsageError) << bad;
        EXPECT_NE(testing::internal::GetCapturedStderr().find("usage: kasample [--headless]"), std::string::npos);
    }
    // A bad value is told what the option takes.
    for (const char* bad : {"--scale=0", "--frames=-3"}) {
        shell::CommandLine line;
        testing::internal::CaptureStderr();
        EXPECT_EQ(Parse({bad}, &line), shell::ParseOutcome::UsageError);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find(std::string(bad).find("scale") != std::string::npos ? "(1 to 8)" : "from 1 to 4294967295"),
                  std::string::npos)
            << said;
    }
    char program[] = "kasample", bad[] = "--no-such-option";
    char* argv[] = {program, bad};
    testing::internal::CaptureStderr();
    EXPECT_EQ(kaRun(2, argv), 2);
    testing::internal::GetCapturedStderr();
}

}  // namespace
