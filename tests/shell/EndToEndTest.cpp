// The game program run headless from start to its own close: it must end
// with 0 in good time and leave a screenshot of what it showed. While the
// placeholder stands in for the game, the picture is checked pixel by pixel
// against the placeholder bitmap drawn keyed onto a black screen.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/Bmp.h"

namespace {

bool ReadBmp(const std::string& path, plat::DecodedBitmap* out) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const std::string data = bytes.str();
    return !data.empty() && plat::DecodeBmp(reinterpret_cast<const uint8_t*>(data.data()), data.size(), out);
}

// The colour as a 5-6-5 display keeps it.
uint32_t As565(uint32_t rgb) {
    return (((rgb >> 16) & 0xFF) >> 3) << 11 | (((rgb >> 8) & 0xFF) >> 2) << 5 | ((rgb & 0xFF) >> 3);
}

bool PlaceholderInUse() {
    return std::ifstream(std::string(KA_SOURCE_DIR) + "/src/game/Placeholder.cpp").good();
}

TEST(EndToEndTest, HeadlessRunEndsByItselfAndLeavesItsLastFrame) {
    const std::string dir = testing::TempDir() + "kasample-e2e-" + std::to_string(getpid());
    ASSERT_EQ(system(("mkdir -p '" + dir + "'").c_str()), 0);
    const std::string shot = dir + "/x.bmp";
    // A private lock folder, so that a copy of the game running elsewhere on
    // this machine does not turn this run away.
    const std::string command = "XDG_RUNTIME_DIR='" + dir + "' timeout 60 '" KA_BINARY_DIR "/bin/kasample' " +
                                "--headless --frames 120 --screenshot '" + shot + "'";

    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_LT(seconds, 20.0);

    plat::DecodedBitmap frame;
    ASSERT_TRUE(ReadBmp(shot, &frame));
    ASSERT_EQ(frame.width, 640);
    ASSERT_EQ(frame.height, 480);

    if (PlaceholderInUse()) {
        plat::DecodedBitmap picture;
        ASSERT_TRUE(ReadBmp(KA_SOURCE_DIR "/resources/placeholder.bmp", &picture));
        const int left = (640 - picture.width) / 2;
        const int top = (480 - picture.height) / 2;
        const uint32_t key = As565(0x0000FF);
        int wrong = 0;
        for (int y = 0; y < 480; ++y) {
            for (int x = 0; x < 640; ++x) {
                uint32_t expected = 0;
                if (x >= left && x < left + picture.width && y >= top && y < top + picture.height) {
                    const uint32_t source = As565(picture.pixels[(y - top) * picture.width + (x - left)]);
                    if (source != key) expected = source;
                }
                const uint32_t actual = As565(frame.pixels[y * 640 + x]);
                if (actual != expected && ++wrong <= 5) {
                    ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << actual << " != " << expected;
                }
            }
        }
        EXPECT_EQ(wrong, 0);
    }
    std::system(("rm -rf '" + dir + "'").c_str());
}

}  // namespace
