// The SDL backend: the real window (full screen or windowed), its input
// translated into window messages, presentation of the 640x480 frame scaled
// with the aspect kept, the 60 Hz refresh emulated with a precise timer,
// message boxes, and the mouse cursor and confinement.
//
// Presentation normally widens the frame straight into the window's own
// pixel buffer (whole-number enlargement done here, black bars drawn only
// when the size changes). Setting SDL_RENDER_DRIVER selects an SDL renderer
// instead, which uploads the 16-bit frame and lets the renderer scale it.
#include <SDL.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/Backend.h"
#include "platform/Display.h"
#include "platform/Icon.h"
#include "platform/KeyMap.h"
#include "platform/Options.h"
#include "platform/Resources.h"

namespace plat::detail {

namespace {

LPARAM PackPoint(int x, int y) { return static_cast<LPARAM>((x & 0xFFFF) | ((y & 0xFFFF) << 16)); }

class SdlBackend final : public Backend {
public:
    ~SdlBackend() override {
        closeWindow();
        if (videoInitialised_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    bool isHeadless() const override { return false; }
    bool canPresent() const override { return const_cast<SdlBackend*>(this)->ensureVideo(); }

    bool openWindow(const char* title) override;
    void closeWindow() override;
    void showWindow() override {
        if (window_) SDL_ShowWindow(window_);
    }
    void minimiseWindow() override {
        if (window_) SDL_MinimizeWindow(window_);
    }
    void setTitle(const char* title) override {
        if (window_) SDL_SetWindowTitle(window_, title);
    }

    void pump() override;
    void waitForInput() override {
        if (!ensureVideo()) return;
        // A bounded wait, so that a raise request from a second copy (a
        // signal, which does not wake SDL) is seen within a quarter second.
        SDL_WaitEventTimeout(nullptr, 250);
    }
    void wake() override {
        if (!videoInitialised_) return;
        SDL_Event e = {};
        e.type = SDL_USEREVENT;
        SDL_PushEvent(&e);
    }

    void present(const Surface16& frame) override;
    void waitForVerticalBlank() override;

    int messageBox(const char* text, const char* caption, unsigned flags) override;
    void beep() override {
        if (isatty(STDERR_FILENO)) (void)!write(STDERR_FILENO, "\a", 1);
    }

    void setCursorVisible(bool visible) override {
        cursorVisible_ = visible;
        if (videoInitialised_) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
    }
    void setTextInput(bool enabled) override {
        textInput_ = enabled;
        if (!videoInitialised_) return;
        enabled ? SDL_StartTextInput() : SDL_StopTextInput();
    }
    void confineMouse(const Rect* rect) override {
        confined_ = rect != nullptr;
        if (rect) confineRect_ = *rect;
        applyConfinement();
    }
    void warpMouse(int x, int y) override {
        if (!window_) return;
        int wx, wy;
        LogicalToWindow(windowViewport(), x, y, &wx, &wy);
        SDL_WarpMouseInWindow(window_, wx, wy);
    }

private:
    bool ensureVideo();
    bool createPresenter();
    void destroyPresenter();
    void presentToSurface(const Surface16& frame);
    void presentWithRenderer(const Surface16& frame);
    void translate(const SDL_Event& e, bool* closePosted);
    void translateWindowEvent(const SDL_WindowEvent& e, bool* closePosted);
    void translateButton(const SDL_MouseButtonEvent& e);
    void applyConfinement();
    void setIcon();
    void toggleFullScreen();
    Viewport windowViewport() const;
    WPARAM mouseKeyFlags() const;

    bool videoTried_ = false;
    bool videoInitialised_ = false;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    bool useRenderer_ = false;
    bool surfaceStale_ = true;  // window size changed: bars and layout to redo
    const Surface16* lastFrame_ = nullptr;

    uint64_t refreshEpoch_ = 0;

    bool cursorVisible_ = false;
    bool textInput_ = false;
    bool confined_ = false;
    Rect confineRect_;
    int lastMouseX_ = -1;
    int lastMouseY_ = -1;
    Uint32 buttons_ = 0;
};

bool SdlBackend::ensureVideo() {
    if (videoTried_) return videoInitialised_;
    videoTried_ = true;
    // Let a desktop compositor keep running under our window, keep the
    // picture's pixels sharp, and make double-clicks as strict as on Windows
    // (4 pixels).
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    SDL_SetHint(SDL_HINT_MOUSE_DOUBLE_CLICK_RADIUS, "4");
    // The window's pixel buffer is the X server's shared memory, not a
    // texture of a GL renderer standing in for it.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // SDL's own SIGINT handling stays on: Ctrl+C in the terminal becomes a
    // quit event, and so an orderly WM_CLOSE.
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "SDL video: %s\n", SDL_GetError());
        return false;
    }
    videoInitialised_ = true;
    // Without a display SDL quietly picks a driver that shows nothing.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    if (driver && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0) &&
        (asked == nullptr || asked[0] == '\0')) {
        // An invisible window would run for ever and hold the single-instance
        // lock against every later launch.
        std::fprintf(stderr, "SDL video: no display found (is DISPLAY set?)\n");
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        videoInitialised_ = false;
        return false;
    }
    return true;
}

bool SdlBackend::openWindow(const char* title) {
    if (!ensureVideo()) return false;
    if (window_) return true;
    const Options& options = GetOptions();
    SDL_DisplayMode desktop = {};
    bool haveDesktop = SDL_GetDesktopDisplayMode(0, &desktop) == 0 && desktop.w > 0 && desktop.h > 0;

    Uint32 flags = 0;
    int x, y, w, h;
    if (options.windowed) {
        int scale = options.scale < 1 ? 1 : options.scale;
        while (scale > 1 && haveDesktop && (kLogicalWidth * scale > desktop.w || kLogicalHeight * scale > desktop.h))
            --scale;
        if (scale != options.scale && options.scale > 1)
            std::fprintf(stderr, "--scale %d does not fit the %dx%d screen; using %d\n", options.scale, desktop.w,
                         desktop.h, scale);
        w = kLogicalWidth * scale;
        h = kLogicalHeight * scale;
        x = y = SDL_WINDOWPOS_CENTERED;
        flags = SDL_WINDOW_RESIZABLE;
    } else {
        // Created at the desktop's size: without a window manager the X
        // window would otherwise keep its first size.
        w = haveDesktop ? desktop.w : kLogicalWidth;
        h = haveDesktop ? desktop.h : kLogicalHeight;
        x = y = 0;
        flags = SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS;
    }
    window_ = SDL_CreateWindow(title, x, y, w, h, flags | SDL_WINDOW_SHOWN);
    if (!window_) {
        std::fprintf(stderr, "SDL window: %s\n", SDL_GetError());
        return false;
    }
    if (!createPresenter()) {
        std::fprintf(stderr, "SDL presentation: %s\n", SDL_GetError());
        SDL_DestroyWindow(window_);
        window_ = nullptr;
        return false;
    }
    setIcon();
    SDL_ShowCursor(cursorVisible_ ? SDL_ENABLE : SDL_DISABLE);
    textInput_ ? SDL_StartTextInput() : SDL_StopTextInput();
    surfaceStale_ = true;
    lastMouseX_ = lastMouseY_ = -1;
    applyConfinement();
    return true;
}

// The program's icon resource "MAIN" (an .ico), when it carries one.
void SdlBackend::setIcon() {
    const ResourceEntry* resource = FindResource("MAIN", "ICON");
    DecodedIcon icon;
    if (resource == nullptr || !DecodeIcon(resource->data, resource->size, &icon)) return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(icon.pixels.data(), icon.width, icon.height, 32,
                                                              icon.width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr) return;
    SDL_SetWindowIcon(window_, surface);
    SDL_FreeSurface(surface);
}

// Alt+Enter: full screen on the desktop's mode, or back to a window of the
// picture's size (the scale asked for, as far as it fits).
void SdlBackend::toggleFullScreen() {
    if (!window_) return;
    const bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0;
    SDL_DisplayMode desktop = {};
    const bool haveDesktop = SDL_GetDesktopDisplayMode(0, &desktop) == 0 && desktop.w > 0 && desktop.h > 0;
    if (!full) {
        // Covering the desktop first, as at start: without a window manager
        // nobody else would resize the window.
        if (haveDesktop) {
            SDL_SetWindowBordered(window_, SDL_FALSE);
            SDL_SetWindowPosition(window_, 0, 0);
            SDL_SetWindowSize(window_, desktop.w, desktop.h);
        }
        SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        SDL_SetWindowFullscreen(window_, 0);
        SDL_SetWindowBordered(window_, SDL_TRUE);
        SDL_SetWindowResizable(window_, SDL_TRUE);
        int scale = GetOptions().scale < 1 ? 1 : GetOptions().scale;
        if (haveDesktop)
            while (scale > 1 && (kLogicalWidth * scale > desktop.w || kLogicalHeight * scale > desktop.h)) --scale;
        SDL_SetWindowSize(window_, kLogicalWidth * scale, kLogicalHeight * scale);
        SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
    surfaceStale_ = true;
    applyConfinement();
    if (lastFrame_) present(*lastFrame_);
}

bool SdlBackend::createPresenter() {
    const char* driver = std::getenv("SDL_RENDER_DRIVER");
    useRenderer_ = driver != nullptr && driver[0] != '\0';
    if (!useRenderer_ && SDL_GetWindowSurface(window_) != nullptr) return true;
    // No window surface to draw into: an SDL renderer (SDL_RENDER_DRIVER, or
    // the first that works) instead.
    useRenderer_ = true;
    renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (!renderer_) return false;
    Uint32 format = GetOptions().rgb555 ? SDL_PIXELFORMAT_RGB555 : SDL_PIXELFORMAT_RGB565;
    texture_ = SDL_CreateTexture(renderer_, format, SDL_TEXTUREACCESS_STREAMING, kLogicalWidth, kLogicalHeight);
    if (!texture_) return false;
    SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_NONE);
    return true;
}

void SdlBackend::destroyPresenter() {
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    texture_ = nullptr;
    renderer_ = nullptr;
}

void SdlBackend::closeWindow() {
    if (!window_) return;
    destroyPresenter();
    SDL_DestroyWindow(window_);
    window_ = nullptr;
    lastFrame_ = nullptr;
}

Viewport SdlBackend::windowViewport() const {
    int w = kLogicalWidth, h = kLogicalHeight;
    if (window_) SDL_GetWindowSize(window_, &w, &h);
    return FitViewport(w, h);
}

// ---- Presentation ---------------------------------------------------------

void SdlBackend::present(const Surface16& frame) {
    lastFrame_ = &frame;
    if (!window_) return;
    useRenderer_ ? presentWithRenderer(frame) : presentToSurface(frame);
}

void SdlBackend::presentToSurface(const Surface16& frame) {
    SDL_Surface* target = SDL_GetWindowSurface(window_);
    if (!target) return;
    Viewport v = FitViewport(target->w, target->h);
    const Uint32 f = target->format->format;
    const bool direct = f == SDL_PIXELFORMAT_RGB888 || f == SDL_PIXELFORMAT_ARGB8888 ||
                        f == SDL_PIXELFORMAT_BGR888 || f == SDL_PIXELFORMAT_ABGR8888;
    if (SDL_MUSTLOCK(target)) SDL_LockSurface(target);
    // The bars need drawing (and sending) only after the size changed.
    const bool whole = surfaceStale_;
    if (surfaceStale_) {
        SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 0, 0, 0));
        surfaceStale_ = false;
    }
    if (direct && v.w >= kLogicalWidth && v.w % kLogicalWidth == 0 && frame.width() == kLogicalWidth &&
        frame.height() == kLogicalHeight) {
        auto* origin = static_cast<uint8_t*>(target->pixels) + static_cast<ptrdiff_t>(v.y) * target->pitch + v.x * 4;
        bool swap = f == SDL_PIXELFORMAT_BGR888 || f == SDL_PIXELFORMAT_ABGR8888;
        ExpandFrame(frame, GetPixelFormat(), swap, v.w / kLogicalWidth, reinterpret_cast<uint32_t*>(origin),
                    target->pitch);
        if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
    } else {
        // Unusual window formats and windows smaller than the picture: SDL
        // converts and shrinks (slower, but rare).
        if (SDL_MUSTLOCK(target)) SDL_UnlockSurface(target);
        const PixelFormat pf = GetPixelFormat();
        SDL_Surface* src = SDL_CreateRGBSurfaceFrom(const_cast<uint16_t*>(frame.row(0)), frame.width(),
                                                    frame.height(), 16, frame.pitch(), pf.maskR, pf.maskG,
                                                    pf.maskB, 0);
        if (src) {
            SDL_Rect dst = {v.x, v.y, v.w, v.h};
            SDL_BlitScaled(src, nullptr, target, &dst);
            SDL_FreeSurface(src);
        }
    }
    if (whole) {
        SDL_UpdateWindowSurface(window_);
    } else {
        SDL_Rect picture = {v.x, v.y, v.w, v.h};
        SDL_UpdateWindowSurfaceRects(window_, &picture, 1);
    }
}

