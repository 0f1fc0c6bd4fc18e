// The character decoder: which encoding a string is read in, the units it
// splits into, the broken trailing lead byte, and cuts at character
// boundaries.
#include <gtest/gtest.h>

#include <string>

#include "platform/TextDecode.h"

namespace {

using plat::DecodeCodes;
using plat::DecodeText;

TEST(TextDecodeTest, ValidUtf8IsReadAsUtf8AndAnythingElseAsCp932) {
    struct Case {
        const char* text;
        plat::TextEncoding encoding;
    };
    const Case cases[] = {
        {"", plat::TextEncoding::Utf8},
        {"ABC", plat::TextEncoding::Utf8},
        {"あ、漢字", plat::TextEncoding::Utf8},
        {"\xF0\x9F\x98\x80", plat::TextEncoding::Utf8},
        {"\x82\xa0", plat::TextEncoding::Cp932},          // あ
        {"\xC0\xAF", plat::TextEncoding::Cp932},          // overlong '/'
        {"\xED\xA0\x80", plat::TextEncoding::Cp932},      // a surrogate
        {"\xE3\x81", plat::TextEncoding::Cp932},          // cut sequence
        {"\xF4\x90\x80\x80", plat::TextEncoding::Cp932},  // above U+10FFFF
    };
    for (const Case& c : cases) EXPECT_EQ(plat::DetectEncoding(c.text, 64), c.encoding) << c.text;
}

TEST(TextDecodeTest, Cp932SplitsIntoOneAndTwoByteCharacters) {
    // あ 、 \ ｱ A 漢
    const std::vector<plat::TextUnit> units = DecodeText("\x82\xa0\x81\x41\x5c\xb1" "A\x8a\xbf");
    ASSERT_EQ(units.size(), 6u);
    const char32_t codes[] = {U'あ', U'、', U'\\', U'ｱ', U'A', U'漢'};
    const size_t offsets[] = {0, 2, 4, 5, 6, 7};
    for (size_t i = 0; i < units.size(); ++i) {
        EXPECT_EQ(units[i].code, codes[i]) << i;
        EXPECT_EQ(units[i].offset, offsets[i]) << i;
    }
    EXPECT_EQ(DecodeCodes("ab\xe3\x81\x82"), U"abあ");
}

TEST(TextDecodeTest, ALeadByteBeforeTheTerminatorIsDroppedNotPairedWithIt) {
    EXPECT_EQ(DecodeCodes("\x82\xa0\x82"), U"あ");
    EXPECT_EQ(DecodeCodes("A\x82"), U"A");
    // Bounded decoding stops at the size and at a NUL inside it alike.
    EXPECT_EQ(DecodeText("\x82\xa0\x82\xa2", 3).size(), 1u);
    EXPECT_EQ(DecodeText("A\0\x82\xa0", 4).size(), 1u);
    EXPECT_TRUE(DecodeText(nullptr).empty());
}

TEST(TextDecodeTest, BytesThatNameNoCharacterBecomeTheReplacementCharacter) {
    const std::u32string codes = DecodeCodes("\x80\xa0\xfd" "A");
    ASSERT_EQ(codes.size(), 4u);
    EXPECT_EQ(codes[0], U'\uFFFD');
    EXPECT_EQ(codes[3], U'A');
}

TEST(TextDecodeTest, BoundedCopiesCutAtACharacterBoundary) {
    char buffer[8];
    // UTF-8: 3 bytes per kana; 7 bytes of room hold two.
    EXPECT_EQ(plat::CopyTextBounded(buffer, sizeof buffer, "あいうえ"), 6u);
    EXPECT_EQ(std::string(buffer), "あい");
    // CP932: 2 bytes per kana; 7 bytes of room hold three.
    EXPECT_EQ(plat::CopyTextBounded(buffer, sizeof buffer, "\x82\xa0\x82\xa2\x82\xa4\x82\xa6"), 6u);
    EXPECT_EQ(std::string(buffer), "\x82\xa0\x82\xa2\x82\xa4");
    EXPECT_EQ(plat::CopyTextBounded(buffer, sizeof buffer, nullptr), 0u);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(plat::CopyTextBounded(buffer, 1, "abc"), 0u);
    EXPECT_EQ(buffer[0], '\0');
}

TEST(TextDecodeTest, Cp932ConvertsToUtf8AndUtf8StaysAsItIs) {
    EXPECT_EQ(plat::ToUtf8("\x83\x65\x83\x58\x83\x67"), "テスト");
    EXPECT_EQ(plat::ToUtf8("テスト"), "テスト");
    EXPECT_EQ(plat::ToUtf8(nullptr), "");
}

}  // namespace
