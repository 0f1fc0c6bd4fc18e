// Palettised pictures as the generator handles them: one byte per pixel, an
// index into the shared palette. Index 0 is always the transparent key.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

constexpr uint8_t kKeyIndex = 0;

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // row-major, top row first

    Image() = default;
    Image(int w, int h, uint8_t fill = kKeyIndex) : width(w), height(h), pixels(size_t(w) * h, fill) {}

    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    uint8_t At(int x, int y) const { return pixels[size_t(y) * width + x]; }
    void Set(int x, int y, uint8_t c) {
        if (Contains(x, y)) pixels[size_t(y) * width + x] = c;
    }
};

// A picture ready to be written: its file name stem and its pixels.
struct NamedImage {
    std::string name;
    Image image;
};

}  // namespace assetgen