void SdlBackend::presentWithRenderer(const Surface16& frame) {
    if (!renderer_ || !texture_) return;
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(renderer_, &w, &h);
    Viewport v = FitViewport(w, h);
    SDL_UpdateTexture(texture_, nullptr, frame.row(0), frame.pitch());
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_Rect dst = {v.x, v.y, v.w, v.h};
    SDL_RenderCopy(renderer_, texture_, nullptr, &dst);
    SDL_RenderPresent(renderer_);
}

void SdlBackend::waitForVerticalBlank() {
    // Real vertical blanks cannot be trusted to be 60 Hz (144 Hz panels,
    // Xvfb has none): the refreshes of a 60 Hz display are emulated on a
    // fixed grid. A frame that overran sleeps to the next refresh, as on a
    // real display; no burst of catch-up frames follows a stall.
    uint64_t now = MonotonicNanos();
    if (refreshEpoch_ == 0) refreshEpoch_ = now;
    SleepUntilNanos(NextRefreshNanos(refreshEpoch_, now));
}

// ---- Input ----------------------------------------------------------------

void SdlBackend::pump() {
    if (!videoInitialised_) return;
    if (TakeRaiseRequest() && window_) {
        SDL_RestoreWindow(window_);
        SDL_RaiseWindow(window_);
    }
    bool closePosted = false;
    SDL_Event e;
    while (SDL_PollEvent(&e)) translate(e, &closePosted);
}

