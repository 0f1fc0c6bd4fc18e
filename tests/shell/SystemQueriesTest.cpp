// The program folder and its installation redirect, the command-line buffer,
// the date, and the message boxes (answered by the headless platform).
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "ShellFixture.h"
#include "platform/Clock.h"
#include "shell/CommandLine.h"
#include "shell/Globals.h"
#include "shell/kaSystem.h"

namespace shelltest {
namespace {

std::string ProgramFolder() {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return "";
    std::string folder(path, static_cast<size_t>(n));
    return folder.substr(0, folder.rfind('/') + 1);
}

// The last folder name of a folder path ending in '/', with its '/'.
std::string LastName(const std::string& folder) {
    const size_t previous = folder.rfind('/', folder.size() - 2);
    return folder.substr(previous + 1);
}

class SystemQueriesTest : public ShellTest {
protected:
    void TearDown() override {
        kaSystem::InstallDirectory[0] = '\0';
        if (!file_.empty()) std::remove(file_.c_str());
        ShellTest::TearDown();
    }
    // A file in the temporary folder, named from the system folder so that
    // CheckInstall can be pointed at it.
    std::string WriteInstallFile(const char* content) {
        file_ = testing::TempDir() + "kasample-install-" + std::to_string(getpid()) + ".txt";
        FILE* f = std::fopen(file_.c_str(), "w");
        std::fputs(content, f);
        std::fclose(f);
        return ".." + file_;
    }
    std::string file_;
};

TEST_F(SystemQueriesTest, DirectoryIsTheProgramFolderOrItsPlaceUnderTheInstallation) {
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(std::string(kaSystem::Directory(0)), folder);
    EXPECT_EQ(std::string(kaSystem::Directory(1)), folder);  // no installation folder

    std::strcpy(kaSystem::InstallDirectory, "/opt/inst");
    EXPECT_EQ(std::string(kaSystem::Directory(1)), "/opt/inst/" + LastName(folder));
    EXPECT_EQ(std::string(kaSystem::Directory(0)), folder);
}

TEST_F(SystemQueriesTest, CheckInstallReadsTheFirstLineWithoutItsLineEndAndSlash) {
    kaSystem::CheckInstall(WriteInstallFile("/data/inst/\nsecond line\n").c_str());
    EXPECT_STREQ(kaSystem::InstallDirectory, "/data/inst");

    kaSystem::CheckInstall(WriteInstallFile("/data/win\\\r\n").c_str());
    EXPECT_STREQ(kaSystem::InstallDirectory, "/data/win");

    kaSystem::CheckInstall("kasample-no-such-install-file.txt");
    EXPECT_STREQ(kaSystem::InstallDirectory, "");
}

TEST(CommandLineBufferTest, LongCommandLinesAreCutAtACharacterBoundary) {
    std::string text(253, 'a');
    text += "サ";  // three bytes, the last of which would not fit
    shell::CopyBounded(_CommandLine, sizeof _CommandLine, text);
    EXPECT_EQ(std::strlen(kaSystem::Parameter()), 253u);
    EXPECT_EQ(kaSystem::Parameter(), _CommandLine);

    text = std::string(252, 'b') + "サ" + "tail";
    shell::CopyBounded(_CommandLine, sizeof _CommandLine, text);
    EXPECT_EQ(std::string(_CommandLine), std::string(252, 'b') + "サ");
}

TEST_F(SystemQueriesTest, DateAndTimeAreTheLocalCalendar) {
    int year = 0, month = 0, day = 0, hour = -1, minute = -1, second = -1;
    char week[4] = "xxx";
    kaSystem::GetDate(&year, &month, &day, week);
    kaSystem::GetTime(&hour, &minute, &second);
    EXPECT_GE(year, 2024);
    EXPECT_TRUE(month >= 1 && month <= 12);
    EXPECT_TRUE(day >= 1 && day <= 31);
    EXPECT_TRUE(hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second <= 60);
    const std::string days = "日月火水木金土";
    EXPECT_EQ(std::strlen(week), 3u);
    EXPECT_NE(days.find(week), std::string::npos) << week;
    EXPECT_EQ(kaSystem::GetWindowsVersion(), -1);
    EXPECT_GT(kaSystem::FreeMemory(), 0ul);
    EXPECT_GT(kaSystem::FreeDisk('C'), 0ul);
}

TEST_F(SystemQueriesTest, MessageBoxesAreBoundedShowTheCursorAndRestartTheFrameClock) {
    _ShowMouse = 0;
    const std::string longText(1000, 'x');
    plat::SleepUntil(plat::TimeGetTime() + 100);
    testing::internal::CaptureStderr();
    kaSystem::Message("%s=%d", longText.c_str(), 5);
    const std::string shown = testing::internal::GetCapturedStderr();
    EXPECT_EQ(_ShowMouse, 1);
    EXPECT_EQ(_ShowDialog, 0);
    EXPECT_EQ(_WaitTime, plat::TimeGetTime());
    EXPECT_NE(shown.find(std::string(254, 'x')), std::string::npos);
    EXPECT_EQ(shown.find(std::string(255, 'x')), std::string::npos);

    testing::internal::CaptureStderr();
    EXPECT_EQ(kaSystem::YesNo("%s?", "quit"), 1);  // the headless platform answers Yes
    EXPECT_NE(testing::internal::GetCapturedStderr().find("quit?"), std::string::npos);
}

}  // namespace
}  // namespace shelltest
