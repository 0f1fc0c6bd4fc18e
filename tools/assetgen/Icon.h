// The program's icon, drawn from the game's own pixel art (the hero standing
// on a floor tile), enlarged without smoothing: PNG files for the desktop's
// icon theme and a Windows-style .ico that the program carries for its window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Palette.h"
#include "PixelArt.h"

namespace assetgen {

// A true-colour picture: 0xAARRGGBB per pixel, top row first.
struct ArgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

// The icon at `size` pixels (a multiple of 32), from the sprites of `book`.
ArgbImage DrawIcon(const SpriteBook& book, const Palette& palette, int size);

// An 8-bit RGBA PNG (zlib-compressed, no filtering).
std::vector<uint8_t> EncodePng(const ArgbImage& image);

// An .ico holding one 32-bit uncompressed entry per picture (each at most
// 256 pixels square), with its AND mask taken from the alpha channel.
std::vector<uint8_t> EncodeIco(const std::vector<ArgbImage>& images);

// Writes kasample-SIZE.png for 32, 64, 128 and 256 pixels and MAIN.ico (32
// and 64 pixels) into `outDir`.
void BuildIcons(const std::string& resources, const std::string& outDir);

}  // namespace assetgen
