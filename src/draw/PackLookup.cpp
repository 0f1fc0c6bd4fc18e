// The bitmap pack scanner, on its own so that the fuzzer can run it alone.
// Every size is checked against the real length of the file before anything
// is skipped or read, and the pixel count is taken in 64 bits.
#include "draw/PackLookup.h"

namespace kadraw {

std::string PackName(const char* name) {
    std::string s = name != nullptr ? name : "";
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

PackFind FindPackImage(FILE* pack, const std::string& upperName, PackEntry* entry) {
    if (pack == nullptr || std::fseek(pack, 0, SEEK_END) != 0) return PackFind::kMissing;
    const long length = std::ftell(pack);
    if (length < 0 || std::fseek(pack, 0, SEEK_SET) != 0) return PackFind::kMissing;
    const uint64_t end = static_cast<uint64_t>(length);
    uint64_t pos = 0;
    char name[kPackNameLimit + 1];
    for (;;) {
        uint8_t size[4];
        if (std::fread(size, 1, 4, pack) != 4) return PackFind::kMissing;
        const uint16_t width = static_cast<uint16_t>(size[0] | (size[1] << 8));
        const uint16_t height = static_cast<uint16_t>(size[2] | (size[3] << 8));
        pos += 4;
        // The name: at most the limit, then its 0 byte.
        size_t n = 0;
        for (;;) {
            const int c = std::fgetc(pack);
            if (c == EOF) return PackFind::kMissing;
            ++pos;
            if (c == 0) break;
            if (n == kPackNameLimit) return PackFind::kMissing;
            name[n++] = static_cast<char>(c);
        }
        const uint64_t pixelBytes = uint64_t{width} * height * 2;
        if (pixelBytes > end - pos) return PackFind::kMissing;
        if (upperName.size() == n && upperName.compare(0, n, name, n) == 0) {
            if (width == 0 || height == 0) return PackFind::kEmpty;
            entry->width = width;
            entry->height = height;
            entry->pixelOffset = static_cast<long>(pos);
            return PackFind::kFound;
        }
        pos += pixelBytes;
        if (std::fseek(pack, static_cast<long>(pos), SEEK_SET) != 0) return PackFind::kMissing;
    }
}

}  // namespace kadraw
