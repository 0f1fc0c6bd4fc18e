// The window procedure: turns the platform's messages into the framework's
// key and mouse state, follows activation, and runs the shutdown sequence.
// KeyboardProc takes each key press; ChangeActive records activation.

#include "draw/kaDraw.h"
#include "platform/Mci.h"
#include "shell/Globals.h"
#include "shell/kaSystem.h"
#include "sound/kaMusic.h"

namespace {

int Low16(LPARAM lParam) { return static_cast<int>(static_cast<uintptr_t>(lParam) & 0xFFFF); }
int High16(LPARAM lParam) { return static_cast<int>((static_cast<uintptr_t>(lParam) >> 16) & 0xFFFF); }

// Window positions arrive as two 16-bit halves that may be negative.
int Signed16(int value) { return value > 32768 ? value - 65536 : value; }

void KeyDown(WPARAM wParam) {
    if (kaSystem::KeyboardLock == 0) {
        KeyboardProc(static_cast<unsigned>(wParam));
    } else {
        MenuKey = static_cast<unsigned>(wParam);
    }
}

void KeyUp(WPARAM wParam) {
    const unsigned key = static_cast<unsigned>(wParam);
    if (key == PushKey) PushKey = 0;
    if (key == HelpKey) HelpKey = 0;
    if (key == MenuKey) MenuKey = 0;
    if (key == VK_SHIFT) PushShift = PushShift ? 0 : 1;
    if (key == _PullKey) ++_PullCount;
}

// A tune has played to its end. The sequencer is asked whether it has
// really stopped: a notice that was posted before another tune started
// finds that one playing and restarts nothing. An error leaves the reply
// empty, never a stale "stopped".
void MusicNotify(WPARAM wParam) {
    if (wParam != MCI_NOTIFY_SUCCESSFUL || kaMusic::PlayMusic == 0) return;
    plat::MciSendString("status midi mode", MciBuffer, sizeof MciBuffer, nullptr);
    if (MciBuffer[0] == 's' && MciBuffer[1] == 't') kaMusic::Replay();
}

}  // namespace

void KeyboardProc(unsigned wParam) {
    if (kaDraw::HelpOn == 0) {
        PushKey = LastKey = wParam;
    } else {
        HelpKey = wParam;
    }
    if (wParam == VK_ESCAPE) kaDraw::Exit();
}

void ChangeActive(int Active) { _WindowActive = Active; }

LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE:
        MousePX = Low16(lParam);
        MousePY = High16(lParam);
        break;
    case WM_LBUTTONDOWN:
        if (kaSystem::KeyboardLock == 0) {
            MousePL = MouseCL = MouseLL = 1;
            MousePush = 1;
            MouseLast = 1;
        } else {
            MouseMenu = 1;
        }
        break;
    case WM_LBUTTONUP:
        MousePL = 0;
        if (MousePush == 1) MousePush = 0;
        MouseMenu = 0;
        break;
    case WM_LBUTTONDBLCLK:
        if (kaSystem::KeyboardLock == 0) MouseDL = 1;
        return 0;
    case WM_RBUTTONDOWN:
        if (kaSystem::KeyboardLock == 0) {
            MousePR = MouseCR = MouseLR = 1;
            MousePush = 2;
            MouseLast = 2;
        }
        break;
    case WM_RBUTTONUP:
        MousePR = 0;
        if (MousePush == 2) MousePush = 0;
        break;
    case WM_RBUTTONDBLCLK:
        if (kaSystem::KeyboardLock == 0) MouseDR = 1;
        return 0;
    case WM_KEYDOWN:
        KeyDown(wParam);
        break;
    case WM_SYSKEYDOWN:
        // Alt, F10 and Alt+key: swallowed entirely (0), only Alt itself
        // swallowed (2), or taken as ordinary keys and passed on.
        if (kaSystem::SystemKeyCheck == 0) return 0;
        if (kaSystem::SystemKeyCheck == 2 && wParam == VK_MENU) return 0;
        KeyDown(wParam);
        break;
    case WM_KEYUP:
        KeyUp(wParam);
        break;
    case WM_MOVE:
        _WindowX = Signed16(Low16(lParam));
        _WindowY = Signed16(High16(lParam));
        kaDraw::RefreshPos = {_WindowX, _WindowY, _WindowX + kaDraw::Width, _WindowY + kaDraw::Height};
        break;
    case WM_ACTIVATEAPP:
        if (wParam == 0) {
            ChangeActive(0);
        } else {
            ChangeActive(1);
            kaSystem::InitFrame();  // the time spent away is not frame time
            kaSystem::InitMouse(1);
        }
        return 0;
    case WM_SETCURSOR:
        if (_FullScreen != 0 && _ShowDialog == 0) {
            plat::SetCursorVisible(false);
            return 1;
        }
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_SCREENSAVE) return 0;
        break;
    case MM_MCINOTIFY:
        MusicNotify(wParam);
        break;
    case WM_CLOSE:
        // A close request from the system tears the framework down here;
        // after Escape it has already been torn down and only the window goes.
        if (_CloseEvent == 0) _CloseEvent = 1;
        if (_CloseEvent < 2) kaDraw::Exit();
        if (plat::IsWindow(window)) plat::DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        plat::PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return plat::DefWindowProc(window, message, wParam, lParam);
}
