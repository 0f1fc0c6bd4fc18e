// The framework's one character decoder. Strings are UTF-8; a string that is
// not valid UTF-8 is read as Shift-JIS (code page 932, through iconv). Text
// layout steps through a string one character at a time in either encoding.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace plat {

enum class TextEncoding { Utf8, Cp932 };

// One character of a string: where its bytes are and what it is.
struct TextUnit {
    size_t offset = 0;   // first byte in the string
    size_t length = 0;   // 1..4 bytes
    char32_t code = 0;   // Unicode code point; U+FFFD for bytes that name no character
};

// Which encoding the string is read in (the whole string, until its NUL).
TextEncoding DetectEncoding(const char* text, size_t size);

// The characters of a NUL-terminated string. A CP932 lead byte right before
// the terminator is a broken character and is dropped.
std::vector<TextUnit> DecodeText(const char* text);
// The same for `size` bytes (a NUL inside ends the string).
std::vector<TextUnit> DecodeText(const char* text, size_t size);
// Only the code points.
std::u32string DecodeCodes(const char* text);

// True for the CP932 bytes that start a two-byte character.
inline bool IsCp932Lead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// A UTF-8 copy of a string in either encoding (message boxes, window titles).
std::string ToUtf8(const char* text);

// Copies `text` into `buffer` of `size` bytes, always terminated, cut at a
// character boundary of the string's own encoding. Returns the bytes copied.
size_t CopyTextBounded(char* buffer, size_t size, const char* text);

// Closes the converter (at exit; it is reopened when needed again).
void ReleaseTextDecoder();

}  // namespace plat
