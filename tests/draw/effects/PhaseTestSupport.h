// Set-up shared by the tests of the animated layers and screen effects: the
// drawing fixture with the phases and noise cursors back at their start
// values, five-bit pixel helpers and a sprite whose every pixel tells where
// it came from.
#pragma once

#include <cstdint>

#include "draw/DrawFixture.h"
#include "draw/effects/EffectState.h"
#include "draw/effects/kaEffect.h"

namespace effecttest {

inline uint16_t Rgb(int r, int g, int b) {
    return static_cast<uint16_t>((r << kaDraw::ShiftR2) | (g << kaDraw::ShiftG2) | (b << kaDraw::ShiftB2));
}

// Pixel (x, y) of a numbered sprite: 1 + x + 100 y, never the black key.
inline uint16_t N(int x, int y) { return static_cast<uint16_t>(1 + x + 100 * y); }

inline int NumberedSprite(int w, int h) {
    const int s = kaDraw::CreateObject(w, h, 2);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) Sprite[s].Object->row(y)[x] = N(x, y);
    return s;
}

class EffectTest : public drawtest::DrawTest {
protected:
    void SetUp() override {
        DrawTest::SetUp();
        kadraw::state::ResetEffectState();
    }
};

}  // namespace effecttest
