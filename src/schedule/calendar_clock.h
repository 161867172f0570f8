// The calendar operations that read the local clock.
#pragma once

#include "schedule/calendar.h"

// The local date and time, to the second.
DateTime LocalNow();

// One field of (target - now) in mode 0, of (now + offset) in mode 1, of the
// argument unchanged in any other mode; the clock is read afresh on each call.
int32_t CalendarDiff(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute,
                     int32_t second, int32_t component, int32_t mode);
