// A 5x7 pixel font for the player's screen: digits, capital letters and a
// little punctuation, drawn as filled squares with kaDraw::ColorFill.
#pragma once

#include <cstdint>
#include <string>

namespace kamidi {

// Draws `text` with its top left at (x, y), each font pixel `scale` screen
// pixels wide; lower-case letters are drawn as capitals, characters the
// font lacks as '?'. Returns the x after the last character.
int DrawText(int x, int y, int scale, uint16_t colour, const std::string& text);

// Width in screen pixels that DrawText would take.
int TextWidth(int scale, const std::string& text);

}  // namespace kamidi
