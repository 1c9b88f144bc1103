#pragma once
// Two clocks: a millisecond clock for time-outs and measured delays, and the coarse tick clock
// (steps of 15.625 ms, 64 Hz) that the light and sync threads count effect steps in.
#include <cstdint>

namespace dravik::platform {

inline constexpr double kTickStepMs = 15.625;

// Milliseconds since an arbitrary start, monotonic.
uint64_t NowMs();
// The coarse tick count: milliseconds since start, advancing only in 15.625 ms steps.
uint32_t TickCount();
// Sleeps at least ms milliseconds (not abortable; workers use their stop event instead).
void SleepMs(uint32_t ms);
// Sleeps until the coarse tick clock has advanced at least once.
void SleepUntilNextTick();

}  // namespace dravik::platform
