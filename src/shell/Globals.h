// Program-wide globals of the shell: the window, the run state, the frame
// loop's screen bookkeeping, and the keyboard and mouse state that the
// window procedure writes.
#pragma once

#include <cstdint>

#include "platform/Window.h"

struct NamedLockHandle;

extern HWND hwnd;
extern void* _Instance;
extern char _CommandLine[256];
extern int _FullScreen;
extern int _FullWindow;
extern int _WindowActive;
extern int _CloseEvent;
extern int _ShowDialog;
extern int _ShowMouse;
extern int _Mutex;              // 1 while the single-instance lock is held
extern int _WindowX;
extern int _WindowY;
extern int _ScreenNo;
extern int _LastScreenNo;
extern int _ChangeScreen;
extern int _CallScreenNo;
extern int DrawSkip;
extern int Blink;
extern uint32_t _BlinkTime;
extern char MciBuffer[32];
extern char Buffer[2048];
extern double PAI;
extern double PAI2;

// Keyboard state (virtual-key codes, 0 = none).
extern unsigned PushKey;
extern unsigned LastKey;
extern unsigned HelpKey;
extern unsigned MenuKey;
extern int PushShift;
extern unsigned _PullKey;
extern int _PullCount;

// Mouse state.
extern int MousePX, MousePY;
extern int MouseLX, MouseLY;
extern int MouseMX, MouseMY;
extern int MousePL, MousePR;
extern int MouseCL, MouseCR;
extern int MouseDL, MouseDR;
extern int MouseLL, MouseLR;
extern unsigned MousePush;
extern unsigned MouseLast;
extern int MouseMenu;
extern int _MouseArea;

// Frame timing.
extern float FrameTime;
extern uint32_t _WaitTime;

// The shell's own routines.
void kaAllInit();
int kaMutexCheck(const char* Name);
LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void KeyboardProc(unsigned wParam);
void ChangeActive(int Active);

// Runs the program: parses the command line, then start-up, message loop and
// shutdown. Returns the process exit code. Each program's main() calls it.
int kaRun(int argc, char** argv);

// Supplied by the application: start-up after the window exists, and the
// screen function called once per frame.
void kaCreate();
void MainScreen();
