// The display device: opening the emulated 16-bit display, creating the
// visible surface and off-screen surfaces, the 60 Hz vertical blank and the
// presentation of the visible surface (a window, or nothing when headless).
#pragma once

#include "platform/Surface16.h"

namespace plat {

struct DisplayCaps {
    bool stretch = true;        // scaled copies are supported
    bool threeD = false;        // no 3-D hardware: the framework picks the default device
};

// The opened display device (one per program).
struct DisplayDevice;

// Opens the display device for the main window; nullptr only when the
// backend cannot present at all.
DisplayDevice* OpenDisplay();
void CloseDisplay(DisplayDevice* device);

// Exclusive full-screen or shared-desktop access; always granted.
Result SetCooperativeLevel(bool fullScreen);
// Only 16 bits per pixel at the logical screen size is offered.
Result SetDisplayMode(int width, int height, int bitsPerPixel);
void RestoreDisplayMode();
// Bits per pixel of the desktop / display (16 while the display is open).
int DisplayBitsPerPixel();
DisplayCaps GetDisplayCaps();
// Pixel format of every surface (5-6-5 unless Options::rgb555).
PixelFormat GetPixelFormat();

// The visible surface (size of the display mode) and off-screen surfaces.
// Creation fails (nullptr) for sizes below 1 or absurdly large.
Surface16* CreatePrimarySurface();
Surface16* CreateSurface(int width, int height);
void ReleaseSurface(Surface16* surface);

// Blocks until the next refresh of the emulated 60 Hz display: refreshes lie
// on a fixed 1/60 s grid whatever the monitor's rate, and a frame that took
// too long waits for the following one (no catch-up burst).
// Headless: returns at once (virtual time advances per frame instead).
void WaitForVerticalBlank();

// Shows the visible surface now (called by the copies and fills that write
// to it). Keeps a copy as the last presented frame.
void PresentPrimary(const Surface16& primary);
// The last presented frame (640x480 of the display), or nullptr.
const Surface16* LastPresentedFrame();
// How WriteBmp24 lays out its file. The defaults give the screenshot: the
// whole surface, a 54-byte header, channels widened by bit replication (5-bit
// 31 and 6-bit 63 become 255, so white stays white).
struct Bmp24Layout {
    enum class Channels {
        Replicate,  // widen each channel to 8 bits by bit replication
        Times8,     // the channel's top five bits times 8 (full intensity 248)
    };
    // Region from the top-left corner, limited to the surface; negative
    // means the surface's own size.
    int width = -1;
    int height = -1;
    bool paletteEntry = false;  // four zero bytes after the information header: pixels at 58
    uint32_t pixelsPerMetre = 2835;
    Channels channels = Channels::Replicate;
};
// Writes a surface as a 24-bit bottom-up BMP file (rows padded to 4 bytes).
// Returns false on failure, including an empty region, and leaves no partial
// file.
bool WriteBmp24(const Surface16& surface, const PixelFormat& format, const char* path,
                const Bmp24Layout& layout = Bmp24Layout());

// Lets a message box be seen over the full-screen display.
void FlipToGDISurface();

}  // namespace plat
