// Choice of the backend from the options, the window geometry both backends
// share, and the console form of a message box.
#include "platform/Backend.h"

#include <algorithm>
#include <cstdio>

#include "platform/Options.h"

namespace plat::detail {

namespace {

std::unique_ptr<Backend> gBackend;

}  // namespace

Backend& GetBackend() {
    bool wantHeadless = GetOptions().headless;
    if (gBackend && gBackend->isHeadless() != wantHeadless && MainWindow() == nullptr) gBackend.reset();
    if (!gBackend) gBackend = wantHeadless ? MakeHeadlessBackend() : MakeSdlBackend();
    return *gBackend;
}

int ConsoleMessageBox(const char* text, const char* caption, unsigned flags) {
    std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
    std::fflush(stderr);
    // Nobody can answer here: a question takes the answer chosen on the
    // command line, so that scripted runs can go down either branch.
    if ((flags & 0x0F) != MB_YESNO) return IDOK;
    return GetOptions().answerNo ? IDNO : IDYES;
}

Viewport FitViewport(int windowW, int windowH) {
    Viewport v;
    if (windowW <= 0 || windowH <= 0) return v;
    int whole = std::min(windowW / kLogicalWidth, windowH / kLogicalHeight);
    if (whole >= 1) {
        v.w = kLogicalWidth * whole;
        v.h = kLogicalHeight * whole;
    } else if (static_cast<int64_t>(windowW) * kLogicalHeight <= static_cast<int64_t>(windowH) * kLogicalWidth) {
        // Narrower than 4:3: the width decides.
        v.w = windowW;
        v.h = std::max(1, static_cast<int>(static_cast<int64_t>(windowW) * kLogicalHeight / kLogicalWidth));
    } else {
        v.h = windowH;
        v.w = std::max(1, static_cast<int>(static_cast<int64_t>(windowH) * kLogicalWidth / kLogicalHeight));
    }
    v.x = (windowW - v.w) / 2;
    v.y = (windowH - v.h) / 2;
    return v;
}

void WindowToLogical(const Viewport& v, int wx, int wy, int* lx, int* ly) {
    int64_t x = (static_cast<int64_t>(wx) - v.x) * kLogicalWidth;
    int64_t y = (static_cast<int64_t>(wy) - v.y) * kLogicalHeight;
    // Floor division, so that positions left of or above the picture clamp
    // to 0 rather than rounding towards it.
    x = x >= 0 ? x / v.w : -((-x + v.w - 1) / v.w);
    y = y >= 0 ? y / v.h : -((-y + v.h - 1) / v.h);
    *lx = static_cast<int>(std::clamp<int64_t>(x, 0, kLogicalWidth - 1));
    *ly = static_cast<int>(std::clamp<int64_t>(y, 0, kLogicalHeight - 1));
}

void LogicalToWindow(const Viewport& v, int lx, int ly, int* wx, int* wy) {
    // The centre of the logical pixel, so that the round trip is exact.
    *wx = v.x + static_cast<int>((static_cast<int64_t>(lx) * 2 + 1) * v.w / (2 * kLogicalWidth));
    *wy = v.y + static_cast<int>((static_cast<int64_t>(ly) * 2 + 1) * v.h / (2 * kLogicalHeight));
}

}  // namespace plat::detail
