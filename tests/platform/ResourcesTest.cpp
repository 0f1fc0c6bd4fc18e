// Resource registry: lookup by type and name without regard to case, and the
// tables the build embeds into this test program.
#include <gtest/gtest.h>

#include <string>

#include "platform/Files.h"
#include "platform/Resources.h"

namespace {

const uint8_t kOne[] = {1};
const uint8_t kTwo[] = {2, 2};
const uint8_t kThree[] = {3, 3, 3};

const plat::ResourceEntry kTable[] = {
    {"BITMAP", "TEST_OP", kOne, sizeof kOne},
    {"WAVE", "TEST_OP", kTwo, sizeof kTwo},
};
const plat::ResourceEntry kOverride[] = {
    {"WAVE", "TEST_OP", kThree, sizeof kThree},
};

TEST(Resources, LookupIgnoresCaseAndKeepsTypesApart) {
    plat::RegisterResources(kTable, 2);
    const plat::ResourceEntry* bitmap = plat::FindResource("test_op", "bitmap");
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->data, kOne);
    const plat::ResourceEntry* wave = plat::FindResource("Test_Op", "WAVE");
    ASSERT_NE(wave, nullptr);
    EXPECT_EQ(wave->size, 2u);
    EXPECT_EQ(plat::FindResource("TEST_OP", "RCDATA"), nullptr);
    EXPECT_EQ(plat::FindResource("TEST_O", "BITMAP"), nullptr);
    EXPECT_EQ(plat::FindResource("TEST_OPX", "BITMAP"), nullptr);
    EXPECT_EQ(plat::FindResource(nullptr, "BITMAP"), nullptr);
    EXPECT_EQ(plat::FindResource("TEST_OP", nullptr), nullptr);

    plat::RegisterResources(kOverride, 1);  // a later table wins
    EXPECT_EQ(plat::FindResource("test_op", "wave")->data, kThree);
    EXPECT_EQ(plat::FindResource("test_op", "bitmap")->data, kOne);
}

// The build embeds tests/platform/data/embedded.txt and a copy of it made
// while building under the name Made_At_Build.wav.
TEST(Resources, EmbeddedFilesCarryTheirExactBytes) {
    std::string expected;
    ASSERT_TRUE(plat::ReadFile(std::string(KA_SOURCE_DIR) + "/tests/platform/data/embedded.txt", &expected));
    const plat::ResourceEntry* text = plat::FindResource("embedded", "rcdata");
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text->name, "EMBEDDED");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(text->data), text->size), expected);
    const plat::ResourceEntry* made = plat::FindResource("MADE_AT_BUILD", "wave");
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(made->data), made->size), expected);
}

}  // namespace
