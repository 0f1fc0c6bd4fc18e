// The program's entry: the command line, the single-instance guard, the
// window, start-up of the application, the message loop, and the screenshot
// asked for on the command line.
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "draw/kaDraw.h"
#include "platform/AudioDevice.h"
#include "platform/Clock.h"
#include "platform/Display.h"
#include "platform/NamedLock.h"
#include "platform/Options.h"
#include "platform/Window.h"
#include "shell/CommandLine.h"
#include "shell/Globals.h"
#include "shell/MessageLoop.h"
#include "shell/PadKeys.h"
#include "shell/kaSystem.h"

namespace {

// The window title, which also names the single-instance lock.
constexpr const char* kTitle = "kaサンプル";

// Writes the last presented frame; false (with a reason on standard error)
// when there is none or the file cannot be written.
bool WriteScreenshot(const std::string& path) {
    const plat::Surface16* frame = plat::LastPresentedFrame();
    if (frame == nullptr) {
        std::fprintf(stderr, "screenshot: no frame was shown, %s not written\n", path.c_str());
        return false;
    }
    if (!plat::WriteBmp24(*frame, plat::GetPixelFormat(), path.c_str())) {
        std::fprintf(stderr, "screenshot: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int kaMutexCheck(const char* Name) {
    std::snprintf(Buffer, sizeof Buffer, "%s:KaMutex", Name != nullptr ? Name : "");
    // The platform tells the copy holding the lock to raise its window.
    _Mutex = plat::AcquireNamedLock(Buffer) ? 1 : 0;
    return _Mutex;
}

int kaRun(int argc, char** argv) {
    shell::CommandLine line;
    switch (shell::ParseCommandLine(argc, argv, &line)) {
    case shell::ParseOutcome::Run:
        break;
    case shell::ParseOutcome::ExitOk:
        return 0;
    case shell::ParseOutcome::UsageError:
        return 2;
    }
    plat::SetOptions(line.platform);
    kaDraw::FpsTime = plat::TimeGetTime();  // the frame-rate meter counts from program start

    kaAllInit();
    // The guard keeps a second copy off the one display. A headless run has
    // none, so scripted runs never contend with a game or with each other.
    if (!line.platform.headless && kaMutexCheck(kTitle) == 0) {
        std::fprintf(stderr, "%s: another copy is already running; it was asked to come to the front\n",
                     shell::ProgramName().c_str());
        return 0;
    }
    shell::CopyBounded(_CommandLine, sizeof _CommandLine, line.parameter);

    // A second copy ends with 0 above; a program that could not open its
    // window, or not write the screenshot or sound asked for, ends with 1.
    hwnd = plat::CreateMainWindow(kTitle, WindowProc);
    if (hwnd == nullptr) {
        std::fprintf(stderr, "%s: cannot create the window (--headless runs without one)\n",
                     shell::ProgramName().c_str());
        if (_Mutex != 0) plat::ReleaseNamedLock();
        _Mutex = 0;
        return 1;
    }
    plat::ShowWindow(hwnd);
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    kaSystem::IME(0);
    kaCreate();
    // The sound the user asked to keep cannot be kept: end before any frame.
    const bool captureFailed = plat::AudioCaptureFailed();
    if (captureFailed) plat::PostMessage(hwnd, WM_CLOSE, 0, 0);
    kaSystem::InitFrame();
    kaSystem::InitMouse(0);

    shell::EnablePadKeys(line.padKeys);
    shell::SetFrameLimit(line.frames);
    shell::RunMessageLoop();

    if (!line.platform.screenshot.empty() && !WriteScreenshot(line.platform.screenshot)) return 1;
    return captureFailed ? 1 : 0;
}
