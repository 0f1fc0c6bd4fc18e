// The game program run headless until it closes itself: it must end with 0
// in good time and leave a screenshot. Two seconds in, the game is on its
// title, so the picture must be the title bitmap drawn keyed (pure blue
// transparent) over the black screen.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "platform/Bmp.h"

namespace {

bool ReadBmp(const std::string& path, plat::DecodedBitmap* out) {
    std::ifstream in(path, std::ios::binary);
    const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return plat::DecodeBmp(reinterpret_cast<const uint8_t*>(data.data()), data.size(), out);
}

// The colour as the 5-6-5 display holds it.
uint32_t As565(uint32_t rgb) {
    return ((rgb >> 19) & 0x1F) << 11 | ((rgb >> 10) & 0x3F) << 5 | ((rgb >> 3) & 0x1F);
}

TEST(EndToEndTest, HeadlessRunClosesItselfAndLeavesItsLastFrame) {
    const std::string dir = testing::TempDir() + "kasample-e2e-" + std::to_string(getpid());
    const std::string shot = dir + "/x.bmp";
    // A lock folder of its own, so that a copy of the game running elsewhere
    // does not turn this run away.
    const std::string command = "mkdir -p '" + dir + "' && XDG_RUNTIME_DIR='" + dir + "' timeout 60 '" KA_BINARY_DIR
                                "/bin/kasample' --headless --frames 120 --screenshot '" + shot + "'";
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 20.0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);

    // A screenshot that cannot be written is not a success.
    const int failed = std::system(("XDG_RUNTIME_DIR='" + dir + "' '" KA_BINARY_DIR "/bin/kasample' --headless --frames 1 "
                                    "--screenshot '" + dir + "/no/such/folder/x.bmp' 2>/dev/null").c_str());
    EXPECT_EQ(WEXITSTATUS(failed), 1);

    plat::DecodedBitmap frame, picture;
    ASSERT_TRUE(ReadBmp(shot, &frame));
    std::system(("rm -rf '" + dir + "'").c_str());
    ASSERT_EQ(frame.width, 640);
    ASSERT_EQ(frame.height, 480);
    ASSERT_TRUE(ReadBmp(KA_BINARY_DIR "/assets/pictures/op.bmp", &picture));
    ASSERT_EQ(picture.width, 640);
    ASSERT_EQ(picture.height, 480);
    const int left = 0, top = 0;
    // With the picture pack built beside the program (kasample_pack), the
    // title comes from its 15-bit colours: green's lowest bit is 0 there.
    const bool packed = std::ifstream(KA_BINARY_DIR "/bin/KASAMPLE.PAK").good();
    const uint32_t keep = packed ? ~0x0020u : ~0u;
    int wrong = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            uint32_t expected = 0;
            if (x >= left && x < left + picture.width && y >= top && y < top + picture.height) {
                expected = As565(picture.pixels[(y - top) * picture.width + (x - left)]);
                if (expected == As565(0x0000FF)) expected = 0;  // transparent
            }
            const uint32_t actual = As565(frame.pixels[y * 640 + x]);
            expected &= keep;
            if (actual != expected && ++wrong <= 3) ADD_FAILURE() << x << "," << y << ": " << actual << " != " << expected;
        }
    }
    EXPECT_EQ(wrong, 0);
}

}  // namespace
