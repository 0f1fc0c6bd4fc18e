// kaDraw::SaveBitmap: the top-left Width x Height of the back surface as a
// 24-bit BMP file in the program's folder, with a 58-byte header (one empty
// palette entry) and each 5-bit channel times 8, so full intensity is 248.
#include <string>

#include "draw/kaDraw.h"
#include "shell/kaSystem.h"

int kaDraw::SaveBitmap(const char* FileName, int Width, int Height) {
    // Nothing to save is not a saved file.
    if (FileName == nullptr || Width <= 0 || Height <= 0 || DDBack == nullptr) return 0;
    void* bits = nullptr;
    long pitch = 0;
    if (DDBack->lock(&bits, &pitch) != plat::kOk) return 0;
    // Only 16-bit back surfaces exist on this platform; at any other depth
    // nothing is written.
    int result = 1;
    if (kaSystem::ColorBit() == 16) {
        plat::Bmp24Layout layout;
        layout.width = Width;  // the writer limits the region to the surface
        layout.height = Height;
        layout.paletteEntry = true;
        layout.pixelsPerMetre = 2834;
        layout.channels = plat::Bmp24Layout::Channels::Times8;
        const char* folder = kaSystem::Directory(0);
        const std::string path = std::string(folder != nullptr ? folder : "") + FileName;
        if (!plat::WriteBmp24(*DDBack, plat::GetPixelFormat(), path.c_str(), layout)) result = 0;
    }
    DDBack->unlock();
    return result;
}
