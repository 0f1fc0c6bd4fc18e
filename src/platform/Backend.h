// Internal to the platform layer: the interface both backends (SDL and
// headless) implement, the choice between them, the geometry that maps the
// 640x480 picture into a window, and the hooks between the queue, the clock
// and the backends. Nothing outside src/platform includes this.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/Surface16.h"
#include "platform/Window.h"

namespace plat::detail {

constexpr int kLogicalWidth = 640;
constexpr int kLogicalHeight = 480;

class Backend {
public:
    virtual ~Backend() = default;
    virtual bool isHeadless() const = 0;

    // False when this backend can never show anything (no video at all).
    virtual bool canPresent() const = 0;

    // The one main window. openWindow fails (false) when it cannot be made.
    virtual bool openWindow(const char* title) = 0;
    virtual void closeWindow() = 0;
    virtual void showWindow() = 0;
    virtual void minimiseWindow() = 0;
    virtual void setTitle(const char* title) = 0;

    // Moves pending input into the message queue as window messages.
    virtual void pump() = 0;
    // Blocks until new input may have arrived (returns at once if headless).
    virtual void waitForInput() = 0;
    // Wakes waitForInput from another thread.
    virtual void wake() = 0;

    // Shows a frame of the logical size; the caller keeps its own copy.
    virtual void present(const Surface16& frame) = 0;
    virtual void waitForVerticalBlank() = 0;

    virtual int messageBox(const char* text, const char* caption, unsigned flags) = 0;
    virtual void beep() = 0;

    virtual void setCursorVisible(bool visible) = 0;
    virtual void setTextInput(bool enabled) = 0;
    // rect in logical coordinates, or nullptr to release.
    virtual void confineMouse(const Rect* rect) = 0;
    virtual void warpMouse(int x, int y) = 0;
};

// The backend the options ask for. Created on first use; when the options
// change while no window is open, the next call switches backends.
Backend& GetBackend();

std::unique_ptr<Backend> MakeHeadlessBackend();
std::unique_ptr<Backend> MakeSdlBackend();

// The headless answer of a message box, also used when a real box fails:
// one line on standard error, IDYES for yes/no questions, IDOK otherwise.
int ConsoleMessageBox(const char* text, const char* caption, unsigned flags);

// ---- Geometry -----------------------------------------------------------

// Where the logical picture lands inside a window of the given size: the
// largest whole multiple that fits, otherwise scaled down with the aspect
// kept; centred, the rest black.
struct Viewport {
    int x = 0;
    int y = 0;
    int w = kLogicalWidth;
    int h = kLogicalHeight;
};
Viewport FitViewport(int windowW, int windowH);
// Window position to logical position (clamped into the picture), and back.
void WindowToLogical(const Viewport& v, int wx, int wy, int* lx, int* ly);
void LogicalToWindow(const Viewport& v, int lx, int ly, int* wx, int* wy);

// Widens a 16-bit frame (5-6-5 or 5-5-5 per `format`) into 32-bit
// 0x00RRGGBB pixels (or 0x00BBGGRR with swapRB), each source pixel repeated
// `scale` times across and down. Channels widen by bit replication.
void ExpandFrame(const Surface16& src, const PixelFormat& format, bool swapRB, int scale, uint32_t* dst,
                 int dstPitchBytes);

// ---- Message queue side ---------------------------------------------------

// The main window, or nullptr when there is none.
HWND MainWindow();
// Posts a message from the backend to the main window.
void PostInput(UINT message, WPARAM wParam, LPARAM lParam);
// Whether the main window is currently active (as last reported to it); the
// backends post WM_ACTIVATEAPP only on a change.
bool WindowActive();
void SetWindowActive(bool active);

// ---- Timing ---------------------------------------------------------------

// CLOCK_MONOTONIC in nanoseconds.
uint64_t MonotonicNanos();
// Sleeps until CLOCK_MONOTONIC reaches `deadlineNs` (absolute), never spinning.
void SleepUntilNanos(uint64_t deadlineNs);
// Start of the first 60 Hz refresh after `now` on the grid that began at
// `epoch` (all nanoseconds). Refresh k starts exactly at epoch + k * 1e9 / 60
// (rounded down), so the grid never drifts.
uint64_t NextRefreshNanos(uint64_t epochNs, uint64_t nowNs);
// Back to virtual time zero, for tests.
void ResetVirtualClock();

// ---- Single-instance signal -----------------------------------------------

// True once after another copy of the program asked this one to come to the
// front (through the named lock).
bool TakeRaiseRequest();

}  // namespace plat::detail
