// Building bitmap packs: every BMP of a folder, or one BMP, appended as an
// entry of 15-bit pixels. Pure black stays 0 (the colour key); any other
// colour that would come out as 0 is stored as the darkest blue, 0x0001.
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "draw/DrawInternal.h"
#include "draw/PackLookup.h"
#include "platform/AudioFiles.h"
#include "platform/Files.h"
#include "shell/kaSystem.h"

namespace {

std::string ProgramPath(const char* name) {
    const char* folder = kaSystem::Directory(0);
    return std::string(folder != nullptr ? folder : "") + (name != nullptr ? name : "");
}

void Put16(std::vector<uint8_t>& out, unsigned v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

// 0x00RRGGBB as a pack pixel.
uint16_t PackPixel(uint32_t rgb) {
    const unsigned r8 = (rgb >> 16) & 0xFF, g8 = (rgb >> 8) & 0xFF, b8 = rgb & 0xFF;
    if (r8 == 0 && g8 == 0 && b8 == 0) return 0;
    unsigned r = r8 >> 3, g = g8 >> 3, b = b8 >> 3;
    if (r == 0 && g == 0 && b == 0) b = 1;
    return static_cast<uint16_t>((r << 10) | (g << 5) | b);
}

// The whole entry, written to the pack in one piece.
std::vector<uint8_t> MakeEntry(const plat::DecodedBitmap& bitmap, const std::string& name) {
    std::vector<uint8_t> entry;
    entry.reserve(4 + name.size() + 1 + bitmap.pixels.size() * 2);
    Put16(entry, static_cast<unsigned>(bitmap.width));
    Put16(entry, static_cast<unsigned>(bitmap.height));
    entry.insert(entry.end(), name.begin(), name.end());
    entry.push_back(0);
    for (uint32_t rgb : bitmap.pixels) Put16(entry, PackPixel(rgb));
    return entry;
}

// Appends the bytes; on any failure (a full disk) the file is cut back to
// its old length, so that no half entry hides what is written after it.
void AppendWhole(const std::string& path, const std::vector<uint8_t>& bytes) {
    const std::string resolved = plat::ResolvePath(path);
    FILE* pack = std::fopen(resolved.c_str(), "ab");
    if (pack == nullptr) return;
    long before = -1;
    if (std::fseek(pack, 0, SEEK_END) == 0) before = std::ftell(pack);
    const bool ok = before >= 0 && std::fwrite(bytes.data(), 1, bytes.size(), pack) == bytes.size() &&
                    std::fflush(pack) == 0;
    const bool closed = std::fclose(pack) == 0;
    if ((!ok || !closed) && before >= 0) (void)!::truncate(resolved.c_str(), before);
}

}  // namespace

int kaDraw::Convert(const char* PackName, const char* BmpDir, int Delete) {
    // The source colours are decoded from the files themselves, so the
    // desktop's colour depth does not matter here.
    if (Delete) std::remove(plat::ResolvePath(ProgramPath(PackName)).c_str());
    const std::string dir = BmpDir != nullptr ? BmpDir : "";
    // Sorted by name, so that the same folder always gives the same pack.
    for (const std::string& found : plat::FindFiles(ProgramPath(dir.c_str()), ".BMP")) {
        const std::string name = dir.empty() ? found : dir + "\\" + found;
        ConvertFile(PackName, kadraw::PackName(name.c_str()).c_str());
    }
    return 1;
}

void kaDraw::ConvertFile(const char* PackName, const char* BmpName) {
    static const char* const kFunction = "kaDraw::LoadObject";
    if (BmpName == nullptr) return;
    // The source is found as LoadObject finds it, and refused as it would be.
    if (std::strlen(BmpName) > kadraw::kNameLimit) {
        Error(kFunction, "ファイル名またはリソース名が長すぎます", 0);
        return;
    }
    plat::DecodedBitmap bitmap;
    if (!kadraw::DecodeBitmapFile(ProgramPath(BmpName), &bitmap) && !kadraw::DecodeBitmapResource(BmpName, &bitmap)) {
        Error(kFunction, "BMPファイルを読み込めません", static_cast<long>(plat::kErrGeneric));
        return;
    }
    if (bitmap.width > 0xFFFF || bitmap.height > 0xFFFF) return;  // cannot be told in 16 bits
    const std::string path(BmpName);
    const size_t cut = path.find_last_of("\\/");
    const std::string name = kadraw::PackName(cut == std::string::npos ? BmpName : BmpName + cut + 1);
    AppendWhole(ProgramPath(PackName), MakeEntry(bitmap, name));
}
