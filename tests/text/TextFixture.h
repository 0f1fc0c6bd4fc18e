// Shared set-up of the text tests: a headless 640x480 screen with kaFont
// started, helpers to read the Font sprite and the back surface, and a
// count of the non-black pixels of a rectangle.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "draw/kaDraw.h"
#include "platform/Options.h"
#include "shell/Globals.h"
#include "text/kaFont.h"

namespace texttest {

class TextTest : public testing::Test {
protected:
    void SetUp() override {
        if (DDObject != nullptr) kaDraw::DestroyObject();
        plat::Options options;
        options.headless = true;
        plat::SetOptions(options);
        ASSERT_EQ(kaDraw::Screen(640, 480, 1), 1);
        kaDraw::VirtualScreen(0, 0, 640, 480);
        kaDraw::Clear();
    }
    void TearDown() override {
        kaFont::Before();
        kaFont::BeforeAA();
        kaFont::DestroyObject();
        kaDraw::DestroyObject();
    }
};

inline uint16_t At(int sprite, int x, int y) { return Sprite[sprite].Object->row(y)[x]; }
inline uint16_t BackAt(int x, int y) { return DDBack->row(y)[x]; }

// Non-black pixels of a surface inside [x1, x2) x [y1, y2).
inline int Ink(const plat::Surface16& s, int x1, int y1, int x2, int y2) {
    int n = 0;
    for (int y = std::max(y1, 0); y < std::min(y2, s.height()); ++y)
        for (int x = std::max(x1, 0); x < std::min(x2, s.width()); ++x) n += s.row(y)[x] != 0;
    return n;
}

inline uint16_t ToPixel(uint32_t rgb) { return plat::PixelFromColorRef(plat::GetPixelFormat(), rgb); }

}  // namespace texttest
