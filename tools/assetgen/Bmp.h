// 8-bit palettised BMP files: the writer for the game's pictures and a reader
// for the same form, used by the contact sheet to show what was written.
#pragma once

#include <string>
#include <vector>

#include "Image.h"

namespace assetgen {

// Encodes an uncompressed, bottom-up 8-bit BMP with the given palette.
std::vector<uint8_t> EncodeBmp8(const Image& image, const std::vector<Rgb>& palette);

// Decodes what EncodeBmp8 writes (8-bit, uncompressed, either row order).
// Returns false for anything else or for a truncated file.
bool DecodeBmp8(const std::vector<uint8_t>& bytes, Image* image, std::vector<Rgb>* palette);

// Whole-file helpers; both throw std::runtime_error on an I/O fault.
std::vector<uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace assetgen
