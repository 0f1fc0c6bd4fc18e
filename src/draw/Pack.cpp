// Sprites from a bitmap pack: naming the pack, loading an image into a new
// slot or into a given one (the reload of a lost pack sprite goes this way).
// The 15-bit pixels are spread over the display's format in a scratch sprite
// and copied onto the target in one device copy. A failure at any step gives
// back every slot and surface taken for the load and closes the pack.
#include <sys/stat.h>

#include <cstring>
#include <string>
#include <vector>

#include "draw/DrawInternal.h"
#include "draw/PackLookup.h"
#include "platform/Blit.h"
#include "platform/Files.h"
#include "shell/kaSystem.h"

char kaDraw::PackFileName[256];

namespace kadraw {

FILE* OpenPack(const std::string& path) {
    if (path.empty()) return nullptr;
    const std::string resolved = plat::ResolvePath(path);
    struct stat st;
    if (::stat(resolved.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
    return std::fopen(resolved.c_str(), "rb");
}

bool PackHolds(const char* FileName) {
    if (FileName == nullptr || std::strlen(FileName) > kPackNameLimit) return false;
    FILE* pack = OpenPack(kaDraw::PackFileName);
    if (pack == nullptr) return false;
    PackEntry entry;
    const bool found = FindPackImage(pack, PackName(FileName), &entry) == PackFind::kFound;
    std::fclose(pack);
    return found;
}

}  // namespace kadraw

namespace {

constexpr const char* kNoPack = "パックファイル名が指定されていません";
constexpr const char* kCannotRead = "BMPファイルを読み込めません";
constexpr int kCopyAttempts = 10;

// Empties a slot taken during a load, surface or not (FreeObject leaves a
// slot without a surface taken).
void GiveBack(int slot) {
    if (slot < kadraw::kFirstFreeSlot || slot >= kadraw::kSpriteCount) return;
    kadraw::EmptySlot(Sprite[slot]);
}

// CreateObject, but a creation that fails gives its slot back (CreateObject
// itself leaves it taken, without a surface).
int CreateWorkSprite(int Sx, int Sy, int Memory) {
    const int slot = kadraw::FindFreeSlot();
    const int made = kaDraw::CreateObject(Sx, Sy, Memory);
    if (made == 0) GiveBack(slot);
    return made;
}

// Opens the pack and finds the image; reports under `function` and returns
// nullptr when there is no such image.
FILE* FindImage(const char* function, const std::string& upperName, kadraw::PackEntry* entry) {
    FILE* pack = kadraw::OpenPack(kaDraw::PackFileName);
    if (pack == nullptr) {
        kaDraw::Error(function, kNoPack, 0);
        return nullptr;
    }
    // A name longer than a sprite name can never have been packed.
    if (upperName.size() > kadraw::kPackNameLimit ||
        kadraw::FindPackImage(pack, upperName, entry) != kadraw::PackFind::kFound) {
        std::fclose(pack);
        kaDraw::Error(function, kCannotRead, 0);
        return nullptr;
    }
    return pack;
}

// Reads the entry's pixels into the scratch sprite in the display's format.
// False when the lock fails or the file ends early (it changed under us).
bool ReadPixels(FILE* pack, const kadraw::PackEntry& entry, plat::Surface16* scratch) {
    if (scratch->width() != entry.width || scratch->height() != entry.height) return false;
    void* bits;
    long pitch;
    if (scratch->lock(&bits, &pitch) != plat::kOk) return false;
    bool ok = std::fseek(pack, entry.pixelOffset, SEEK_SET) == 0;
    std::vector<uint8_t> row(static_cast<size_t>(entry.width) * 2);
    const unsigned shiftR = kaDraw::ShiftR2, shiftG = kaDraw::ShiftG2, shiftB = kaDraw::ShiftB2;
    for (int y = 0; ok && y < entry.height; ++y) {
        ok = std::fread(row.data(), 1, row.size(), pack) == row.size();
        uint16_t* dst = reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(bits) + static_cast<ptrdiff_t>(y) * pitch);
        for (int x = 0; ok && x < entry.width; ++x) {
            const unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
            dst[x] = static_cast<uint16_t>((((v >> 10) & 31) << shiftR) | (((v >> 5) & 31) << shiftG) |
                                           ((v & 31) << shiftB));
        }
    }
    scratch->unlock();
    return ok;
}

// The steps after the lookup, shared by LoadPack and SwapPack: the target
// slot already holds a surface of the entry's size. Returns false after
// giving back the scratch sprite (the caller gives back the target).
bool FillFromPack(const char* function, FILE* pack, const kadraw::PackEntry& entry, int target) {
    const int scratch = CreateWorkSprite(entry.width, entry.height, 2);
    if (scratch == 0) return false;
    if (!ReadPixels(pack, entry, Sprite[scratch].Object)) {
        GiveBack(scratch);
        return false;
    }
    plat::Result result = plat::kErrGeneric;
    for (int attempt = 0; attempt < kCopyAttempts; ++attempt) {
        plat::Surface16* dst = Sprite[target].Object;
        plat::Surface16* src = Sprite[scratch].Object;
        result = plat::Blt(*dst, dst->bounds(), *src, src->bounds(), false);
        if (result == plat::kOk) break;
        // Both slots are marked "*" meanwhile, so the reload restores their
        // surfaces without refilling them.
        if (result == plat::kErrSurfaceLost) kaDraw::ReloadObject();
    }
    GiveBack(scratch);
    if (result != plat::kOk) {
        kaDraw::Error(function, "サーフェース間で展開できません", static_cast<long>(result));
        return false;
    }
    return true;
}

void FinishRecord(kaDraw::_sprite& s, const std::string& upperName, const kadraw::PackEntry& entry) {
    kadraw::ApplyLoadKey(s);
    std::memcpy(s.FileName, upperName.c_str(), upperName.size() + 1);
    s.PackData = 1;
    s.Memory = 2;
    s.SizeX = entry.width;
    s.SizeY = entry.height;
}

}  // namespace

void kaDraw::SetPack(const char* PackName) {
    const char* folder = kaSystem::Directory(0);
    const std::string path = std::string(folder != nullptr ? folder : "") + (PackName != nullptr ? PackName : "");
    // A path that does not fit names no pack at all, rather than a shorter
    // path that may be some other file.
    if (path.size() >= sizeof PackFileName)
        PackFileName[0] = '\0';
    else
        std::memcpy(PackFileName, path.c_str(), path.size() + 1);
}

int kaDraw::LoadPack(const char* FileName, int Memory) {
    static const char* const kFunction = "kaDraw::LoadPack";
    const std::string upperName = kadraw::PackName(FileName);
    kadraw::PackEntry entry;
    FILE* pack = FindImage(kFunction, upperName, &entry);
    if (pack == nullptr) return 0;
    const int target = CreateWorkSprite(entry.width, entry.height, Memory);
    if (target == 0 || !FillFromPack(kFunction, pack, entry, target)) {
        GiveBack(target);
        std::fclose(pack);
        return 0;
    }
    std::fclose(pack);
    FinishRecord(Sprite[target], upperName, entry);
    return target;
}

int kaDraw::SwapPack(const char* FileName, int ObjDD, int Memory) {
    static const char* const kFunction = "kaDraw::SwapPack";
    (void)Memory;  // no placement on this display
    if (ObjDD < 0 || ObjDD >= kadraw::kSpriteCount) return 0;
    // Copied first: a reload passes the slot's own name.
    const std::string upperName = kadraw::PackName(FileName);
    kadraw::PackEntry entry;
    FILE* pack = FindImage(kFunction, upperName, &entry);
    if (pack == nullptr) return 0;

    _sprite& s = Sprite[ObjDD];
    if (s.Object != nullptr) plat::ReleaseSurface(s.Object);
    // Taken before the scratch sprite is made, or the scratch could land in
    // this very slot when it is the lowest free one.
    std::strcpy(s.FileName, "*");
    s.PackData = 0;
    s.Object = plat::CreateSurface(entry.width, entry.height);
    bool ok = s.Object != nullptr;
    if (!ok) Error(kFunction, "スプライトを作成できません", 0);
    ok = ok && FillFromPack(kFunction, pack, entry, ObjDD);
    std::fclose(pack);
    if (!ok) {
        // Like a failed SwapObject: the slot stays taken under its name,
        // without a surface, so a later reload can try again.
        if (s.Object != nullptr) plat::ReleaseSurface(s.Object);
        s.Object = nullptr;
        std::memcpy(s.FileName, upperName.c_str(), upperName.size() + 1);
        s.PackData = 1;
        return 0;
    }
    FinishRecord(s, upperName, entry);
    return ObjDD;
}
