// Settings files (what they hold, what a bad one reads as, where they go),
// the debug log, the colour-depth warning and the console's answer to
// yes/no questions.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ShellFixture.h"
#include "draw/kaDraw.h"
#include "shell/CommandLine.h"
#include "shell/Globals.h"
#include "shell/kaSystem.h"

namespace shelltest {
namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string TempFolder() {
    char pattern[] = "/tmp/kasample-settings-XXXXXX";
    return mkdtemp(pattern);
}

class SettingsTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        kaSystem::InstallDirectory[0] = '\0';
        path_ = std::string(kaSystem::Directory(1)) + name_;
    }
    void TearDown() override {
        std::remove(path_.c_str());
        kaSystem::InstallDirectory[0] = '\0';
        ShellTest::TearDown();
    }
    const std::string name_ = "kasample-settings-" + std::to_string(getpid()) + ".cfg";
    std::string path_;
};

TEST_F(SettingsTest, ANumberIsStoredAsItsDigitsAloneAndABadFileReadsAsZero) {
    kaSystem::SaveMidiMode(name_.c_str(), 3);
    EXPECT_EQ(ReadAll(path_), "3");
    EXPECT_EQ(kaSystem::LoadMidiMode(name_.c_str()), 3);
    kaSystem::SaveScreenMode(name_.c_str(), -42);
    EXPECT_EQ(kaSystem::LoadMidiMode(name_.c_str()), -42) << "both pairs share one format";
    for (const char* content : {"", "abc", " \n", "-"}) {
        std::ofstream(path_) << content;
        EXPECT_EQ(kaSystem::LoadScreenMode(name_.c_str()), 0) << '"' << content << '"';
    }
    std::remove(path_.c_str());
    EXPECT_EQ(kaSystem::LoadScreenMode(name_.c_str()), 0);
    EXPECT_EQ(kaSystem::LoadMidiMode(nullptr), 0);
}

TEST_F(SettingsTest, AFolderThatCannotBeWrittenSendsTheFileToTheUserDataFolder) {
    const std::string temp = TempFolder();
    setenv("XDG_DATA_HOME", (temp + "/data").c_str(), 1);
    // An installation folder that does not exist stands for one we may not write.
    shell::CopyBounded(kaSystem::InstallDirectory, sizeof kaSystem::InstallDirectory, temp + "/no/such");
    kaSystem::SaveScreenMode(name_.c_str(), 12);
    EXPECT_EQ(ReadAll(temp + "/data/kasample/" + name_), "12");
    EXPECT_EQ(kaSystem::LoadScreenMode(name_.c_str()), 12) << "read back from where it was written";
    unsetenv("XDG_DATA_HOME");
    std::system(("rm -rf '" + temp + "'").c_str());
}

TEST(DebugLogTest, EachCallAppendsOneLineCutAtACharacterBoundary) {
    const std::string temp = TempFolder();
    char old[4096];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(chdir(temp.c_str()), 0);
    std::string text, cut;
    for (int i = 0; i < 100; ++i) text += "あ";  // 300 bytes
    for (int i = 0; i < 84; ++i) cut += "あ";    // the whole characters of 254 bytes
    DEBUG("x=%d", 5);
    DEBUG(nullptr);
    DEBUG("%s", text.c_str());
    EXPECT_EQ(ReadAll("DEBUG.TXT"), "x=5\n\n" + cut + "\n");
    ASSERT_EQ(chdir(old), 0);
    std::system(("rm -rf '" + temp + "'").c_str());
}

// A windowed run asking for more colours than the 16-bit desktop has.
TEST_F(SettingsTest, ColourWarningNamesTheDepthsAndSwitchesToFullScreenOnYes) {
    const std::string warning =
        "　ウィンドウ状態で実行しようとしていますが、画面が65536色以下に設定されています。\n"
        "正しく動作させるには、1670万色以上に設定するか、フルスクリーンで実行させて下さい。\n";
    struct Case {
        int fullScreen, requested;
        const char* file;
        const char* question;  // nullptr: no warning at all
    } cases[] = {
        {1, 24, "*", nullptr},  // full screen
        {0, 16, "*", nullptr},  // enough colours
        {0, 15, "*", nullptr},  // a depth without a name
        {0, 24, "*", "フルスクリーンに切り換えますか？"},
        {0, 32, name_.c_str(), "フルスクリーンに設定し直しますか？"},
    };
    const int oldColorBit = kaDraw::ColorBit;
    for (const Case& c : cases) {
        _FullScreen = c.fullScreen;
        kaDraw::ColorBit = c.requested;
        testing::internal::CaptureStderr();
        EXPECT_EQ(kaSystem::WarningColorBit(c.file), 1);
        const std::string out = testing::internal::GetCapturedStderr();
        EXPECT_EQ(out.find(warning) != std::string::npos, c.question != nullptr) << c.requested << out;
        if (c.question != nullptr) {
            EXPECT_NE(out.find(c.question), std::string::npos) << out;
        }
        EXPECT_EQ(_FullScreen, c.question != nullptr ? 1 : c.fullScreen);
    }
    kaDraw::ColorBit = oldColorBit;
    EXPECT_EQ(kaSystem::LoadScreenMode(name_.c_str()), 1) << "a named file records the choice";
}

TEST_F(SettingsTest, ColourWarningEndsTheProgramWhenTheAnswerIsNo) {
    shell::CommandLine line;
    char program[] = "kasample", headless[] = "--headless", answer[] = "--answer=no";
    char* argv[] = {program, headless, answer};
    ASSERT_EQ(shell::ParseCommandLine(3, argv, &line), shell::ParseOutcome::Run);
    plat::SetOptions(line.platform);
    _FullScreen = 0;
    const int oldColorBit = kaDraw::ColorBit;
    kaDraw::ColorBit = 24;
    testing::internal::CaptureStderr();
    EXPECT_EQ(kaSystem::YesNo("go on?"), 0);
    EXPECT_EQ(kaSystem::WarningColorBit(name_.c_str()), 0);
    testing::internal::GetCapturedStderr();
    kaDraw::ColorBit = oldColorBit;
    EXPECT_EQ(_FullScreen, 0);
    EXPECT_EQ(_CloseEvent, 2) << "the program is being ended";
    EXPECT_EQ(kaSystem::LoadScreenMode(name_.c_str()), 0) << "nothing recorded";

    char bad[] = "--answer=maybe";
    argv[2] = bad;
    testing::internal::CaptureStderr();
    EXPECT_EQ(shell::ParseCommandLine(3, argv, &line), shell::ParseOutcome::UsageError);
    testing::internal::GetCapturedStderr();
}

}  // namespace
}  // namespace shelltest
