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

constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;

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
constexpr unsigned VK_CAPITAL = 0x14;
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
constexpr unsigned VK_SNAPSHOT = 0x2C;
constexpr unsigned VK_INSERT = 0x2D;
constexpr unsigned VK_DELETE = 0x2E;
constexpr unsigned VK_LWIN = 0x5B;
constexpr unsigned VK_RWIN = 0x5C;
constexpr unsigned VK_APPS = 0x5D;
constexpr unsigned VK_NUMPAD0 = 0x60;
constexpr unsigned VK_MULTIPLY = 0x6A;
constexpr unsigned VK_ADD = 0x6B;
constexpr unsigned VK_SEPARATOR = 0x6C;
constexpr unsigned VK_SUBTRACT = 0x6D;
constexpr unsigned VK_DECIMAL = 0x6E;
constexpr unsigned VK_DIVIDE = 0x6F;
constexpr unsigned VK_F1 = 0x70;
constexpr unsigned VK_F4 = 0x73;
constexpr unsigned VK_F10 = 0x79;
constexpr unsigned VK_F12 = 0x7B;
constexpr unsigned VK_F24 = 0x87;
constexpr unsigned VK_NUMLOCK = 0x90;
constexpr unsigned VK_SCROLL = 0x91;
// Punctuation keys (US layout positions).
constexpr unsigned VK_OEM_1 = 0xBA;       // ;:
constexpr unsigned VK_OEM_PLUS = 0xBB;    // =+
constexpr unsigned VK_OEM_COMMA = 0xBC;
constexpr unsigned VK_OEM_MINUS = 0xBD;
constexpr unsigned VK_OEM_PERIOD = 0xBE;
constexpr unsigned VK_OEM_2 = 0xBF;       // /?
constexpr unsigned VK_OEM_3 = 0xC0;       // `~
constexpr unsigned VK_OEM_4 = 0xDB;       // [{
constexpr unsigned VK_OEM_5 = 0xDC;       // \|
constexpr unsigned VK_OEM_6 = 0xDD;       // ]}
constexpr unsigned VK_OEM_7 = 0xDE;       // '"
constexpr unsigned VK_OEM_102 = 0xE2;     // the extra key of ISO and JIS keyboards

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
// waiting. PostMessage may be called from any thread.
//
// Key messages carry the virtual-key code in wParam; keys pressed while Alt
// is held, F10 and Alt itself come as WM_SYSKEYDOWN/WM_SYSKEYUP. lParam holds
// a repeat count of 1, bit 29 when Alt is held, bit 30 when the key was
// already down (auto-repeat, and every key-up), bit 31 on key-up. Mouse
// messages carry x | (y << 16) in 640x480 window coordinates in lParam and
// MK_LBUTTON/MK_RBUTTON/MK_SHIFT/MK_CONTROL in wParam.
bool PeekMessage(MSG* msg);
void WaitMessage();
void PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
LRESULT DispatchMessage(const MSG* msg);
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Default handling: WM_CLOSE destroys the window; Alt+F4 as a system key and
// WM_SYSCOMMAND SC_CLOSE post WM_CLOSE; everything else returns 0.
LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Input state as of the last message taken from the queue: keys (and the
// mouse buttons VK_LBUTTON, VK_RBUTTON) follow the key and button messages
// that PeekMessage has handed out, including posted ones.
bool IsKeyDown(unsigned virtualKey);
void SetCursorVisible(bool visible);
// Text input and its input-method editor (off unless switched on).
void SetImeEnabled(bool enabled);
// Cursor confinement and placement, in window (640x480) coordinates.
void ConfineMouse(const Rect& rect);
void ReleaseMouse();
void WarpMouse(int x, int y);

// A blocking message box (SDL) or a line on standard error (headless).
// Returns IDOK, IDYES or IDNO.
int MessageBox(HWND hwnd, const char* text, const char* caption, unsigned flags);
// The error beep: a console bell with a window (when standard error is a
// terminal), nothing headless, or whatever hook is set (the sound mixer may
// route a tone through its output).
void MessageBeep();
using BeepHook = void (*)();
void SetBeepHook(BeepHook hook);

}  // namespace plat