// The MK_ flags as of the event being translated: SDL's own button state is
// already past the events still queued.
WPARAM SdlBackend::mouseKeyFlags() const {
    SDL_Keymod mod = SDL_GetModState();
    WPARAM flags = 0;
    if (buttons_ & SDL_BUTTON_LMASK) flags |= MK_LBUTTON;
    if (buttons_ & SDL_BUTTON_RMASK) flags |= MK_RBUTTON;
    if (mod & KMOD_SHIFT) flags |= MK_SHIFT;
    if (mod & KMOD_CTRL) flags |= MK_CONTROL;
    return flags;
}

void SdlBackend::translate(const SDL_Event& e, bool* closePosted) {
    switch (e.type) {
    case SDL_QUIT:
        if (!*closePosted) PostInput(WM_CLOSE, 0, 0);
        *closePosted = true;
        break;
    case SDL_WINDOWEVENT:
        translateWindowEvent(e.window, closePosted);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const SDL_Keysym& key = e.key.keysym;
        // Alt+Enter belongs to the window, not to the program: the framework
        // would swallow it as a system key anyway.
        if ((key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER) && (key.mod & KMOD_ALT) != 0) {
            if (e.type == SDL_KEYDOWN && e.key.repeat == 0) toggleFullScreen();
            break;
        }
        unsigned vk = VirtualKeyFromSdl(key.sym, key.scancode, (key.mod & KMOD_NUM) != 0);
        if (vk == 0) break;
        KeyMessage m = MakeKeyMessage(vk, e.type == SDL_KEYDOWN, e.key.repeat != 0, (key.mod & KMOD_ALT) != 0);
        PostInput(m.message, m.wParam, m.lParam);
        break;
    }
    case SDL_MOUSEMOTION: {
        buttons_ = e.motion.state;
        int x, y;
        WindowToLogical(windowViewport(), e.motion.x, e.motion.y, &x, &y);
        if (x == lastMouseX_ && y == lastMouseY_) break;
        lastMouseX_ = x;
        lastMouseY_ = y;
        PostInput(WM_MOUSEMOVE, mouseKeyFlags(), PackPoint(x, y));
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        translateButton(e.button);
        break;
    default:
        break;
    }
}

