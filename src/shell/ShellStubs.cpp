// Temporary definitions so that everything links; replaced piece by piece.
#include "shell/Globals.h"

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
double PAI2 = 2 * 3.141592653589793;
unsigned PushKey, LastKey, HelpKey, MenuKey;
int PushShift;
unsigned _PullKey;
int _PullCount;
int MousePX, MousePY, MouseLX, MouseLY, MouseMX, MouseMY, MousePL, MousePR, MouseCL, MouseCR, MouseDL, MouseDR,
    MouseLL, MouseLR;
unsigned MousePush, MouseLast;
int MouseMenu, _MouseArea;
float FrameTime;
uint32_t _WaitTime;

void kaAllInit() {}
int kaMutexCheck(const char*) { return 1; }
LRESULT WindowProc(HWND, UINT, WPARAM, LPARAM) { return 0; }
void KeyboardProc(unsigned) {}
void ChangeActive(int Active) { _WindowActive = Active; }
int kaRun(int, char**) { return 0; }
