// The program folder and its installation redirect, the command-line buffer
// and the message boxes (answered by the headless platform).
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
    const std::string file(path, n > 0 ? static_cast<size_t>(n) : 0);
    return file.substr(0, file.rfind('/') + 1);
}

TEST(ProgramFolderTest, DirectoryIsTheProgramFolderOrItsPlaceUnderTheInstallation) {
    const std::string folder = ProgramFolder();  // ".../bin/"
    EXPECT_EQ(std::string(kaSystem::Directory(0)), folder);
    EXPECT_EQ(std::string(kaSystem::Directory(1)), folder);  // no installation folder yet

    // An installation file, reached from the system folder by a relative name.
    const std::string file = testing::TempDir() + "kasample-install-" + std::to_string(getpid());
    for (const char* line : {"/opt/inst/\nsecond line\n", "/opt/inst\\\r\n"}) {
        FILE* f = std::fopen(file.c_str(), "w");
        std::fputs(line, f);
        std::fclose(f);
        kaSystem::CheckInstall((".." + file).c_str());
        EXPECT_STREQ(kaSystem::InstallDirectory, "/opt/inst");
    }
    std::remove(file.c_str());
    const std::string programFolderName = folder.substr(folder.rfind('/', folder.size() - 2) + 1);  // "bin/"
    EXPECT_EQ(std::string(kaSystem::Directory(1)), "/opt/inst/" + programFolderName);
    EXPECT_EQ(std::string(kaSystem::Directory(0)), folder);

    kaSystem::CheckInstall("kasample-no-such-install-file");
    EXPECT_STREQ(kaSystem::InstallDirectory, "");
}

TEST(ProgramFolderTest, LongCommandLinesAreCutAtACharacterBoundary) {
    shell::CopyBounded(_CommandLine, sizeof _CommandLine, std::string(253, 'a') + "サ");  // 256 bytes
    EXPECT_EQ(std::string(kaSystem::Parameter()), std::string(253, 'a'));
    shell::CopyBounded(_CommandLine, sizeof _CommandLine, std::string(252, 'b') + "サtail");
    EXPECT_EQ(std::string(kaSystem::Parameter()), std::string(252, 'b') + "サ");
}

using DialogTest = ShellTest;

TEST_F(DialogTest, MessageBoxesAreBoundedShowTheCursorAndRestartTheFrameClock) {
    _ShowMouse = 0;
    plat::SleepUntil(plat::TimeGetTime() + 100);
    testing::internal::CaptureStderr();
    kaSystem::Message("%s=%d", std::string(1000, 'x').c_str(), 5);
    const std::string shown = testing::internal::GetCapturedStderr();
    EXPECT_NE(shown.find(std::string(254, 'x') + "\n"), std::string::npos);
    EXPECT_EQ(shown.find(std::string(255, 'x')), std::string::npos);
    EXPECT_EQ(_ShowMouse, 1);
    EXPECT_EQ(_ShowDialog, 0);
    EXPECT_EQ(_WaitTime, plat::TimeGetTime());

    testing::internal::CaptureStderr();
    EXPECT_EQ(kaSystem::YesNo("%s?", "quit"), 1);  // the headless platform answers Yes
    EXPECT_NE(testing::internal::GetCapturedStderr().find("quit?"), std::string::npos);
}

}  // namespace
}  // namespace shelltest
