// The contact sheet: every page after a fixed number of frames, shrunk to
// half size with its caption below, four to a row, in one BMP; and the same
// sheet of the unprocessed picture, for comparison.
#pragma once

#include <string>

#include "Pictures.h"

namespace kafx_gallery {

constexpr int kSheetColumns = 4;
constexpr int kCellW = 320, kCellH = 260;  // thumbnail 320x240 and a 20-row caption
constexpr int kSheetFrames = 45;           // frames drawn on each page before the still

// Writes `path` and, beside it, the plain sheet (".bmp" replaced by
// "-plain.bmp"). False when a file could not be written.
bool WriteContactSheets(const Pictures& pictures, int captions, const std::string& path);

}  // namespace kafx_gallery
