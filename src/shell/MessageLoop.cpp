// The message loop and the frame: measure the frame time, call the screen
// function, follow screen changes, blink, and clear the one-frame mouse events.
#include "shell/MessageLoop.h"

#include "draw/kaDraw.h"
#include "platform/Clock.h"
#include "platform/Options.h"
#include "platform/Window.h"
#include "shell/Globals.h"
#include "shell/PadKeys.h"
#include "shell/ScriptedRun.h"
#include "shell/kaSystem.h"
#include "sound/kaSound.h"

namespace shell {
namespace {

unsigned long gFrameLimit = 0;
unsigned long gFramesRun = 0;
FrameHook gBeforeFrame = nullptr;
unsigned long gHookedFrame = ~0ul;

uint32_t Now() { return plat::TimeGetTime(); }

void CallScreen() {
    if (DrawSkip != 0) return;
    if (kaDraw::FadeAdd != 1) {
        kaSystem::NowTime = Now();
        if (_ScreenNo == 1) MainScreen();
    } else {
        // A fade-out is running: present it without drawing a new picture;
        // when it has finished, the screen chosen for after it takes over.
        kaDraw::Refresh();
        if (kaDraw::FadeAdd == 0) _ScreenNo = _CallScreenNo;
    }
}

void NoteScreenChange() {
    if (_ScreenNo != _LastScreenNo) {
        _ChangeScreen = 1;
        if (kaDraw::EffectOn > 0) {
            // A wipe does not outlive its screen.
            kaDraw::Vx1 = kaDraw::Wx1;
            kaDraw::Vy1 = kaDraw::Wy1;
            kaDraw::Vx2 = kaDraw::Wx2;
            kaDraw::Vy2 = kaDraw::Wy2;
            kaDraw::EffectOn = 0;
        }
    } else {
        _ChangeScreen = 0;
    }
    _LastScreenNo = _ScreenNo;
}

void UpdateBlink() {
    if (Now() >= _BlinkTime) {
        Blink = Blink ? 0 : 1;
        _BlinkTime = Now() + (Blink ? 1000 : 200);
    }
}

}  // namespace

void SetFrameLimit(unsigned long frames) {
    gFrameLimit = frames;
    gFramesRun = 0;
    gHookedFrame = ~0ul;
}

void SetBeforeFrameHook(FrameHook hook) { gBeforeFrame = hook; }

unsigned long FramesRun() { return gFramesRun; }

void RunFrame() {
    FrameTime = static_cast<float>(static_cast<double>(Now() - _WaitTime) / 1000.0);
    _WaitTime = Now();

    MouseMX = MousePX - MouseLX;
    MouseMY = MousePY - MouseLY;

    if (_LastScreenNo == 0 && _ScreenNo != 0) {
        _ChangeScreen = 1;
        _LastScreenNo = _ScreenNo;
    }

    CallScreen();
    NoteScreenChange();
    UpdateBlink();

    MouseLX = MousePX;
    MouseLY = MousePY;
    MouseCL = MouseCR = 0;
    MouseDL = MouseDR = 0;

    plat::EndFrame();
    kaSound::Streaming();

    ++gFramesRun;
    // Once the last frame asked for has run, close as the desktop would; not
    // when the program is already shutting down on its own.
    if (gFrameLimit != 0 && gFramesRun == gFrameLimit && _CloseEvent == 0 && hwnd != nullptr) {
        plat::PostMessage(hwnd, WM_CLOSE, 0, 0);
    }
}

int RunMessageLoop() {
    MSG msg;
    for (;;) {
        if (plat::PeekMessage(&msg)) {
            if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
            NoteDispatchedMessage(msg, gFramesRun);
            plat::DispatchMessage(&msg);
        } else if (_WindowActive != 0) {
            if (gBeforeFrame != nullptr && gHookedFrame != gFramesRun) {
                gHookedFrame = gFramesRun;
                gBeforeFrame(gFramesRun);
            }
            // The pad's keys and a replay's events for the coming frame go
            // through the queue first, so that the window procedure sees
            // them before the frame.
            if (PostPadKeys()) continue;
            if (PostScriptedInput(gFramesRun)) continue;
            RunFrame();
            if (ScriptedRunFinished(gFramesRun, plat::GetOptions().headless, gFrameLimit != 0) && _CloseEvent == 0 &&
                hwnd != nullptr) {
                plat::PostMessage(hwnd, WM_CLOSE, 0, 0);
            }
        } else {
            plat::WaitMessage();
        }
    }
}

}  // namespace shell
