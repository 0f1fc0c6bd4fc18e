// The character decoder: strict UTF-8 validation, CP932 splitting into one-
// and two-byte characters and their conversion through iconv.
#include "platform/TextDecode.h"

#include <iconv.h>

#include <cstring>

namespace plat {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

iconv_t gConverter = reinterpret_cast<iconv_t>(-1);

bool OpenConverter() {
    if (gConverter != reinterpret_cast<iconv_t>(-1)) return true;
    gConverter = iconv_open("UTF-32LE", "CP932");
    return gConverter != reinterpret_cast<iconv_t>(-1);
}

// Length of the valid UTF-8 sequence at p (at most `left` bytes), 0 if none.
size_t Utf8Sequence(const unsigned char* p, size_t left, char32_t* code) {
    const unsigned char c = p[0];
    if (c < 0x80) {
        *code = c;
        return 1;
    }
    size_t n;
    char32_t v;
    char32_t min;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2, v = c & 0x1F, min = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3, v = c & 0x0F, min = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4, v = c & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (left < n) return 0;
    for (size_t i = 1; i < n; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        v = (v << 6) | (p[i] & 0x3F);
    }
    if (v < min || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) return 0;
    *code = v;
    return n;
}

char32_t ConvertCp932(const unsigned char* bytes, size_t length) {
    if (length == 1 && bytes[0] < 0x80) return bytes[0];
    if (!OpenConverter()) return kReplacement;
    char in[2] = {static_cast<char>(bytes[0]), length > 1 ? static_cast<char>(bytes[1]) : '\0'};
    unsigned char out[8] = {};
    char* inPtr = in;
    size_t inLeft = length;
    char* outPtr = reinterpret_cast<char*>(out);
    size_t outLeft = sizeof out;
    iconv(gConverter, nullptr, nullptr, nullptr, nullptr);
    const size_t r = iconv(gConverter, &inPtr, &inLeft, &outPtr, &outLeft);
    if (r == static_cast<size_t>(-1) || inLeft != 0 || sizeof out - outLeft < 4) return kReplacement;
    return static_cast<char32_t>(out[0] | (out[1] << 8) | (out[2] << 16) | (static_cast<uint32_t>(out[3]) << 24));
}

size_t Length(const char* text, size_t size) {
    const void* nul = std::memchr(text, 0, size);
    return nul != nullptr ? static_cast<size_t>(static_cast<const char*>(nul) - text) : size;
}

}  // namespace

TextEncoding DetectEncoding(const char* text, size_t size) {
    if (text == nullptr) return TextEncoding::Utf8;
    size = Length(text, size);
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    for (size_t i = 0; i < size;) {
        char32_t code;
        const size_t n = Utf8Sequence(p + i, size - i, &code);
        if (n == 0) return TextEncoding::Cp932;
        i += n;
    }
    return TextEncoding::Utf8;
}

std::vector<TextUnit> DecodeText(const char* text, size_t size) {
    std::vector<TextUnit> units;
    if (text == nullptr) return units;
    size = Length(text, size);
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    units.reserve(size);
    if (DetectEncoding(text, size) == TextEncoding::Utf8) {
        for (size_t i = 0; i < size;) {
            TextUnit u;
            u.offset = i;
            u.length = Utf8Sequence(p + i, size - i, &u.code);
            units.push_back(u);
            i += u.length;
        }
        return units;
    }
    for (size_t i = 0; i < size;) {
        TextUnit u;
        u.offset = i;
        if (IsCp932Lead(p[i])) {
            // A lead byte needs its follower; at the end of the string the
            // character is broken and left out.
            if (i + 1 >= size) break;
            u.length = 2;
        } else {
            u.length = 1;
        }
        u.code = ConvertCp932(p + i, u.length);
        units.push_back(u);
        i += u.length;
    }
    return units;
}

std::vector<TextUnit> DecodeText(const char* text) {
    return DecodeText(text, text != nullptr ? std::strlen(text) : 0);
}

std::u32string DecodeCodes(const char* text) {
    std::u32string codes;
    for (const TextUnit& u : DecodeText(text)) codes.push_back(u.code);
    return codes;
}

std::string ToUtf8(const char* text) {
    std::string out;
    if (text == nullptr) return out;
    if (DetectEncoding(text, std::strlen(text)) == TextEncoding::Utf8) return text;
    for (char32_t c : DecodeCodes(text)) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

size_t CopyTextBounded(char* buffer, size_t size, const char* text) {
    if (buffer == nullptr || size == 0) return 0;
    size_t n = 0;
    if (text != nullptr) {
        for (const TextUnit& u : DecodeText(text)) {
            if (u.offset + u.length > size - 1) break;
            n = u.offset + u.length;
        }
        std::memcpy(buffer, text, n);
    }
    buffer[n] = '\0';
    return n;
}

void ReleaseTextDecoder() {
    if (gConverter != reinterpret_cast<iconv_t>(-1)) iconv_close(gConverter);
    gConverter = reinterpret_cast<iconv_t>(-1);
}

}  // namespace plat
