// The text example end to end: a headless run of 600 frames, when both
// halves have been revealed, leaves exactly the stored picture (the faces
// are pinned, so the glyphs do not depend on what else is installed).
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(KatextTest, TheRevealedPageMatchesItsGoldenScreenshot) {
    const std::string bin = KA_BINARY_DIR "/bin/katext";
    struct stat st {};
    if (stat(bin.c_str(), &st) != 0) GTEST_SKIP() << "katext is not built";
    const std::string dir = testing::TempDir() + "katext-test-" + std::to_string(getpid());
    const std::string shot = dir + "/shot.bmp";
    const std::string golden = dir + "/golden.bmp";
    const std::string command = "mkdir -p '" + dir + "' && XDG_RUNTIME_DIR='" + dir + "' timeout 60 '" + bin +
                                "' --headless --frames 600 --screenshot '" + shot + "' && gzip -dc '" KA_SOURCE_DIR
                                "/tests/text/data/katext.bmp.gz' > '" + golden + "'";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    const std::string got = ReadAll(shot), expected = ReadAll(golden);
    ASSERT_EQ(expected.size(), 54u + 640 * 480 * 3);
    ASSERT_EQ(got.size(), expected.size());
    size_t wrong = 0;
    for (size_t i = 0; i < got.size(); ++i) wrong += got[i] != expected[i];
    EXPECT_EQ(wrong, 0u) << "the run's picture is kept in " << shot;
    if (wrong == 0) std::system(("rm -rf '" + dir + "'").c_str());
}

}  // namespace
