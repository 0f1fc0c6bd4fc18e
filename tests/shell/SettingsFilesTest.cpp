// Settings files (where they go, what they hold, what a bad one reads as),
// the debug log, the colour-depth warning and the answer to yes/no questions
// where no box can be shown.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ShellFixture.h"
#include "draw/kaDraw.h"
#include "platform/Options.h"
#include "shell/CommandLine.h"
#include "shell/Globals.h"
#include "shell/kaSystem.h"

namespace shelltest {
namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A folder of this test's own, removed at the end.
class Scratch {
public:
    Scratch() {
        char pattern[] = "/tmp/kasample-settings-XXXXXX";
        dir_ = mkdtemp(pattern);
    }
    ~Scratch() { std::system(("rm -rf '" + dir_ + "'").c_str()); }
    const std::string& dir() const { return dir_; }

private:
    std::string dir_;
};

class SettingsTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        name_ = "kasample-settings-" + std::to_string(getpid()) + ".cfg";
        kaSystem::InstallDirectory[0] = '\0';
    }
    void TearDown() override {
        std::remove((std::string(kaSystem::Directory(1)) + name_).c_str());
        kaSystem::InstallDirectory[0] = '\0';
        ShellTest::TearDown();
    }
    std::string name_;
};

TEST_F(SettingsTest, ANumberIsStoredAsItsDigitsAloneAndReadBack) {
    const std::string path = std::string(kaSystem::Directory(1)) + name_;
    kaSystem::SaveMidiMode(name_.c_str(), 3);
    EXPECT_EQ(ReadAll(path), "3");
    EXPECT_EQ(kaSystem::LoadMidiMode(name_.c_str()), 3);
    // Both pairs are the same store under different names.
    kaSystem::SaveScreenMode(name_.c_str(), -42);
    EXPECT_EQ(ReadAll(path), "-42");
    EXPECT_EQ(kaSystem::LoadScreenMode(name_.c_str()), -42);
    EXPECT_EQ(kaSystem::LoadMidiMode(name_.c_str()), -42);
}

TEST_F(SettingsTest, AMissingOrUnreadableFileReadsAsZero) {
    const std::string path = std::string(kaSystem::Directory(1)) + name_;
    EXPECT_EQ(kaSystem::LoadScreenMode(name_.c_str()), 0);
    for (const char* content : {"", "abc", " \n", "-"}) {
        WriteAll(path, content);
        EXPECT_EQ(kaSystem::LoadScreenMode(name_.c_str()), 0) << '"' << content << '"';
        EXPECT_EQ(kaSystem::LoadMidiMode(name_.c_str()), 0) << '"' << content << '"';
    }
    WriteAll(path, "7 and more");
    EXPECT_EQ(kaSystem::LoadMidiMode(name_.c_str()), 7);
    EXPECT_EQ(kaSystem::LoadMidiMode(""), 0);
    EXPECT_EQ(kaSystem::LoadMidiMode(nullptr), 0);
    kaSystem::SaveMidiMode(nullptr, 1);  // nothing to name: nothing written
}

TEST_F(SettingsTest, AFolderThatCannotBeWrittenSendsTheFileToTheUserDataFolder) {
    Scratch scratch;
    const std::string data = scratch.dir() + "/data";
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    // An installation folder that does not exist stands for one we may not write.
    shell::CopyBounded(kaSystem::InstallDirectory, sizeof kaSystem::InstallDirectory, scratch.dir() + "/no/such");
    kaSystem::SaveScreenMode(name_.c_str(), 12);
    EXPECT_EQ(ReadAll(data + "/kasample/" + name_), "12");
    EXPECT_EQ(kaSystem::LoadScreenMode(name_.c_str()), 12) << "read back from where it was written";
    // Back in the program's own (writable) folder, the file is not there.
    kaSystem::InstallDirectory[0] = '\0';
    EXPECT_EQ(kaSystem::LoadScreenMode(name_.c_str()), 0);
    unsetenv("XDG_DATA_HOME");
}

TEST(DebugLogTest, EachCallAppendsOneLineCutAtACharacterBoundary) {
    Scratch scratch;
    char old[4096];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(chdir(scratch.dir().c_str()), 0);
    DEBUG("x=%d", 5);
    DEBUG("%s", "second");
    DEBUG(nullptr);
    std::string long_text;
    for (int i = 0; i < 100; ++i) long_text += "あ";  // 300 bytes of three-byte characters
    DEBUG("%s", long_text.c_str());
    const std::string log = ReadAll("DEBUG.TXT");
    ASSERT_EQ(chdir(old), 0);

    // 254 bytes of text fit with the line end; 84 whole characters are 252.
    std::string cut;
    for (int i = 0; i < 84; ++i) cut += "あ";
    EXPECT_EQ(log, "x=5\nsecond\n\n" + cut + "\n");
}

