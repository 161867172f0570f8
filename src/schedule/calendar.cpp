// Calendar arithmetic on broken-down local date-times; see calendar.h.
#include "schedule/calendar.h"

namespace {

// Out-of-range fields and offsets of any size may push a field past 32 bits.
// The arithmetic is done in uint32_t so that it wraps instead of overflowing
// a signed int, which would be undefined.
int32_t WrapAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

int32_t WrapSub(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

int32_t ParseDecimal(const char* text) {
    // A leading blank or sign is not a digit either, so it gives 0.
    if (!IsAsciiDigit(text[0])) {
        return 0;
    }
    uint32_t value = static_cast<uint32_t>(text[0] - '0');
    // Only ten characters are looked at; a longer digit run is cut.
    for (int i = 1; i < 10 && IsAsciiDigit(text[i]); ++i) {
        // No overflow test: the fields hold at most four characters.
        value = value * 10u + static_cast<uint32_t>(text[i] - '0');
    }
    return static_cast<int32_t>(value);
}

int32_t DaysInMonth(int32_t month, int32_t year) {
    switch (month) {
        case 2:
            // Every fourth year is a leap year, century years too, on purpose.
            return year % 4 == 0 ? 29 : 28;
        case 4:
        case 6:
        case 9:
        case 11:
            return 30;
        default:
            // Months outside 1..12 count as 31 days, as the callers expect.
            return 31;
    }
}

int IsValidDate(int32_t year, int32_t month, int32_t day) {
    // Unsigned comparisons, so that every negative field fails the upper bound.
    if (static_cast<uint32_t>(year) > 9999u) {
        return 0;
    }
    if (static_cast<uint32_t>(month) - 1u >= 12u) {
        return 0;
    }
    const uint32_t length = static_cast<uint32_t>(DaysInMonth(month, year));
    return static_cast<uint32_t>(day) - 1u < length ? 1 : 0;
}

int IsValidTime(int32_t hour, int32_t minute, int32_t second) {
    return static_cast<uint32_t>(hour) <= 23u && static_cast<uint32_t>(minute) <= 59u &&
                   static_cast<uint32_t>(second) <= 59u
               ? 1
               : 0;
}

DateTime CalendarDifference(const DateTime& a, const DateTime& b) {
    DateTime d;
    d.year = WrapSub(a.year, b.year);
    d.month = WrapSub(a.month, b.month);
    d.day = WrapSub(a.day, b.day);
    d.hour = WrapSub(a.hour, b.hour);
    d.minute = WrapSub(a.minute, b.minute);
    d.second = WrapSub(a.second, b.second);

    // A target not later than b gives all zero fields, never negative ones, on purpose.
    const int32_t leading[] = {d.year, d.month, d.day, d.hour, d.minute};
    int32_t decider = d.second;
    for (int32_t v : leading) {
        if (v != 0) {
            decider = v;
            break;
        }
    }
    if (decider < 0) {
        return DateTime{0, 0, 0, 0, 0, 0};
    }

    // One borrow per field is enough for valid date-times.
    if (d.second < 0) {
        d.second += 60;
        d.minute = WrapSub(d.minute, 1);
    }
    if (d.minute < 0) {
        d.minute += 60;
        d.hour = WrapSub(d.hour, 1);
    }
    if (d.hour < 0) {
        d.hour += 24;
        d.day = WrapSub(d.day, 1);
    }
    if (d.day < 0) {
        // The day borrow takes the length of b's month, not a's previous one, on purpose.
        d.day += DaysInMonth(b.month, b.year);
        d.month = WrapSub(d.month, 1);
    }
    if (d.month < 0) {
        d.month += 12;
        d.year = WrapSub(d.year, 1);
    }
    return d;
}

DateTime CalendarSum(const DateTime& a, const DateTime& b) {
    DateTime s;
    s.year = WrapAdd(a.year, b.year);
    s.month = WrapAdd(a.month, b.month);
    s.day = WrapAdd(a.day, b.day);
    s.hour = WrapAdd(a.hour, b.hour);
    s.minute = WrapAdd(a.minute, b.minute);
    s.second = WrapAdd(a.second, b.second);

    // Each carry runs only on a positive field, so no division sees a negative
    // number; offsets are never negative, so nothing is borrowed.
    if (s.second > 59) {
        s.minute = WrapAdd(s.minute, s.second / 60);
        s.second %= 60;
    }
    if (s.minute > 59) {
        s.hour = WrapAdd(s.hour, s.minute / 60);
        s.minute %= 60;
    }
    if (s.hour > 23) {
        s.day = WrapAdd(s.day, s.hour / 24);
        s.hour %= 24;
    }
    // Months carry before days overflow, so 31 Jan + 1 month is 3 Mar, on purpose.
    if (s.month > 12) {
        s.year = WrapAdd(s.year, (s.month - 1) / 12);
        s.month = (s.month - 1) % 12 + 1;
    }
    int32_t length = DaysInMonth(s.month, s.year);
    while (s.day > length) {
        s.day -= length;
        ++s.month;
        if (s.month > 12) {
            s.month -= 12;
            s.year = WrapAdd(s.year, 1);
        }
        length = DaysInMonth(s.month, s.year);
    }
    return s;
}

int32_t CalendarField(const DateTime& value, int32_t component) {
    switch (component) {
        case kComponentYear:
            return value.year;
        case kComponentMonth:
            return value.month;
        case kComponentDay:
            return value.day;
        case kComponentHour:
            return value.hour;
        case kComponentMinute:
            return value.minute;
        case kComponentSecond:
            return value.second;
        default:
            // A component outside 1..6 gives 0 in every mode, on purpose.
            return 0;
    }
}

int32_t CalendarDiff2(int32_t year1, int32_t month1, int32_t day1, int32_t hour1,
                      int32_t minute1, int32_t second1, int32_t year2, int32_t month2,
                      int32_t day2, int32_t hour2, int32_t minute2, int32_t second2,
                      int32_t component, int32_t mode) {
    const DateTime first{year1, month1, day1, hour1, minute1, second1};
    const DateTime second{year2, month2, day2, hour2, minute2, second2};
    switch (mode) {
        case kModeDifference:
            return CalendarField(CalendarDifference(first, second), component);
        case kModeSum:
            return CalendarField(CalendarSum(first, second), component);
        default:
            // Any other mode returns the first date-time's field unchanged, on purpose.
            return CalendarField(first, component);
    }
}

int32_t CalendarDiffAt(const DateTime& now, int32_t year, int32_t month, int32_t day,
                       int32_t hour, int32_t minute, int32_t second, int32_t component,
                       int32_t mode) {
    const DateTime given{year, month, day, hour, minute, second};
    switch (mode) {
        case kModeDifference:
            return CalendarField(CalendarDifference(given, now), component);
        case kModeSum:
            return CalendarField(CalendarSum(now, given), component);
        default:
            // Any other mode returns the given field unchanged, on purpose.
            return CalendarField(given, component);
    }
}
