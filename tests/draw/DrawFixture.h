// Shared set-up of the drawing tests: a headless 640x480 screen, a clean
// sprite table and presentation state per test, tiny BMP files written next
// to the program, and pixel helpers.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "draw/kaDraw.h"
#include "platform/Options.h"
#include "shell/Globals.h"
#include "shell/kaSystem.h"

namespace drawtest {

// Opens the screen in the given pixel format, tearing down a previous one.
inline void OpenScreen(bool rgb555) {
    if (DDObject != nullptr) kaDraw::DestroyObject();
    plat::Options options;
    options.headless = true;
    options.rgb555 = rgb555;
    plat::SetOptions(options);
    ASSERT_EQ(kaDraw::Screen(640, 480, 1), 1);
}

// An 8-bit palettised bottom-up BMP; palette entries 0x00RRGGBB, indices
// given top row first.
inline std::string MakeBmp8(int w, int h, const std::vector<uint32_t>& palette, const std::vector<uint8_t>& indices) {
    const int stride = (w + 3) & ~3;
    std::string b;
    auto put = [&b](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) b.push_back(static_cast<char>(v >> (8 * i)));
    };
    b += "BM";
    put(14 + 40 + 1024 + stride * h, 4), put(0, 4), put(14 + 40 + 1024, 4);
    put(40, 4), put(w, 4), put(h, 4), put(1, 2), put(8, 2), put(0, 4), put(stride * h, 4);
    put(2835, 4), put(2835, 4), put(256, 4), put(0, 4);
    for (size_t i = 0; i < 256; ++i) put(i < palette.size() ? palette[i] : 0, 4);
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < stride; ++x) b.push_back(x < w ? static_cast<char>(indices[y * w + x]) : 0);
    return b;
}

// Files written next to the program (where sprite names are looked up),
// under names unique to this process; removed again at the end of the test.
class TempFiles {
public:
    ~TempFiles() {
        for (const std::string& path : paths_) std::remove(path.c_str());
    }
    std::string Write(const std::string& tag, const std::string& bytes) {
        return WriteNamed("d" + std::to_string(getpid()) + "_" + tag + ".bmp", bytes);
    }
    std::string WriteNamed(const std::string& name, const std::string& bytes) {
        const char* folder = kaSystem::Directory(0);
        std::string path = std::string(folder ? folder : "") + name;
        if (FILE* f = std::fopen(path.c_str(), "wb")) {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
            paths_.push_back(path);
        }
        return name;
    }

private:
    std::vector<std::string> paths_;
};

inline uint16_t BackPixel(int x, int y) { return DDBack->row(y)[x]; }
inline uint16_t SpritePixel(int n, int x, int y) { return Sprite[n].Object->row(y)[x]; }

// Several pixels at once, for one comparison: of the back surface, or of a
// sprite.
using Pixels = std::vector<uint16_t>;
inline Pixels Back(std::initializer_list<std::pair<int, int>> at) {
    Pixels p;
    for (auto [x, y] : at) p.push_back(BackPixel(x, y));
    return p;
}
inline Pixels Of(int n, std::initializer_list<std::pair<int, int>> at) {
    Pixels p;
    for (auto [x, y] : at) p.push_back(SpritePixel(n, x, y));
    return p;
}

inline void FillSurface(plat::Surface16* s, uint16_t value) {
    for (int y = 0; y < s->height(); ++y)
        for (int x = 0; x < s->width(); ++x) s->row(y)[x] = value;
}

// Captures what the error reports print (headless message boxes go to
// standard error) while fn runs.
template <typename Fn>
std::string Reports(Fn fn) {
    testing::internal::CaptureStderr();
    fn();
    return testing::internal::GetCapturedStderr();
}

class DrawTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (DDObject == nullptr || plat::GetOptions().rgb555) OpenScreen(false);
        for (int i = 4; i < 1024; ++i) {
            kaDraw::FreeObject(i);
            Sprite[i].FileName[0] = '\0';
        }
        kaDraw::VirtualScreen(0, 0, 640, 480);
        kaDraw::SetSpriteColor(0);
        kaDraw::ErrorCheck = 0;
        kaDraw::FadeNo = kaDraw::FadeAdd = kaDraw::FadeType = kaDraw::FadeMax = kaDraw::MaskBMP = 0;
        kaDraw::HelpOn = kaDraw::HelpSize = kaDraw::HelpBMP[0] = kaDraw::HelpBMP[1] = 0;
        kaDraw::HelpY = kaDraw::HelpBackX = kaDraw::HelpBackY = 0;
        kaDraw::EffectOn = kaDraw::RefreshMode = 0;
        HelpKey = 0;
        FrameTime = 0;
        FillSurface(DDBack, 0);
    }

    TempFiles files;
};

}  // namespace drawtest
