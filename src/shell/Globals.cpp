// The shell's program-wide globals and kaAllInit, which puts them back to
// their start-up values before the window exists.
#include "shell/Globals.h"

#include "platform/Clock.h"

HWND hwnd = nullptr;
void* _Instance = nullptr;
char _CommandLine[256];
int _FullScreen = 1;
int _FullWindow = 0;
int _WindowActive = 0;
int _CloseEvent = 0;
int _ShowDialog = 0;
int _ShowMouse = 1;
int _Mutex = 0;
int _WindowX = 0;
int _WindowY = 0;
int _ScreenNo = 0;
int _LastScreenNo = 0;
int _ChangeScreen = 0;
int _CallScreenNo = 0;
int DrawSkip = 0;
int Blink = 1;
uint32_t _BlinkTime = 0;
char MciBuffer[32];
char Buffer[2048];
double PAI = 3.141592653589793;
double PAI2 = 2 * PAI;

unsigned PushKey, LastKey, HelpKey, MenuKey;
int PushShift;
unsigned _PullKey;
int _PullCount;

int MousePX, MousePY;
int MouseLX, MouseLY;
int MouseMX, MouseMY;
int MousePL, MousePR;
int MouseCL, MouseCR;
int MouseDL, MouseDR;
int MouseLL, MouseLR;
unsigned MousePush, MouseLast;
int MouseMenu;
int _MouseArea;

float FrameTime;
uint32_t _WaitTime;

void kaAllInit() {
    hwnd = nullptr;
    _FullScreen = 1;
    _FullWindow = 0;
    _WindowActive = 0;
    _CloseEvent = 0;
    _ShowDialog = 0;
    _ShowMouse = 1;
    _Mutex = 0;
    // _WindowX and _WindowY keep their values: only WM_MOVE writes them.
    _ScreenNo = 0;
    _LastScreenNo = 0;
    _ChangeScreen = 0;
    _CallScreenNo = 0;
    DrawSkip = 0;
    Blink = 1;
    _BlinkTime = plat::TimeGetTime() + 1000;

    PushKey = LastKey = HelpKey = MenuKey = 0;
    PushShift = 0;
    _PullKey = 0;
    _PullCount = 0;

    MousePX = MousePY = 0;
    MouseLX = MouseLY = 0;
    MouseMX = MouseMY = 0;
    MousePL = MousePR = 0;
    MouseCL = MouseCR = 0;
    MouseDL = MouseDR = 0;
    MouseLL = MouseLR = 0;
    MousePush = MouseLast = 0;
    MouseMenu = 0;
    _MouseArea = 0;

    FrameTime = 0;
    _WaitTime = plat::TimeGetTime();
}
