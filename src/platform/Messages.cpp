// The main window as a message target: its procedure, the message queue the
// shell's loop reads, the default handling of messages and the key state
// that follows the key messages taken from the queue.
#include <array>
#include <atomic>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/Backend.h"
#include "platform/TextDecode.h"
#include "platform/Window.h"

struct WindowHandle {
    WNDPROC proc = nullptr;
    bool alive = false;
    bool destroying = false;
};

namespace plat {

namespace {

WindowHandle gMain;

std::mutex gQueueMutex;
std::deque<MSG> gQueue;
std::atomic<std::thread::id> gMainThread{};

std::array<bool, 256> gKeyDown{};
bool gActive = false;

// Bit 29 of a key message's lParam: Alt was held when the key went down.
constexpr LPARAM kAltContextBit = LPARAM{1} << 29;

bool Valid(HWND h) { return h == &gMain && gMain.alive; }

bool TakeFromQueue(MSG* msg) {
    std::lock_guard<std::mutex> lock(gQueueMutex);
    if (gQueue.empty()) return false;
    *msg = gQueue.front();
    gQueue.pop_front();
    return true;
}

bool QueueEmpty() {
    std::lock_guard<std::mutex> lock(gQueueMutex);
    return gQueue.empty();
}

// The key state follows the messages as the shell sees them, so that input
// injected through PostMessage counts exactly like real keys.
void TrackInputState(const MSG& msg) {
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        gKeyDown[msg.wParam & 0xFF] = true;
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        gKeyDown[msg.wParam & 0xFF] = false;
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        gKeyDown[VK_LBUTTON] = true;
        break;
    case WM_LBUTTONUP:
        gKeyDown[VK_LBUTTON] = false;
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        gKeyDown[VK_RBUTTON] = true;
        break;
    case WM_RBUTTONUP:
        gKeyDown[VK_RBUTTON] = false;
        break;
    default:
        break;
    }
}

}  // namespace

HWND CreateMainWindow(const char* title, WNDPROC proc) {
    if (gMain.alive) return nullptr;  // one main window per program
    if (!detail::GetBackend().openWindow(title ? title : "")) return nullptr;
    gMainThread = std::this_thread::get_id();
    gMain.proc = proc;
    gMain.alive = true;
    gMain.destroying = false;
    gKeyDown.fill(false);
    gActive = true;
    PostMessage(&gMain, WM_ACTIVATEAPP, 1, 0);
    return &gMain;
}

void DestroyWindow(HWND hwnd) {
    if (!Valid(hwnd) || gMain.destroying) return;
    gMain.destroying = true;
    SendMessage(hwnd, WM_DESTROY, 0, 0);
    gMain.alive = false;
    gMain.destroying = false;
    gActive = false;
    detail::GetBackend().closeWindow();
}

void ShowWindow(HWND hwnd) {
    if (Valid(hwnd)) detail::GetBackend().showWindow();
}

void CloseWindow(HWND hwnd) {
    if (Valid(hwnd)) detail::GetBackend().minimiseWindow();
}

bool IsWindow(HWND hwnd) { return Valid(hwnd); }

void SetWindowTitle(HWND hwnd, const char* title) {
    if (Valid(hwnd)) detail::GetBackend().setTitle(title ? title : "");
}

bool PeekMessage(MSG* msg) {
    detail::GetBackend().pump();
    if (!TakeFromQueue(msg)) return false;
    TrackInputState(*msg);
    return true;
}

void WaitMessage() {
    detail::Backend& backend = detail::GetBackend();
    if (backend.isHeadless()) return;
    for (;;) {
        backend.pump();
        if (!QueueEmpty()) return;
        backend.waitForInput();
    }
}

void PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    {
        std::lock_guard<std::mutex> lock(gQueueMutex);
        gQueue.push_back({hwnd, message, wParam, lParam});
    }
    // A message from another thread (a sound callback, say) must wake a loop
    // that sleeps in WaitMessage.
    std::thread::id mainThread = gMainThread.load();
    if (mainThread != std::thread::id() && std::this_thread::get_id() != mainThread) detail::GetBackend().wake();
}

void PostQuitMessage(int exitCode) { PostMessage(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0); }

LRESULT DispatchMessage(const MSG* msg) {
    if (msg == nullptr || !Valid(msg->hwnd) || gMain.proc == nullptr) return 0;
    return gMain.proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!Valid(hwnd) || gMain.proc == nullptr) return 0;
    return gMain.proc(hwnd, message, wParam, lParam);
}

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_SYSKEYDOWN:
        // Alt+F4 reaches here only when the shell passes system keys on.
        if (wParam == VK_F4 && ((lParam & kAltContextBit) != 0 || IsKeyDown(VK_MENU)))
            PostMessage(hwnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) PostMessage(hwnd, WM_CLOSE, 0, 0);
        return 0;
    default:
        return 0;
    }
}

bool IsKeyDown(unsigned virtualKey) { return virtualKey < gKeyDown.size() && gKeyDown[virtualKey]; }

void SetCursorVisible(bool visible) { detail::GetBackend().setCursorVisible(visible); }

void SetImeEnabled(bool enabled) { detail::GetBackend().setTextInput(enabled); }

void ConfineMouse(const Rect& rect) { detail::GetBackend().confineMouse(&rect); }

void ReleaseMouse() { detail::GetBackend().confineMouse(nullptr); }

void WarpMouse(int x, int y) { detail::GetBackend().warpMouse(x, y); }

int MessageBox(HWND, const char* text, const char* caption, unsigned flags) {
    // Texts may be CP932; the backends show UTF-8.
    return detail::GetBackend().messageBox(ToUtf8(text).c_str(), ToUtf8(caption).c_str(), flags);
}

namespace {
BeepHook gBeepHook = nullptr;
}

void SetBeepHook(BeepHook hook) { gBeepHook = hook; }

void MessageBeep() {
    if (gBeepHook != nullptr) {
        gBeepHook();
        return;
    }
    detail::GetBackend().beep();
}

namespace detail {

HWND MainWindow() { return gMain.alive ? &gMain : nullptr; }

void PostInput(UINT message, WPARAM wParam, LPARAM lParam) {
    if (gMain.alive) PostMessage(&gMain, message, wParam, lParam);
}

bool WindowActive() { return gActive; }

void SetWindowActive(bool active) { gActive = active; }

}  // namespace detail

}  // namespace plat
