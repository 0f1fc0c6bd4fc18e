// kaSystem's timing: start and end of the class, the ten wait slots, the
// frame-time measurement, the blocking pause and the key-release counter.
#include "draw/kaDraw.h"
#include "platform/Clock.h"
#include "shell/Globals.h"
#include "shell/kaSystem.h"

namespace {

// The value of a slot that is not armed.
constexpr uint32_t kDisarmed = 999999999u;
// Slot 10 is the private deadline of Stop.
constexpr int kStopSlot = 10;

uint32_t Now() { return plat::TimeGetTime(); }

bool ValidWaitNo(int No) { return No >= 1 && No <= 10; }

}  // namespace

uint32_t kaSystem::WaitTime[11];
uint32_t kaSystem::NowTime;

int kaSystem::Init() {
    for (uint32_t& slot : WaitTime) slot = kDisarmed;
    UnlockKey();
    SystemKey(0);
    if (_FullScreen != 0) WindowMouseArea();
    return 1;
}

void kaSystem::DestroyObject() { ClearMouseArea(); }

int kaSystem::SetWait(int No, int Time) {
    if (!ValidWaitNo(No)) return kaDraw::Error("kaSystem::SetWait", "ウェイトNoが範囲外です", 0);
    WaitTime[No - 1] = Now() + static_cast<uint32_t>(Time);
    return 1;
}

int kaSystem::InitWait(int No) {
    if (!ValidWaitNo(No)) return kaDraw::Error("kaSystem::InitWait", "ウェイトNoが範囲外です", 0);
    WaitTime[No - 1] = kDisarmed;
    return 1;
}

int kaSystem::Wait(int No) {
    // Out-of-range numbers read as never expiring rather than reading
    // outside the ten public slots.
    if (!ValidWaitNo(No)) return 0;
    return Now() >= WaitTime[No - 1] ? 1 : 0;
}

void kaSystem::InitFrame() {
    FrameTime = 0;
    _WaitTime = Now();
}

void kaSystem::UpdateFrame() {
    FrameTime = static_cast<float>(static_cast<double>(Now() - _WaitTime) / 1000.0);
    _WaitTime = Now();
}

void kaSystem::Stop(int Time) {
    WaitTime[kStopSlot] = Now() + static_cast<uint32_t>(Time);
    // Sleeps instead of spinning; nothing else runs meanwhile.
    while (!(Now() > WaitTime[kStopSlot])) plat::SleepUntil(WaitTime[kStopSlot]);
    InitFrame();
}

void kaSystem::SetPullCount(unsigned Code) {
    _PullKey = Code;
    _PullCount = 0;
}

int kaSystem::GetPullCount() { return _PullCount; }
