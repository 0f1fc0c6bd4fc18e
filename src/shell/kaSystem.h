// kaSystem: frame time and wait timers, key and mouse helpers, the program
// folder and system queries, message boxes, settings files, and the free
// function DEBUG that appends a line to the debug log.
#pragma once

#include <cstdint>

class kaSystem {
public:
    // Frame timing and wait slots.
    static uint32_t WaitTime[11];
    static uint32_t NowTime;
    static int Init();
    static void DestroyObject();
    static int SetWait(int No, int Time);
    static int InitWait(int No);
    static int Wait(int No);
    static void InitFrame();
    static void UpdateFrame();
    static void Stop(int Time);
    static void SetPullCount(unsigned Code);
    static int GetPullCount();

    // Keyboard and mouse.
    static int KeyboardLock;
    static int SystemKeyCheck;
    static int StatusIME;
    static int MouseAreaReady;
    static void GetKey(unsigned Code, int* Flag);
    static unsigned CheckKey(unsigned Code, ...);
    static void LockKey();
    static void UnlockKey();
    static void SystemKey(int Flag);
    static void IME(int Flag);
    static void InitMouse(int Flag);
    static void MouseMove(int x, int y);
    static void MouseArea(int X1, int Y1, int X2, int Y2);
    static void WindowMouseArea();
    static void ClearMouseArea();
    static int GetMouseArea();

    // Program folder and system queries.
    static char InstallDirectory[256];
    static char* Directory(int Install);
    static void CheckInstall(const char* FileName);
    static char* Parameter();
    static int ColorBit();
    static int WindowMode();
    static unsigned long FreeDisk(char Drive);
    static unsigned long FreeMemory();
    static void GetDate(int* Year, int* Month, int* Day, char* Week);
    static void GetTime(int* Hour, int* Minute, int* Second);
    static int GetWindowsVersion();

    // Message boxes.
    static void Message(const char* Format, ...);
    static int YesNo(const char* Format, ...);

    // One-number settings files and the colour-depth warning.
    static void SaveScreenMode(const char* FileName, int Mode);
    static void SaveMidiMode(const char* FileName, int Mode);
    static int LoadScreenMode(const char* FileName);
    static int LoadMidiMode(const char* FileName);
    static int WarningColorBit(const char* FileName);
};

// Appends the formatted text and a line feed to DEBUG.TXT.
void DEBUG(const char* Format, ...);
