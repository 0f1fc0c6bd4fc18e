// Temporary minimal platform so that everything links while the real
// pieces are written. Each piece moves to its own file and leaves here.
#include <cstdio>
#include <deque>

#include "platform/Blit.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/NamedLock.h"
#include "platform/Options.h"
#include "platform/Window.h"

namespace plat {

static Options gOptions;
void SetOptions(const Options& options) { gOptions = options; }
const Options& GetOptions() { return gOptions; }

struct DisplayDevice {};
static DisplayDevice gDevice;
DisplayDevice* OpenDisplay() { return &gDevice; }
void CloseDisplay(DisplayDevice*) {}
Result SetCooperativeLevel(bool) { return kOk; }
Result SetDisplayMode(int, int, int bits) { return bits == 16 ? kOk : kErrGeneric; }
void RestoreDisplayMode() {}
int DisplayBitsPerPixel() { return 16; }
DisplayCaps GetDisplayCaps() { return {}; }
PixelFormat GetPixelFormat() { return gOptions.rgb555 ? PixelFormat::Rgb555() : PixelFormat::Rgb565(); }
Surface16* CreatePrimarySurface() {
    auto* s = new Surface16(640, 480);
    s->setPrimary(true);
    return s;
}
Surface16* CreateSurface(int width, int height) {
    if (width < 1 || height < 1 || width > 16384 || height > 16384) return nullptr;
    return new Surface16(width, height);
}
void ReleaseSurface(Surface16* surface) { delete surface; }
void WaitForVerticalBlank() {}
void PresentPrimary(const Surface16&) {}
const Surface16* LastPresentedFrame() { return nullptr; }
bool WriteBmp24(const Surface16&, const PixelFormat&, const char*) { return false; }
void FlipToGDISurface() {}

static uint64_t gMicros = 0;
uint32_t TimeGetTime() { return static_cast<uint32_t>(gMicros / 1000); }
void SleepUntil(uint32_t deadlineMs) { gMicros = (static_cast<uint64_t>(deadlineMs) + 1) * 1000; }
void EndFrame() { gMicros += 16667; }
uint64_t TimeMicros() { return gMicros; }
void SetTimeListener(TimeListener) {}

static std::deque<MSG> gQueue;
static WNDPROC gProc = nullptr;
static WindowHandle* const kWindow = reinterpret_cast<WindowHandle*>(1);
HWND CreateMainWindow(const char*, WNDPROC proc) {
    gProc = proc;
    PostMessage(kWindow, WM_ACTIVATEAPP, 1, 0);
    return kWindow;
}
void DestroyWindow(HWND h) { SendMessage(h, WM_DESTROY, 0, 0); }
void ShowWindow(HWND) {}
void CloseWindow(HWND) {}
bool IsWindow(HWND h) { return h == kWindow; }
void SetWindowTitle(HWND, const char*) {}
bool PeekMessage(MSG* msg) {
    if (gQueue.empty()) return false;
    *msg = gQueue.front();
    gQueue.pop_front();
    return true;
}
void WaitMessage() {}
void PostMessage(HWND h, UINT m, WPARAM w, LPARAM l) { gQueue.push_back({h, m, w, l}); }
void PostQuitMessage(int code) { PostMessage(nullptr, WM_QUIT, static_cast<WPARAM>(code), 0); }
LRESULT DispatchMessage(const MSG* msg) { return gProc ? gProc(msg->hwnd, msg->message, msg->wParam, msg->lParam) : 0; }
LRESULT SendMessage(HWND h, UINT m, WPARAM w, LPARAM l) { return gProc ? gProc(h, m, w, l) : 0; }
LRESULT DefWindowProc(HWND h, UINT m, WPARAM, LPARAM) {
    if (m == WM_CLOSE) DestroyWindow(h);
    return 0;
}
bool IsKeyDown(unsigned) { return false; }
void SetCursorVisible(bool) {}
void ConfineMouse(const Rect&) {}
void ReleaseMouse() {}
void WarpMouse(int, int) {}
int MessageBox(HWND, const char* text, const char* caption, unsigned) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    return IDOK;
}
void MessageBeep() {}

bool AcquireNamedLock(const std::string&) { return true; }
void ReleaseNamedLock() {}

}  // namespace plat
