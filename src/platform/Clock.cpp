// The millisecond clock: real monotonic time with a window, virtual time when
// headless (one exact 1/60 s step per frame, waits that complete at once),
// plus the precise sleeps and the 60 Hz refresh grid used by the display.
#include "platform/Clock.h"

#include <atomic>
#include <cerrno>
#include <ctime>

#include "platform/Backend.h"
#include "platform/Options.h"

namespace plat {

namespace {

// Virtual time counts sixtieths of a microsecond, so that one frame is the
// whole number 1,000,000 and frames never accumulate a rounding error.
constexpr uint64_t kUnitsPerMicro = 60;
constexpr uint64_t kUnitsPerMilli = 60 * 1000;
constexpr uint64_t kUnitsPerFrame = 1000 * 1000;

std::atomic<uint64_t> gVirtualUnits{0};
std::atomic<TimeListener> gListener{nullptr};

uint64_t RealOriginNanos() {
    static const uint64_t origin = detail::MonotonicNanos();
    return origin;
}

// The origin is read first: on the very first call it is set then.
uint64_t RealNanos() {
    uint64_t origin = RealOriginNanos();
    return detail::MonotonicNanos() - origin;
}

uint64_t RealMillis() { return RealNanos() / 1000000; }

bool Virtual() { return GetOptions().headless; }

void AdvanceVirtualTo(uint64_t units) {
    gVirtualUnits.store(units);
    if (TimeListener listener = gListener.load()) listener(units / kUnitsPerMicro);
}

// Milliseconds from `nowMs` until the clock has passed `deadlineMs`, reading
// the 32-bit deadline as the nearest one to now (it may have wrapped).
// Zero when the clock is already past it.
uint64_t MillisUntilPast(uint64_t nowMs, uint32_t deadlineMs) {
    int32_t ahead = static_cast<int32_t>(deadlineMs - static_cast<uint32_t>(nowMs));
    return ahead < 0 ? 0 : static_cast<uint64_t>(ahead) + 1;
}

}  // namespace

uint32_t TimeGetTime() {
    if (Virtual()) return static_cast<uint32_t>(gVirtualUnits.load() / kUnitsPerMilli);
    return static_cast<uint32_t>(RealMillis());
}

uint64_t TimeMicros() {
    if (Virtual()) return gVirtualUnits.load() / kUnitsPerMicro;
    return RealNanos() / 1000;
}

void SleepUntil(uint32_t deadlineMs) {
    if (Virtual()) {
        uint64_t nowMs = gVirtualUnits.load() / kUnitsPerMilli;
        uint64_t wait = MillisUntilPast(nowMs, deadlineMs);
        if (wait > 0) AdvanceVirtualTo((nowMs + wait) * kUnitsPerMilli);
        return;
    }
    uint64_t nowMs = RealMillis();
    uint64_t wait = MillisUntilPast(nowMs, deadlineMs);
    if (wait > 0) detail::SleepUntilNanos(RealOriginNanos() + (nowMs + wait) * 1000000);
}

void EndFrame() {
    if (Virtual()) AdvanceVirtualTo(gVirtualUnits.load() + kUnitsPerFrame);
}

void SetTimeListener(TimeListener listener) { gListener.store(listener); }

namespace detail {

uint64_t MonotonicNanos() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000000000u + static_cast<uint64_t>(ts.tv_nsec);
}

void SleepUntilNanos(uint64_t deadlineNs) {
    timespec ts;
    ts.tv_sec = static_cast<time_t>(deadlineNs / 1000000000u);
    ts.tv_nsec = static_cast<long>(deadlineNs % 1000000000u);
    // An absolute deadline: a signal that interrupts the sleep costs nothing,
    // the retry sleeps only for what is left.
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
    }
}

uint64_t NextRefreshNanos(uint64_t epochNs, uint64_t nowNs) {
    constexpr uint64_t kSecond = 1000000000u;
    if (nowNs < epochNs) return epochNs;
    // Index of the refresh after now, then its start computed from the epoch,
    // never by adding up rounded periods.
    uint64_t elapsed = nowNs - epochNs;
    uint64_t k = elapsed / kSecond * 60 + (elapsed % kSecond) * 60 / kSecond + 1;
    uint64_t start = epochNs + k / 60 * kSecond + (k % 60) * kSecond / 60;
    if (start <= nowNs) start = epochNs + (k + 1) / 60 * kSecond + ((k + 1) % 60) * kSecond / 60;
    return start;
}

void ResetVirtualClock() { gVirtualUnits.store(0); }

}  // namespace detail

}  // namespace plat
