// Little-endian fields of the file formats the generator writes and reads
// back (BMP, WAV): appended to or taken from a byte vector.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace assetgen {

inline void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

inline void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

inline uint32_t Get16(const std::vector<uint8_t>& b, size_t at) { return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8; }

inline uint32_t Get32(const std::vector<uint8_t>& b, size_t at) { return Get16(b, at) | Get16(b, at + 2) << 16; }

}  // namespace assetgen
