// File access: Windows-style names resolved against a real temporary folder,
// bounded whole-file reads, and the program's own path.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Files.h"

namespace {

namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/ka-files-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root_ = pattern;
        fs::create_directories(root_ + "/Music");
        fs::create_directories(root_ + "/wave");
        Write("Music/OP.wav", "op");
        Write("wave/Get.WAV", "get");
        Write("b.txt", "lower");
        Write("B.TXT", "upper");
        Write("B.txt", "mixed");
    }
    void TearDown() override { fs::remove_all(root_); }
    void Write(const std::string& name, const std::string& text) {
        std::ofstream(root_ + "/" + name, std::ios::binary) << text;
    }
    std::string root_;
};

TEST_F(FilesTest, BackslashesAndCaseResolveToExistingFiles) {
    EXPECT_EQ(plat::ResolvePath(root_ + "/\\music\\op.WAV"), root_ + "/Music/OP.wav");
    EXPECT_EQ(plat::ResolvePath(root_ + "\\\\WAVE//get.wav"), root_ + "/wave/Get.WAV");
    EXPECT_EQ(plat::ResolvePath(root_ + "\\MUSIC\\"), root_ + "/Music/");
}

TEST_F(FilesTest, ExactMatchWinsThenTheSmallestNameDecides) {
    EXPECT_EQ(plat::ResolvePath(root_ + "/b.txt"), root_ + "/b.txt");
    EXPECT_EQ(plat::ResolvePath(root_ + "/B.txt"), root_ + "/B.txt");
    EXPECT_EQ(plat::ResolvePath(root_ + "/b.TXT"), root_ + "/B.TXT");  // "B.TXT" < "B.txt" < "b.txt"
}

TEST_F(FilesTest, MissingComponentsKeepTheConvertedName) {
    EXPECT_EQ(plat::ResolvePath(root_ + "\\music\\New.wav"), root_ + "/Music/New.wav");
    EXPECT_EQ(plat::ResolvePath(root_ + "\\Nope\\music\\x.wav"), root_ + "/Nope/music/x.wav");
    EXPECT_EQ(plat::ResolvePath("rel\\\\dir\\"), "rel/dir/");
    EXPECT_EQ(plat::ResolvePath(""), "");
    // A file created through the converted name is then found by any case.
    FILE* f = plat::OpenFile(root_ + "\\MUSIC\\saved.DAT", "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("x", f);
    std::fclose(f);
    EXPECT_TRUE(fs::exists(root_ + "/Music/saved.DAT"));
    std::string bytes;
    EXPECT_TRUE(plat::ReadFile(root_ + "\\music\\SAVED.dat", &bytes));
    EXPECT_EQ(bytes, "x");
}

TEST_F(FilesTest, ReadFileIsBounded) {
    std::string bytes;
    EXPECT_TRUE(plat::ReadFile(root_ + "\\MUSIC\\op.wav", &bytes, 2));
    EXPECT_EQ(bytes, "op");
    EXPECT_FALSE(plat::ReadFile(root_ + "\\MUSIC\\op.wav", &bytes, 1));
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(plat::ReadFile(root_ + "/missing", &bytes));
    EXPECT_FALSE(plat::ReadFile(root_ + "/Music", &bytes));
    // /proc files report size 0: the bound must hold on what is read.
    EXPECT_TRUE(plat::ReadFile("/proc/self/status", &bytes));
    EXPECT_NE(bytes.find("Name:"), std::string::npos);
    EXPECT_FALSE(plat::ReadFile("/proc/self/status", &bytes, 16));
}

TEST_F(FilesTest, WritablePathFallsBackToTheUserDataFolder) {
    const char* oldXdg = std::getenv("XDG_DATA_HOME");
    std::string saved = oldXdg ? oldXdg : "";
    ::setenv("XDG_DATA_HOME", (root_ + "/data/deeper").c_str(), 1);
    EXPECT_EQ(plat::UserDataDir(), root_ + "/data/deeper/kasample/");
    EXPECT_TRUE(fs::is_directory(root_ + "/data/deeper/kasample"));

    EXPECT_EQ(plat::WritablePath(root_ + "/wave/", "X.TXT"), root_ + "/wave/X.TXT");
    fs::permissions(root_ + "/wave", fs::perms::owner_read | fs::perms::owner_exec);
    // root may write anywhere; the fallback only shows for an ordinary user.
    if (::access((root_ + "/wave").c_str(), W_OK) != 0) {
        EXPECT_EQ(plat::WritablePath(root_ + "/wave/", "X.TXT"), root_ + "/data/deeper/kasample/X.TXT");
    }
    EXPECT_EQ(plat::WritablePath(root_ + "/missing/", "X.TXT"), root_ + "/data/deeper/kasample/X.TXT");
    fs::permissions(root_ + "/wave", fs::perms::owner_all);

    ::setenv("XDG_DATA_HOME", "relative/is/ignored", 1);
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') {
        EXPECT_EQ(plat::UserDataDir(), std::string(home) + "/.local/share/kasample/");
    }
    if (oldXdg) {
        ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
    } else {
        ::unsetenv("XDG_DATA_HOME");
    }
}

TEST(Files, ModuleFileNameIsThisProgram) {
    std::string self = plat::ModuleFileName();
    ASSERT_FALSE(self.empty());
    EXPECT_EQ(self[0], '/');
    EXPECT_TRUE(fs::equivalent(self, "/proc/self/exe"));
}

}  // namespace
