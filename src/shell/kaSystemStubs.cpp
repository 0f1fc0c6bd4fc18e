// Temporary definitions so that everything links; replaced piece by piece.
#include "shell/kaSystem.h"

uint32_t kaSystem::WaitTime[11]{};
uint32_t kaSystem::NowTime{};
int kaSystem::Init() { return 0; }
void kaSystem::DestroyObject() { }
int kaSystem::SetWait(int, int) { return 0; }
int kaSystem::InitWait(int) { return 0; }
int kaSystem::Wait(int) { return 0; }
void kaSystem::InitFrame() { }
void kaSystem::UpdateFrame() { }
void kaSystem::Stop(int) { }
void kaSystem::SetPullCount(unsigned) { }
int kaSystem::GetPullCount() { return 0; }
int kaSystem::KeyboardLock{};
int kaSystem::SystemKeyCheck{};
int kaSystem::StatusIME{};
int kaSystem::MouseAreaReady{};
void kaSystem::GetKey(unsigned, int*) { }
unsigned kaSystem::CheckKey(unsigned, ...) { return 0; }
void kaSystem::LockKey() { }
void kaSystem::UnlockKey() { }
void kaSystem::SystemKey(int) { }
void kaSystem::IME(int) { }
void kaSystem::InitMouse(int) { }
void kaSystem::MouseMove(int, int) { }
void kaSystem::MouseArea(int, int, int, int) { }
void kaSystem::WindowMouseArea() { }
void kaSystem::ClearMouseArea() { }
int kaSystem::GetMouseArea() { return 0; }
char kaSystem::InstallDirectory[256]{};
char* kaSystem::Directory(int) { return nullptr; }
void kaSystem::CheckInstall(const char*) { }
char* kaSystem::Parameter() { return nullptr; }
int kaSystem::ColorBit() { return 0; }
int kaSystem::WindowMode() { return 0; }
unsigned long kaSystem::FreeDisk(char) { return 0; }
unsigned long kaSystem::FreeMemory() { return 0; }
void kaSystem::GetDate(int*, int*, int*, char*) { }
void kaSystem::GetTime(int*, int*, int*) { }
int kaSystem::GetWindowsVersion() { return 0; }
void kaSystem::Message(const char*, ...) { }
int kaSystem::YesNo(const char*, ...) { return 0; }
