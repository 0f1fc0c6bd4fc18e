// Basic types shared by the platform layer and the framework above it:
// rectangles, result codes of surface operations and the window-message
// vocabulary the shell is written in.
#pragma once

#include <cstdint>

namespace plat {

// Left, top, right, bottom; right and bottom exclusive.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

// Result codes of surface operations, with the numeric values the
// framework compares against.
using Result = uint32_t;
constexpr Result kOk = 0;
constexpr Result kErrGeneric = 0x80004005;
constexpr Result kErrInvalidRect = 0x88760096;
constexpr Result kErrSurfaceLost = 0x887601C2;
constexpr Result kErrOutOfMemory = 0x8007000E;

}  // namespace plat