// The warning for a windowed run on a desktop with fewer colours than asked
// for: which depth is named, which question follows, and what each answer
// does. The display here has 16 bits.
TEST_F(SettingsTest, ColourWarningNamesTheDepthsAndSwitchesToFullScreenOnYes) {
    const std::string warning24 =
        "　ウィンドウ状態で実行しようとしていますが、画面が65536色以下に設定されています。\n"
        "正しく動作させるには、1670万色以上に設定するか、フルスクリーンで実行させて下さい。";
    ASSERT_EQ(kaSystem::ColorBit(), 16);
    struct Case {
        int fullScreen, requested;
        const char* file;
        std::string shown;     // "" = no message at all
        const char* question;  // nullptr = none
    };
    const std::vector<Case> cases = {
        {1, 24, "*", "", nullptr},       // full screen: never a warning
        {0, 16, "*", "", nullptr},       // the desktop has enough colours
        {0, 15, "*", "", nullptr},       // a depth without a name
        {0, 24, "*", warning24, "フルスクリーンに切り換えますか？"},
        {0, 32, name_.c_str(), warning24, "フルスクリーンに設定し直しますか？"},
    };
    const int oldColorBit = kaDraw::ColorBit;
    for (const Case& c : cases) {
        _FullScreen = c.fullScreen;
        kaDraw::ColorBit = c.requested;
        testing::internal::CaptureStderr();
        EXPECT_EQ(kaSystem::WarningColorBit(c.file), 1);
        const std::string out = testing::internal::GetCapturedStderr();
        if (c.shown.empty()) {
            EXPECT_EQ(out, "") << c.requested;
            EXPECT_EQ(_FullScreen, c.fullScreen);
            continue;
        }
        EXPECT_NE(out.find(c.shown + "\n"), std::string::npos) << out;
        EXPECT_NE(out.find(c.question), std::string::npos) << out;
        EXPECT_EQ(_FullScreen, 1) << "Yes switches to full screen";
    }
    kaDraw::ColorBit = oldColorBit;
    // Only a named file records the choice.
    EXPECT_EQ(kaSystem::LoadScreenMode(name_.c_str()), 1);
    EXPECT_EQ(kaSystem::LoadScreenMode("*"), 0);
}

TEST_F(SettingsTest, ColourWarningEndsTheProgramWhenTheAnswerIsNo) {
    plat::Options options = plat::GetOptions();
    options.answerNo = true;
    plat::SetOptions(options);
    _FullScreen = 0;
    const int oldColorBit = kaDraw::ColorBit;
    kaDraw::ColorBit = 24;
    testing::internal::CaptureStderr();
    EXPECT_EQ(kaSystem::YesNo("go on?"), 0);
    EXPECT_EQ(kaSystem::WarningColorBit(name_.c_str()), 0);
    const std::string out = testing::internal::GetCapturedStderr();
    kaDraw::ColorBit = oldColorBit;
    EXPECT_NE(out.find("フルスクリーンに設定し直しますか？"), std::string::npos) << out;
    EXPECT_EQ(_FullScreen, 0);
    EXPECT_EQ(_CloseEvent, 2) << "the program is being ended";
    EXPECT_EQ(kaSystem::LoadScreenMode(name_.c_str()), 0) << "nothing recorded";
}

TEST(AnswerOptionTest, YesOrNoOnlyAndNoIsHeldForTheConsoleBoxes) {
    auto parse = [](std::vector<std::string> args, shell::CommandLine* line) {
        args.insert(args.begin(), "kasample");
        std::vector<char*> argv;
        for (std::string& arg : args) argv.push_back(arg.data());
        return shell::ParseCommandLine(static_cast<int>(argv.size()), argv.data(), line);
    };
    shell::CommandLine line;
    ASSERT_EQ(parse({"--answer", "no"}, &line), shell::ParseOutcome::Run);
    EXPECT_TRUE(line.platform.answerNo);
    ASSERT_EQ(parse({"--answer=yes"}, &line), shell::ParseOutcome::Run);
    EXPECT_FALSE(line.platform.answerNo);
    ASSERT_EQ(parse({}, &line), shell::ParseOutcome::Run);
    EXPECT_FALSE(line.platform.answerNo) << "Yes unless asked otherwise";
    for (const char* bad : {"--answer=No", "--answer=", "--answer=maybe"}) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(parse({bad}, &line), shell::ParseOutcome::UsageError) << bad;
        testing::internal::GetCapturedStderr();
    }
}

}  // namespace
}  // namespace shelltest
