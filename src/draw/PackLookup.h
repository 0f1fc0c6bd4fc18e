// Finding an image in a bitmap pack: entries end to end (width and height as
// 16-bit little-endian numbers, the upper-case name with its 0 byte, then
// width x height 16-bit pixels of 15-bit colour), no header, no directory.
// The scan trusts no size field: an entry that cannot be whole ends it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace kadraw {

struct PackEntry {
    uint16_t width = 0;
    uint16_t height = 0;
    long pixelOffset = 0;  // where the entry's pixels start in the file
};

enum class PackFind {
    kFound,     // *entry names a whole image of that name
    kMissing,   // no entry of that name before the end, or before an entry
                // that cannot be whole (nothing after it can be trusted)
    kEmpty,     // the first entry of that name has no pixels (width or height 0)
};

// Longest image name in a pack, without its 0 byte: a sprite name.
constexpr size_t kPackNameLimit = 30;

// The name as packs hold it: ASCII letters upper-cased, other bytes as they are.
std::string PackName(const char* name);

// Scans `pack` from its start for the image `upperName` (already upper case).
PackFind FindPackImage(FILE* pack, const std::string& upperName, PackEntry* entry);

// Opens the pack at `path` for reading; nullptr for an empty path, a missing
// file or anything that is not a plain file.
FILE* OpenPack(const std::string& path);

// True when the current pack (kaDraw::PackFileName) holds a loadable image
// of this name (any case). Reports nothing: for callers choosing a source.
bool PackHolds(const char* FileName);

}  // namespace kadraw
