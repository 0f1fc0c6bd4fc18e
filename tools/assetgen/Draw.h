// Drawing on palettised pictures: fills, dithered gradients, frames, discs,
// sprites and text masks. Everything clips to the picture.
#pragma once

#include <vector>

#include "Image.h"
#include "Text.h"

namespace assetgen {

void FillRect(Image& img, int x, int y, int w, int h, uint8_t colour);
void FrameRect(Image& img, int x, int y, int w, int h, int thickness, uint8_t colour);
// Vertical gradient through the colours of `ramp`, blended by an ordered
// 4x4 dither so a handful of palette entries read as a smooth sky.
void GradientRect(Image& img, int x, int y, int w, int h, const std::vector<uint8_t>& ramp);
// Filled disc and ring around (cx, cy); centres on half pixels are allowed
// by passing doubled coordinates (cx2 = 2 * cx).
void Disc(Image& img, int cx2, int cy2, int radius2, uint8_t colour);
void Ring(Image& img, int cx2, int cy2, int radius2, int thickness, uint8_t colour);
// Copies a sprite, enlarged by `scale`, leaving key pixels untouched.
void Blit(Image& img, const Image& sprite, int x, int y, int scale = 1);
// A rounded box with a dark rim, a light border and a filled inside.
void Panel(Image& img, int x, int y, int w, int h, uint8_t rim, uint8_t border, uint8_t inside);

// Paints the ink of a text mask with its top-left corner at (x, y).
void PaintMask(Image& img, const Mask& mask, int x, int y, uint8_t colour);
// Text with a surrounding outline `outline` pixels wide (square pen).
void PaintOutlined(Image& img, const Mask& mask, int x, int y, uint8_t fill, uint8_t edge, int outline);
// Text with a shadow offset by (dx, dy).
void PaintShadowed(Image& img, const Mask& mask, int x, int y, uint8_t fill, uint8_t shadow, int dx, int dy);

// The mask thickened by `pixels` to the right, for heavier lettering.
Mask Embolden(const Mask& mask, int pixels);

// Left edge that centres a mask's full width on `centreX`.
inline int CentredX(const Mask& mask, int centreX) { return centreX - mask.width / 2; }

}  // namespace assetgen
