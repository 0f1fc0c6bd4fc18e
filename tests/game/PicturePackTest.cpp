// The game run headless from a pack of its own pictures: the title must look
// as it does from the embedded bitmaps, but for the lowest green bit, which
// the pack's 15-bit colours do not keep; and a loose picture file beside the
// program still wins over the pack.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "platform/Bmp.h"
#include "platform/Display.h"
#include "platform/Surface16.h"

namespace {

bool ReadBmp(const std::string& path, plat::DecodedBitmap* out) {
    std::ifstream in(path, std::ios::binary);
    const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return plat::DecodeBmp(reinterpret_cast<const uint8_t*>(data.data()), data.size(), out);
}

uint32_t As565(uint32_t rgb) {
    return ((rgb >> 19) & 0x1F) << 11 | ((rgb >> 10) & 0x3F) << 5 | ((rgb >> 3) & 0x1F);
}

int Shell(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class PicturePackTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kasample-pack-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        // A copy of the game of its own, so that the pack lies beside it.
        ASSERT_EQ(Shell("cp '" KA_BINARY_DIR "/bin/kasample' '" + dir_ + "/kasample'"), 0);
    }
    void TearDown() override { Shell("rm -rf '" + dir_ + "'"); }

    // The title two seconds in, as the program's own screenshot.
    plat::DecodedBitmap Title(const std::string& tag) {
        const std::string shot = dir_ + "/" + tag + ".bmp";
        EXPECT_EQ(Shell("XDG_RUNTIME_DIR='" + dir_ + "' timeout 60 '" + dir_ +
                      "/kasample' --headless --frames 120 --screenshot '" + shot + "' 2>/dev/null"),
                  0);
        plat::DecodedBitmap frame;
        EXPECT_TRUE(ReadBmp(shot, &frame)) << tag;
        return frame;
    }
    std::string dir_;
};

TEST_F(PicturePackTest, TheTitleFromThePackDiffersFromTheEmbeddedOneOnlyInGreensLowestBit) {
    ASSERT_EQ(Shell("'" KA_BINARY_DIR "/assets/kapack' '" + dir_ + "/KASAMPLE.PAK' '" KA_BINARY_DIR "/assets/pictures'"),
              0);
    const plat::DecodedBitmap packed = Title("packed");

    // A loose picture beside the program comes before the pack.
    plat::Surface16 white(640, 480);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) white.row(y)[x] = 0xFFFF;
    ASSERT_TRUE(plat::WriteBmp24(white, plat::PixelFormat::Rgb565(), (dir_ + "/op").c_str()));
    const plat::DecodedBitmap loose = Title("loose");
    ASSERT_EQ(Shell("rm '" + dir_ + "/op' '" + dir_ + "/KASAMPLE.PAK'"), 0);
    const plat::DecodedBitmap embedded = Title("embedded");

    ASSERT_EQ(packed.pixels.size(), 640u * 480u);
    ASSERT_EQ(embedded.pixels.size(), packed.pixels.size());
    int differ = 0, wrong = 0;
    for (size_t i = 0; i < packed.pixels.size(); ++i) {
        const uint32_t a = As565(packed.pixels[i]), b = As565(embedded.pixels[i]);
        differ += a != b;
        if ((a & ~0x0020u) != (b & ~0x0020u) && ++wrong <= 3)
            ADD_FAILURE() << i % 640 << "," << i / 640 << ": " << a << " != " << b;
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(differ, 1000) << "the pack was not used";

    ASSERT_EQ(loose.pixels.size(), packed.pixels.size());
    for (size_t i : {size_t{0}, size_t{640 * 240 + 320}, loose.pixels.size() - 1})
        EXPECT_EQ(loose.pixels[i], 0xFFFFFFu) << i;
}

}  // namespace