void SdlBackend::translateButton(const SDL_MouseButtonEvent& e) {
    bool left = e.button == SDL_BUTTON_LEFT;
    if (!left && e.button != SDL_BUTTON_RIGHT) return;
    if (e.type == SDL_MOUSEBUTTONDOWN)
        buttons_ |= SDL_BUTTON(e.button);
    else
        buttons_ &= ~SDL_BUTTON(e.button);
    UINT message;
    if (e.type == SDL_MOUSEBUTTONUP) {
        message = left ? WM_LBUTTONUP : WM_RBUTTONUP;
    } else {
        // Every second click of a series is a double-click; the third starts
        // over with a plain press, as on Windows.
        bool dbl = e.clicks >= 2 && e.clicks % 2 == 0;
        message = left ? (dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN) : (dbl ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN);
    }
    int x, y;
    WindowToLogical(windowViewport(), e.x, e.y, &x, &y);
    PostInput(message, mouseKeyFlags(), PackPoint(x, y));
}

void SdlBackend::translateWindowEvent(const SDL_WindowEvent& e, bool* closePosted) {
    switch (e.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        if (!WindowActive()) {
            SetWindowActive(true);
            PostInput(WM_ACTIVATEAPP, 1, 0);
        }
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        if (WindowActive()) {
            SetWindowActive(false);
            PostInput(WM_ACTIVATEAPP, 0, 0);
        }
        break;
    case SDL_WINDOWEVENT_CLOSE:
        if (!*closePosted) PostInput(WM_CLOSE, 0, 0);
        *closePosted = true;
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        surfaceStale_ = true;
        applyConfinement();
        if (lastFrame_) present(*lastFrame_);
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        // The X server keeps no copy of a covered window, bars included;
        // and while the program is inactive no frames come: repaint it all.
        surfaceStale_ = true;
        if (lastFrame_) present(*lastFrame_);
        break;
    default:
        // Moves are not reported: the picture is the window's own, so its
        // place on the desktop does not matter to the program.
        break;
    }
}

