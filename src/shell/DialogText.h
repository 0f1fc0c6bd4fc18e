// The text of a message box or a debug-log line: printf-style formatting into
// a fixed buffer with a line end, cut at a character boundary when too long.
#pragma once

#include <cstdarg>
#include <cstddef>

namespace shell {

// A formatted message and its line end fit in this many bytes.
constexpr size_t kDialogTextSize = 256;

// Formats into `text` (kDialogTextSize bytes) and appends "\n". A null format
// gives an empty line.
void FormatDialogText(char* text, const char* format, va_list args);

}  // namespace shell
