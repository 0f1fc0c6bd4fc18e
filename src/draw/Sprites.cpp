// The sprite table: loading bitmaps into slots, blank work sprites, freeing
// and replacing, colour keys, rebuilding lost surfaces and the teardown.
// Sprite numbers from callers are checked against the table: a number
// outside it, or a slot without a surface, is left alone.
#include <cstring>
#include <string>

#include "draw/DrawInternal.h"
#include "platform/Blit.h"
#include "platform/Window.h"
#include "shell/Globals.h"
#include "shell/kaSystem.h"

kaDraw::_sprite Sprite[1024];
uint32_t kaDraw::SpriteColor;
int kaDraw::SpriteLeftTop;

namespace kadraw {

int FindFreeSlot() {
    for (int i = kFirstFreeSlot; i < kSpriteCount; ++i)
        if (Sprite[i].FileName[0] == '\0') return i;
    return -1;
}

void EmptySlot(kaDraw::_sprite& s) {
    if (s.Object != nullptr) plat::ReleaseSurface(s.Object);
    s.Object = nullptr;
    s.FileName[0] = '\0';
    s.PackData = 0;
    s.Memory = 2;
    s.Color = 0;
    s.SizeX = s.SizeY = 0;
}

void ApplyLoadKey(kaDraw::_sprite& s) {
    if (kaDraw::SpriteLeftTop) {
        DDSetColorKey(s.Object, kLeftTopKey);
        s.Color = kLeftTopKey;
    } else {
        DDSetColorKey(s.Object, kaDraw::SpriteColor);
        s.Color = kaDraw::SpriteColor;
    }
}

}  // namespace kadraw

namespace {

constexpr const char* kTooLong = "ファイル名またはリソース名が長すぎます";
constexpr const char* kTooMany = "オブジェクト数が多過ぎます";
constexpr const char* kCannotRead = "BMPファイルを読み込めません";

bool NameTooLong(const char* name) { return std::strlen(name) > kadraw::kNameLimit; }

void SetName(kaDraw::_sprite& s, const char* name) {
    // Names are checked against the limit before they get here; the copy is
    // bounded all the same.
    size_t n = strnlen(name, sizeof s.FileName - 1);
    std::memmove(s.FileName, name, n);
    s.FileName[n] = '\0';
}

std::string ProgramPath(const char* name) {
    const char* folder = kaSystem::Directory(0);
    return std::string(folder ? folder : "") + name;
}

using kadraw::ApplyLoadKey;
using kadraw::FindFreeSlot;

enum class LoadResult { kOk, kNoBitmap, kNoSurface, kCopyFailed };

// The loading shared by LoadObject and SwapObject: the file in the program
// folder first, then the built-in resource of the same name. *code receives
// the failing call's result.
LoadResult FillSlot(kaDraw::_sprite& s, const char* name, int Memory, plat::Result* code) {
    *code = plat::kOk;
    s.Object = DDLoadBitmap(DDObject, ProgramPath(name).c_str(), &s.SizeX, &s.SizeY, Memory);
    if (s.Object != nullptr) return LoadResult::kOk;

    plat::DecodedBitmap bitmap;
    if (!kadraw::DecodeBitmapResource(name, &bitmap)) {
        *code = plat::kErrGeneric;
        return LoadResult::kNoBitmap;
    }
    s.Object = plat::CreateSurface(bitmap.width, bitmap.height);
    s.SizeX = static_cast<uint16_t>(bitmap.width);
    s.SizeY = static_cast<uint16_t>(bitmap.height);
    if (s.Object == nullptr) {
        *code = plat::kErrOutOfMemory;
        return LoadResult::kNoSurface;
    }
    *code = DDCopyBitmap(s.Object, &bitmap, 0, 0, 0, 0);
    return *code == plat::kOk ? LoadResult::kOk : LoadResult::kCopyFailed;
}

}  // namespace

int kaDraw::LoadObject(const char* FileName, int Memory) {
    if (FileName == nullptr) return Error("kaDraw::LoadObject", kCannotRead, 0);
    if (NameTooLong(FileName)) return Error("kaDraw::LoadObject", kTooLong, 0);
    int slot = FindFreeSlot();
    if (slot < 0) return Error("kaDraw::LoadObject", kTooMany, 0);

    _sprite& s = Sprite[slot];
    SetName(s, FileName);
    s.PackData = 0;
    s.Memory = 2;

    plat::Result code;
    if (FillSlot(s, FileName, Memory, &code) != LoadResult::kOk)
        return Error("kaDraw::LoadObject", kCannotRead, static_cast<long>(code));
    ApplyLoadKey(s);
    return slot;
}

