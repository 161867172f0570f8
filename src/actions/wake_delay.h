// The wake-up delay after a scheduled hibernate or standby: its limits and the
// relative due time of the waitable timer.  Platform-free.
#pragma once

#include <cstdint>

// The delay the wake-up timer is armed with, in seconds: at least 10, at least
// 30 before a hibernate (actionKind 6), at most MaxWakeDelaySeconds.  The
// limits are applied in that order, with signed comparisons.
int32_t ClampWakeDelay(int32_t seconds, int32_t actionKind);

// The waitable timer's due time for a delay, in 100-nanosecond units; negative,
// as it counts from the moment of arming (10 s give -100000000).
int64_t WakeDueTime(int32_t seconds);
