// The main window, its message queue and input state, in the vocabulary the
// shell is written in: messages with wParam/lParam, a window procedure,
// virtual-key codes. The SDL backend translates its events into these; the
// headless backend has a queue and no window.
#pragma once

#include <cstdint>

#include "platform/Types.h"

using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using UINT = unsigned int;
struct WindowHandle;
using HWND = WindowHandle*;
using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Messages.
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_ACTIVATEAPP = 0x001C;
constexpr UINT WM_SETCURSOR = 0x0020;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
constexpr UINT MM_MCINOTIFY = 0x03B9;

constexpr WPARAM SC_CLOSE = 0xF060;
constexpr WPARAM SC_SCREENSAVE = 0xF140;
constexpr WPARAM MCI_NOTIFY_SUCCESSFUL = 1;

// Virtual-key codes.
constexpr unsigned VK_LBUTTON = 0x01;
constexpr unsigned VK_RBUTTON = 0x02;
constexpr unsigned VK_BACK = 0x08;
constexpr unsigned VK_TAB = 0x09;
constexpr unsigned VK_RETURN = 0x0D;
constexpr unsigned VK_SHIFT = 0x10;
constexpr unsigned VK_CONTROL = 0x11;
constexpr unsigned VK_MENU = 0x12;
constexpr unsigned VK_PAUSE = 0x13;
constexpr unsigned VK_ESCAPE = 0x1B;
constexpr unsigned VK_SPACE = 0x20;
constexpr unsigned VK_PRIOR = 0x21;
constexpr unsigned VK_NEXT = 0x22;
constexpr unsigned VK_END = 0x23;
constexpr unsigned VK_HOME = 0x24;
constexpr unsigned VK_LEFT = 0x25;
constexpr unsigned VK_UP = 0x26;
constexpr unsigned VK_RIGHT = 0x27;
constexpr unsigned VK_DOWN = 0x28;
constexpr unsigned VK_INSERT = 0x2D;
constexpr unsigned VK_DELETE = 0x2E;
constexpr unsigned VK_NUMPAD0 = 0x60;
constexpr unsigned VK_MULTIPLY = 0x6A;
constexpr unsigned VK_ADD = 0x6B;
constexpr unsigned VK_SUBTRACT = 0x6D;
constexpr unsigned VK_DECIMAL = 0x6E;
constexpr unsigned VK_DIVIDE = 0x6F;
constexpr unsigned VK_F1 = 0x70;
constexpr unsigned VK_F4 = 0x73;
constexpr unsigned VK_F10 = 0x79;
constexpr unsigned VK_F12 = 0x7B;

// Message-box flags and answers.
constexpr unsigned MB_OK = 0x0000;
constexpr unsigned MB_YESNO = 0x0004;
constexpr unsigned MB_ICONQUESTION = 0x0020;
constexpr unsigned MB_ICONEXCLAMATION = 0x0030;
constexpr unsigned MB_SYSTEMMODAL = 0x1000;
constexpr int IDOK = 1;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

namespace plat {

// Creates the main window (full screen, or windowed per Options), titled
// `title` (UTF-8), with `proc` as its window procedure; hides the cursor over
// it. Headless: a window that exists only as a message target. The window
// becomes active at once: a WM_ACTIVATEAPP(1) is queued.
HWND CreateMainWindow(const char* title, WNDPROC proc);
// Sends WM_DESTROY to the procedure and closes the window.
void DestroyWindow(HWND hwnd);
void ShowWindow(HWND hwnd);
// Minimises the window (shutdown of the display).
void CloseWindow(HWND hwnd);
bool IsWindow(HWND hwnd);
void SetWindowTitle(HWND hwnd, const char* title);

// Message queue. PeekMessage first collects pending input from the backend;
// it removes and returns the oldest message. WaitMessage blocks until one is
// waiting.
bool PeekMessage(MSG* msg);
void WaitMessage();
void PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
LRESULT DispatchMessage(const MSG* msg);
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Default handling: WM_CLOSE destroys the window; Alt+F4 as a system key
// posts WM_CLOSE; everything else returns 0.
LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Input state as of the last message taken from the queue.
bool IsKeyDown(unsigned virtualKey);
void SetCursorVisible(bool visible);
// Cursor confinement and placement, in window (640x480) coordinates.
void ConfineMouse(const Rect& rect);
void ReleaseMouse();
void WarpMouse(int x, int y);

// A blocking message box (SDL) or a line on standard error (headless).
// Returns IDOK, IDYES or IDNO.
int MessageBox(HWND hwnd, const char* text, const char* caption, unsigned flags);
void MessageBeep();

}  // namespace plat
