// Fuzz entry point for the character decoder: the units of any byte string
// follow each other without gaps or overlaps inside the string, bounded
// copies stay in their buffer and end at a unit boundary, and the UTF-8 copy
// is valid UTF-8.
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/TextDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const size_t length = std::strlen(text.c_str());
    const std::vector<plat::TextUnit> units = plat::DecodeText(text.c_str());
    size_t end = 0;
    for (const plat::TextUnit& u : units) {
        if (u.offset != end || u.length < 1 || u.length > 4 || u.code > 0x10FFFF) std::abort();
        end = u.offset + u.length;
    }
    if (end > length || (length - end > 1)) std::abort();  // at most a broken lead byte is left out
    if (plat::DecodeText(text.c_str(), length / 2).size() > units.size()) std::abort();

    char buffer[33];
    for (size_t room : {size_t{1}, size_t{2}, size_t{7}, sizeof buffer}) {
        std::memset(buffer, 'x', sizeof buffer);
        const size_t n = plat::CopyTextBounded(buffer, room, text.c_str());
        if (n >= room || buffer[n] != '\0' || std::memcmp(buffer, text.data(), n) != 0) std::abort();
        bool boundary = n == 0;
        for (const plat::TextUnit& u : units) boundary = boundary || u.offset + u.length == n;
        if (!boundary) std::abort();
    }
    const std::string utf8 = plat::ToUtf8(text.c_str());
    if (plat::DetectEncoding(utf8.c_str(), utf8.size()) != plat::TextEncoding::Utf8) std::abort();
    return 0;
}
