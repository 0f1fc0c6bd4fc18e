// The message loop and the frame it runs whenever the queue is empty and the
// program is active. Split out of kaRun so that tests can drive single frames.
#pragma once

namespace shell {

// Handles every waiting message, running a frame whenever the queue is empty
// and the window is active, until WM_QUIT. Returns the quit code.
int RunMessageLoop();

// One frame: frame time, mouse movement, the screen function (or the
// fade-out's presentation), the screen-change and blink bookkeeping, the
// per-frame mouse events; then the platform's end of frame, the sound
// streaming and the frame count.
void RunFrame();

// After this many frames (0: never) the loop asks the window to close, as a
// close request from the desktop would. Resets the frame count.
void SetFrameLimit(unsigned long frames);
unsigned long FramesRun();

// Called once before each frame, ahead of that frame's input, with the
// number of the frame (0 first). Lets a program drive simulated devices or
// watch the run; nullptr removes it.
using FrameHook = void (*)(unsigned long frame);
void SetBeforeFrameHook(FrameHook hook);

}  // namespace shell
