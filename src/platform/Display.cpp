// The emulated 16-bit display: surfaces and their pixel format, the display
// mode, the 60 Hz vertical blank and the presentation of the visible
// surface through the backend, keeping the last frame shown.
#include "platform/Display.h"

#include <cstring>
#include <memory>

#include "platform/Backend.h"
#include "platform/Options.h"

namespace plat {

struct DisplayDevice {
    bool open = false;
};

namespace {

constexpr int kMaxSide = 16384;
constexpr uint64_t kMaxSurfaceBytes = 256ull * 1024 * 1024;

DisplayDevice gDevice;
std::unique_ptr<Surface16> gLastFrame;

// A surface whose allocation failed has no pixels; it must not be handed out.
Surface16* NewSurface(int width, int height) {
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return nullptr;
    uint64_t pitchPixels = (static_cast<uint64_t>(width) + 15) & ~uint64_t{15};
    if (pitchPixels * static_cast<uint64_t>(height) * 2 > kMaxSurfaceBytes) return nullptr;
    auto surface = std::make_unique<Surface16>(width, height);
    if (surface->row(0) == nullptr) return nullptr;
    return surface.release();
}

}  // namespace

DisplayDevice* OpenDisplay() {
    if (!detail::GetBackend().canPresent()) return nullptr;
    gDevice.open = true;
    return &gDevice;
}

void CloseDisplay(DisplayDevice* device) {
    // The last frame stays: the screenshot on exit is taken after this.
    if (device != nullptr) device->open = false;
}

Result SetCooperativeLevel(bool) { return kOk; }

Result SetDisplayMode(int width, int height, int bitsPerPixel) {
    if (bitsPerPixel != 16 || width != detail::kLogicalWidth || height != detail::kLogicalHeight) return kErrGeneric;
    return kOk;
}

void RestoreDisplayMode() {}

int DisplayBitsPerPixel() { return 16; }

DisplayCaps GetDisplayCaps() { return {}; }

PixelFormat GetPixelFormat() { return GetOptions().rgb555 ? PixelFormat::Rgb555() : PixelFormat::Rgb565(); }

Surface16* CreatePrimarySurface() {
    Surface16* surface = NewSurface(detail::kLogicalWidth, detail::kLogicalHeight);
    if (surface != nullptr) surface->setPrimary(true);
    return surface;
}

Surface16* CreateSurface(int width, int height) { return NewSurface(width, height); }

void ReleaseSurface(Surface16* surface) { delete surface; }

void WaitForVerticalBlank() { detail::GetBackend().waitForVerticalBlank(); }

void PresentPrimary(const Surface16& primary) {
    if (!gLastFrame || gLastFrame->width() != primary.width() || gLastFrame->height() != primary.height()) {
        // The backend may still repaint from the old copy: it goes only once
        // a new one exists.
        std::unique_ptr<Surface16> copy(NewSurface(primary.width(), primary.height()));
        if (!copy) return;
        gLastFrame = std::move(copy);
    }
    size_t rowBytes = static_cast<size_t>(primary.width()) * 2;
    for (int y = 0; y < primary.height(); ++y) std::memcpy(gLastFrame->row(y), primary.row(y), rowBytes);
    detail::GetBackend().present(*gLastFrame);
}

const Surface16* LastPresentedFrame() { return gLastFrame.get(); }

void FlipToGDISurface() {}

}  // namespace plat