void SdlBackend::applyConfinement() {
    if (!window_) return;
    if (!confined_) {
        SDL_SetWindowMouseRect(window_, nullptr);
        return;
    }
    Viewport v = windowViewport();
    int x1 = v.x + static_cast<int>(static_cast<int64_t>(confineRect_.left) * v.w / kLogicalWidth);
    int y1 = v.y + static_cast<int>(static_cast<int64_t>(confineRect_.top) * v.h / kLogicalHeight);
    int x2 = v.x + static_cast<int>(static_cast<int64_t>(confineRect_.right) * v.w / kLogicalWidth);
    int y2 = v.y + static_cast<int>(static_cast<int64_t>(confineRect_.bottom) * v.h / kLogicalHeight);
    if (x2 <= x1 || y2 <= y1) return;
    SDL_Rect r = {x1, y1, x2 - x1, y2 - y1};
    SDL_SetWindowMouseRect(window_, &r);
}

// ---- Message boxes --------------------------------------------------------

int SdlBackend::messageBox(const char* text, const char* caption, unsigned flags) {
    const bool yesNo = (flags & 0x0F) == MB_YESNO;
    SDL_MessageBoxButtonData buttons[2];
    int buttonCount;
    if (yesNo) {
        buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "はい"};
        buttons[1] = {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "いいえ"};
        buttonCount = 2;
    } else {
        buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK, "OK"};
        buttonCount = 1;
    }
    SDL_MessageBoxData data = {};
    unsigned icon = flags & 0xF0;
    data.flags = icon == MB_ICONEXCLAMATION ? SDL_MESSAGEBOX_WARNING : SDL_MESSAGEBOX_INFORMATION;
    data.window = window_;
    data.title = caption;
    data.message = text;
    data.numbuttons = buttonCount;
    data.buttons = buttons;

    // The box is a window of its own: the pointer must be able to reach it.
    if (window_) SDL_SetWindowMouseRect(window_, nullptr);
    if (videoInitialised_) SDL_ShowCursor(SDL_ENABLE);
    int pressed = -1;
    int status = SDL_ShowMessageBox(&data, &pressed);
    if (videoInitialised_) SDL_ShowCursor(cursorVisible_ ? SDL_ENABLE : SDL_DISABLE);
    applyConfinement();
    // The time the box was up must not count as missed refreshes.
    refreshEpoch_ = 0;

    if (status != 0) {
        std::fprintf(stderr, "SDL message box: %s\n", SDL_GetError());
        return ConsoleMessageBox(text, caption, flags);
    }
    if (pressed < 0) return yesNo ? IDNO : IDOK;  // closed without a button
    return pressed;
}

}  // namespace

std::unique_ptr<Backend> MakeSdlBackend() { return std::make_unique<SdlBackend>(); }

}  // namespace plat::detail