int kaDraw::CreateObject(int Sx, int Sy, int Memory) {
    (void)Memory;  // no placement on this display
    int slot = FindFreeSlot();
    if (slot < 0) return Error("kaDraw::CreateObject", kTooMany, 0);

    _sprite& s = Sprite[slot];
    std::strcpy(s.FileName, "*");
    s.PackData = 0;
    s.Memory = 2;
    s.SizeX = static_cast<uint16_t>(Sx);
    s.SizeY = static_cast<uint16_t>(Sy);
    s.Object = plat::CreateSurface(Sx, Sy);
    if (s.Object == nullptr) return Error("kaDraw::CreateObject", "スプライトを作成できません", 0);
    // Black, so that a key taken from the top-left pixel now is black too.
    plat::Fill(*s.Object, s.Object->bounds(), 0);
    ApplyLoadKey(s);
    return slot;
}

void kaDraw::FreeObject(int ObjDD) {
    plat::Surface16* surface = kadraw::SpriteSurface(ObjDD);
    if (surface == nullptr) return;
    _sprite& s = Sprite[ObjDD];
    plat::ReleaseSurface(surface);
    s.Object = nullptr;
    s.FileName[0] = '\0';
    s.Color = 0;
    s.SizeX = s.SizeY = 0;
}

int kaDraw::SwapObject(const char* FileName, int ObjDD, int Memory) {
    if (ObjDD < 0 || ObjDD >= kadraw::kSpriteCount || FileName == nullptr) return 0;
    if (NameTooLong(FileName)) return Error("kaDraw::SwapObject", kTooLong, 0);
    // The name may be the slot's own (a reload passes it): copy it first.
    char name[sizeof Sprite[0].FileName];
    size_t n = strnlen(FileName, sizeof name - 1);
    std::memcpy(name, FileName, n);
    name[n] = '\0';

    _sprite& s = Sprite[ObjDD];
    if (s.Object != nullptr) {
        plat::ReleaseSurface(s.Object);
        s.Object = nullptr;
    }
    SetName(s, name);
    s.PackData = 0;
    s.Memory = 2;

    plat::Result code;
    LoadResult result = FillSlot(s, name, Memory, &code);
    // A resource that made a surface counts as loaded even if its copy failed.
    if (result == LoadResult::kNoBitmap || result == LoadResult::kNoSurface)
        return Error("kaDraw::SwapObject", kCannotRead, static_cast<long>(code));
    ApplyLoadKey(s);
    return 1;
}

void kaDraw::ReloadObject() {
    if (DDFront != nullptr) DDFront->restore();
    if (DDBack != nullptr && DDBack->isLost()) DDBack->restore();
    // The work sprites come back with undefined contents; their users redraw
    // them every time.
    for (int i = 0; i < kadraw::kFirstFreeSlot; ++i)
        if (Sprite[i].Object != nullptr && Sprite[i].Object->isLost()) Sprite[i].Object->restore();

    for (int i = kadraw::kFirstFreeSlot; i < kadraw::kSpriteCount; ++i) {
        _sprite& s = Sprite[i];
        if (s.FileName[0] == '\0' || s.Object == nullptr || !s.Object->isLost()) continue;
        s.Object->restore();
        if (s.FileName[0] == '*') continue;
        SetSpriteColor(s.Color);
        if (s.PackData != 0)
            SwapPack(s.FileName, i, s.Memory);
        else
            SwapObject(s.FileName, i, s.Memory);
    }
}

void kaDraw::DestroyObject() {
    ReleaseDC();  // a context left open would outlive the back surface
    if (DDObject != nullptr) {
        for (_sprite& s : Sprite) {
            if (s.Object != nullptr) kadraw::EmptySlot(s);
        }
        plat::ReleaseSurface(DDFront);
        plat::ReleaseSurface(DDBack);
        DDFront = nullptr;
        DDBack = nullptr;
        if (_FullScreen) {
            plat::RestoreDisplayMode();
            plat::SetCooperativeLevel(false);
        }
        plat::CloseDisplay(DDObject);
        DDObject = nullptr;
    }
    if ((_FullScreen || _FullWindow) && hwnd != nullptr) plat::CloseWindow(hwnd);
}

void kaDraw::SetSpriteColor(uint32_t Color) {
    SpriteColor = Color;
    SpriteLeftTop = 0;
}

void kaDraw::SetSpriteLeftTop() { SpriteLeftTop = 1; }

void kaDraw::CopySpriteColor(int ObjDD1, int ObjDD2) {
    plat::Surface16* dst = kadraw::SpriteSurface(ObjDD1);
    plat::Surface16* src = kadraw::SpriteSurface(ObjDD2);
    if (dst == nullptr || src == nullptr || !src->hasColorKey()) return;
    dst->setColorKey(src->colorKey());
}

void kaDraw::ChangeSpriteColor(int ObjDD, uint32_t Color) {
    plat::Surface16* surface = kadraw::SpriteSurface(ObjDD);
    if (surface == nullptr) return;
    Sprite[ObjDD].Color = Color;
    DDSetColorKey(surface, Color);
}

void kaDraw::ChangeSpriteLeftTop(int ObjDD) {
    plat::Surface16* surface = kadraw::SpriteSurface(ObjDD);
    if (surface == nullptr) return;
    Sprite[ObjDD].Color = kadraw::kLeftTopKey;
    DDSetColorKey(surface, kadraw::kLeftTopKey);
}
