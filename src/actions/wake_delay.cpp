// The wake-up delay; see wake_delay.h.
#include "actions/wake_delay.h"

#include "actions/action_kind.h"
#include "schedule/schedule_state.h"

int32_t ClampWakeDelay(int32_t seconds, int32_t actionKind) {
    if (seconds < 10) seconds = 10;
    // A hibernation takes longer to go down than a standby, so it gets a longer lead.
    if (seconds < 30 && actionKind == kActionHibernate) seconds = 30;
    if (seconds > MaxWakeDelaySeconds) seconds = MaxWakeDelaySeconds;
    return seconds;
}

int64_t WakeDueTime(int32_t seconds) {
    // 64-bit: a month of seconds in 100 ns units is far past 32 bits.
    return -(static_cast<int64_t>(seconds) * 10000000);
}
