#include "schedule/calendar_clock.h"

#include <windows.h>

DateTime LocalNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return DateTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

int32_t CalendarDiff(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute,
                     int32_t second, int32_t component, int32_t mode) {
    return CalendarDiffAt(LocalNow(), year, month, day, hour, minute, second, component, mode);
}
