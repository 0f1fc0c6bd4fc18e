// The millisecond clock and frame time. With a window this is real time; in
// headless runs it is virtual: every frame advances it by 1000/60 ms and
// waits advance it at once, so runs are deterministic and fast.
#pragma once

#include <cstdint>

namespace plat {

// Milliseconds since start-up, wrapping at 2^32.
uint32_t TimeGetTime();

// Sleeps (never spins a core) until TimeGetTime() > deadline. Headless: moves
// the virtual clock past the deadline.
void SleepUntil(uint32_t deadlineMs);

// Called by the shell after every frame. Headless: advances the virtual
// clock by one 1/60 s frame. With a window: nothing.
void EndFrame();

// Virtual time in microseconds since start-up (headless); real time with a
// window. The listener (the headless audio mixer) is called with the new
// time after every advance of virtual time, on the thread that advanced it;
// real time flows by itself and calls nobody.
uint64_t TimeMicros();
using TimeListener = void (*)(uint64_t nowMicros);
void SetTimeListener(TimeListener listener);

}  // namespace plat
