// The kashapes example run headless for 30 frames: its last frame must equal
// the stored picture pixel for pixel (a palettised copy of the 24-bit
// screenshot, which holds every colour of the page exactly).
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "platform/Bmp.h"

namespace {

bool ReadBmp(const std::string& path, plat::DecodedBitmap* out) {
    std::ifstream in(path, std::ios::binary);
    const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return plat::DecodeBmp(reinterpret_cast<const uint8_t*>(data.data()), data.size(), out);
}

TEST(KashapesGolden, ThirtiethFrameMatchesTheStoredPicture) {
    const std::string dir = testing::TempDir() + "kashapes-" + std::to_string(getpid());
    const std::string shot = dir + "/shot.bmp";
    // A runtime folder of its own: the single-instance lock of another run
    // must not turn this one away.
    const std::string command = "mkdir -p '" + dir + "' && XDG_RUNTIME_DIR='" + dir + "' timeout 60 '" KA_BINARY_DIR
                                "/bin/kashapes' --headless --frames 30 --screenshot '" + shot + "'";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    plat::DecodedBitmap frame, golden;
    const bool read = ReadBmp(shot, &frame);
    std::system(("rm -rf '" + dir + "'").c_str());
    ASSERT_TRUE(read);
    ASSERT_TRUE(ReadBmp(KA_SOURCE_DIR "/tests/draw/data/kashapes.bmp", &golden));
    ASSERT_EQ(frame.width, golden.width);
    ASSERT_EQ(frame.height, golden.height);
    int wrong = 0;
    for (size_t i = 0; i < frame.pixels.size(); ++i) {
        if (frame.pixels[i] != golden.pixels[i] && ++wrong <= 5)
            ADD_FAILURE() << "pixel " << i % frame.width << "," << i / frame.width << ": " << std::hex
                          << frame.pixels[i] << " != " << golden.pixels[i];
    }
    EXPECT_EQ(wrong, 0);
}

}  // namespace
