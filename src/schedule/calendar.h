// Calendar arithmetic on broken-down local date-times.
//
// There is no time-stamp type: a date-time is six signed 32-bit fields in the
// order year, month, day, hour, minute, second, and every operation works on
// them field by field with explicit borrows and carries.  Every year divisible
// by 4 is a leap year (no century rule), on purpose.
//
// Platform-free: "now" is always an argument here.  The glue that reads the
// local clock lives in calendar_clock_win32.cpp.
#pragma once

#include <cstdint>

struct DateTime {
    int32_t year;
    int32_t month;
    int32_t day;
    int32_t hour;
    int32_t minute;
    int32_t second;
};

// CalendarComponent: which field an operation returns.
enum : int32_t {
    kComponentYear = 1,
    kComponentMonth = 2,
    kComponentDay = 3,
    kComponentHour = 4,
    kComponentMinute = 5,
    kComponentSecond = 6,
};

// CalendarMode.
enum : int32_t {
    kModeDifference = 0,
    kModeSum = 1,
};

// Reads a number from a dialog field: up to ten leading digits, 32-bit wrapping
// arithmetic, 0 when the text does not start with a digit.
int32_t ParseDecimal(const char* text);

// 29 for February in years divisible by 4, 28 in other years; 30 for April,
// June, September and November; 31 for every other value, out of range ones too.
int32_t DaysInMonth(int32_t month, int32_t year);

// 1 when valid, 0 when not; negative fields are never valid.
int IsValidDate(int32_t year, int32_t month, int32_t day);
int IsValidTime(int32_t hour, int32_t minute, int32_t second);

// a - b, or all zero fields when a is not later than b.  The day borrow takes
// the length of b's month.
DateTime CalendarDifference(const DateTime& a, const DateTime& b);

// a + b, where one of the two is a non-negative offset of any size.  The month
// carry comes before the day overflow.
DateTime CalendarSum(const DateTime& a, const DateTime& b);

// The field of `value` selected by `component`; 0 for a component outside 1..6.
int32_t CalendarField(const DateTime& value, int32_t component);

// One field of (first - second) in mode 0, of (first + second) in mode 1, of
// `first` unchanged in any other mode.
int32_t CalendarDiff2(int32_t year1, int32_t month1, int32_t day1, int32_t hour1,
                      int32_t minute1, int32_t second1, int32_t year2, int32_t month2,
                      int32_t day2, int32_t hour2, int32_t minute2, int32_t second2,
                      int32_t component, int32_t mode);

// CalendarDiff with the clock passed in: mode 0 gives a field of (target - now),
// mode 1 a field of (now + offset), any other mode the field of the argument.
int32_t CalendarDiffAt(const DateTime& now, int32_t year, int32_t month, int32_t day,
                       int32_t hour, int32_t minute, int32_t second, int32_t component,
                       int32_t mode);
