#include "schedule/calendar.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <tuple>

namespace {

std::string Str(const DateTime& t) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return buf;
}

// Whole results gathered the way the callers do it: one call per component.
DateTime ViaDiff2(const DateTime& a, const DateTime& b, int32_t mode) {
    int32_t f[6];
    for (int32_t c = 1; c <= 6; ++c) {
        f[c - 1] = CalendarDiff2(a.year, a.month, a.day, a.hour, a.minute, a.second, b.year,
                                 b.month, b.day, b.hour, b.minute, b.second, c, mode);
    }
    return DateTime{f[0], f[1], f[2], f[3], f[4], f[5]};
}

DateTime ViaDiffAt(const DateTime& now, const DateTime& given, int32_t mode) {
    int32_t f[6];
    for (int32_t c = 1; c <= 6; ++c) {
        f[c - 1] = CalendarDiffAt(now, given.year, given.month, given.day, given.hour,
                                  given.minute, given.second, c, mode);
    }
    return DateTime{f[0], f[1], f[2], f[3], f[4], f[5]};
}

// Independent model of the calendar (every fourth year leap) for cross-checks.
int MonthLength(int month, int year) {
    static const int kLength[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && year % 4 == 0 ? 29 : kLength[month - 1];
}

// Days since 0000-01-01, for years >= 0.
int64_t DaySerial(int64_t year, int month, int day) {
    int64_t n = 365 * year + (year + 3) / 4;
    for (int m = 1; m < month; ++m) n += MonthLength(m, static_cast<int>(year));
    return n + day - 1;
}

bool Same(const DateTime& x, const DateTime& y) {
    return std::tie(x.year, x.month, x.day, x.hour, x.minute, x.second) ==
           std::tie(y.year, y.month, y.day, y.hour, y.minute, y.second);
}

bool Valid(const DateTime& t) {
    return IsValidDate(t.year, t.month, t.day) == 1 && IsValidTime(t.hour, t.minute, t.second) == 1;
}

}  // namespace

TEST(ParseDecimal, ReadsLeadingDigitsOnly) {
    const struct {
        const char* text;
        int32_t expected;
    } cases[] = {
        {"", 0},           {"007", 7},
        {"12ab", 12},      {" 5", 0},
        {"-5", 0},         {"+5", 0},
        {"12345678901", 1234567890},
        {"1234567890", 1234567890},
        {"0", 0},          {"2006", 2006},
        {"12 3", 12},      {"5\xB9", 5},  // a CP1250 letter after the digit
        {"\xB2" "5", 0},   {"9/", 9},
        {":9", 0},         {"/9", 0},
        // Ten digits are read without an overflow test and wrap at 32 bits.
        {"4294967295", -1}, {"9999999999", 1410065407},
        {"2147483648", INT32_MIN},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseDecimal(c.text), c.expected) << '"' << c.text << '"';
    }
}

// 200000 random byte strings, each compared with a 64-bit reference model.
TEST(ParseDecimal, MatchesReferenceOnRandomText) {
    std::mt19937 rng(20060131u);
    const std::string others = "+- \t/:aZ\xB9\xE8\x80\xFF\x7F\x01";
    for (int i = 0; i < 200000; ++i) {
        std::string text;
        const int length = static_cast<int>(rng() % 16);
        const auto digitShare = rng() % 101;  // some strings are long digit runs
        for (int k = 0; k < length; ++k) {
            if (rng() % 100 < digitShare) {
                text += static_cast<char>('0' + rng() % 10);
            } else if (rng() % 2 == 0) {
                text += others[rng() % others.size()];
            } else {
                text += static_cast<char>(1 + rng() % 255);
            }
        }
        uint64_t model = 0;
        for (size_t k = 0; k < text.size() && k < 10; ++k) {
            const unsigned char ch = static_cast<unsigned char>(text[k]);
            if (ch < '0' || ch > '9') break;
            model = model * 10 + (ch - '0');
        }
        ASSERT_EQ(ParseDecimal(text.c_str()), static_cast<int32_t>(static_cast<uint32_t>(model)))
            << "input #" << i;
    }
}

TEST(DaysInMonth, LengthsWithoutCenturyRule) {
    const int32_t common[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int32_t m = 1; m <= 12; ++m) {
        EXPECT_EQ(DaysInMonth(m, 2006), common[m - 1]) << m;
        EXPECT_EQ(DaysInMonth(m, 2008), m == 2 ? 29 : common[m - 1]) << m;
    }
    EXPECT_EQ(DaysInMonth(2, 2100), 29);
    EXPECT_EQ(DaysInMonth(2, 0), 29);
    EXPECT_EQ(DaysInMonth(2, 2101), 28);
    for (int32_t m : {0, 13, -1, INT32_MIN, INT32_MAX}) EXPECT_EQ(DaysInMonth(m, 2008), 31) << m;
}

TEST(IsValidDate, Bounds) {
    const struct {
        int32_t y, m, d;
        int expected;
    } cases[] = {
        {2004, 2, 29, 1}, {2100, 2, 29, 1}, {0, 2, 29, 1},     {0, 1, 1, 1},
        {9999, 12, 31, 1}, {2006, 4, 30, 1}, {2006, 2, 29, 0},  {2006, 4, 31, 0},
        {2006, 0, 1, 0},  {2006, 13, 1, 0},  {2006, 1, 0, 0},   {10000, 1, 1, 0},
        {2006, 1, 32, 0}, {-1, 1, 1, 0},     {2006, -1, 1, 0},  {2006, 1, -1, 0},
        {INT32_MIN, 1, 1, 0}, {2006, INT32_MIN, 1, 0}, {2006, 1, INT32_MIN, 0},
        {2006, INT32_MAX, 1, 0}, {2006, 1, INT32_MAX, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsValidDate(c.y, c.m, c.d), c.expected) << c.y << '-' << c.m << '-' << c.d;
    }
}

TEST(IsValidTime, Bounds) {
    const struct {
        int32_t h, m, s;
        int expected;
    } cases[] = {
        {23, 59, 59, 1}, {0, 0, 0, 1},  {24, 0, 0, 0},         {0, 60, 0, 0},
        {0, 0, 60, 0},   {-1, 0, 0, 0}, {0, -1, 0, 0},         {0, 0, -1, 0},
        {INT32_MIN, 0, 0, 0}, {0, 0, INT32_MIN, 0}, {0, INT32_MAX, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsValidTime(c.h, c.m, c.s), c.expected) << c.h << ':' << c.m << ':' << c.s;
    }
}

TEST(CalendarDifference, WorkedResults) {
    const struct {
        DateTime target, now;
        const char* expected;
    } cases[] = {
        {{2006, 2, 1, 9, 0, 0}, {2006, 1, 31, 10, 0, 0}, "0-00-00 23:00:00"},
        // The day borrow takes January's 31 days, not February's 28.
        {{2006, 3, 10, 12, 0, 0}, {2006, 1, 15, 12, 0, 0}, "0-01-26 00:00:00"},
        // Now in February: its length in now's year is borrowed.
        {{2006, 3, 5, 0, 0, 0}, {2006, 2, 20, 0, 0, 0}, "0-00-13 00:00:00"},
        {{2008, 3, 5, 0, 0, 0}, {2008, 2, 20, 0, 0, 0}, "0-00-14 00:00:00"},
        {{2007, 2, 10, 0, 0, 0}, {2006, 11, 20, 0, 0, 0}, "0-02-20 00:00:00"},
        {{2009, 6, 1, 0, 0, 0}, {2006, 6, 1, 0, 0, 0}, "3-00-00 00:00:00"},
        // Every field borrows once.
        {{2007, 1, 1, 0, 0, 0}, {2006, 12, 31, 23, 59, 59}, "0-00-00 00:00:01"},
        {{2006, 5, 5, 5, 5, 6}, {2006, 5, 5, 5, 5, 5}, "0-00-00 00:00:01"},
        {{2006, 5, 5, 5, 5, 5}, {2006, 5, 5, 5, 5, 5}, "0-00-00 00:00:00"},
        {{2006, 5, 5, 5, 5, 4}, {2006, 5, 5, 5, 5, 5}, "0-00-00 00:00:00"},
        // Earlier targets give zero however much later their smaller fields are.
        {{2005, 12, 31, 23, 59, 59}, {2006, 1, 1, 0, 0, 0}, "0-00-00 00:00:00"},
        {{2006, 5, 5, 4, 59, 59}, {2006, 5, 5, 5, 0, 0}, "0-00-00 00:00:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Str(c.now) + " -> " + Str(c.target));
        EXPECT_EQ(Str(CalendarDifference(c.target, c.now)), c.expected);
        EXPECT_EQ(Str(ViaDiff2(c.target, c.now, kModeDifference)), c.expected);
        EXPECT_EQ(Str(ViaDiffAt(c.now, c.target, kModeDifference)), c.expected);
    }
}

TEST(CalendarSum, CarriesAcrossMonthAndYearEnds) {
    const struct {
        DateTime start, offset;
        const char* expected;
    } cases[] = {
        {{2006, 1, 31, 23, 59, 30}, {0, 0, 0, 0, 0, 45}, "2006-02-01 00:00:15"},
        // The month is added first and the excess days spill into March.
        {{2006, 1, 31, 0, 0, 0}, {0, 1, 0, 0, 0, 0}, "2006-03-03 00:00:00"},
        {{2008, 1, 31, 0, 0, 0}, {0, 1, 0, 0, 0, 0}, "2008-03-02 00:00:00"},
        {{2006, 12, 31, 0, 0, 0}, {0, 2, 0, 0, 0, 0}, "2007-03-03 00:00:00"},
        {{2007, 12, 31, 0, 0, 0}, {0, 2, 0, 0, 0, 0}, "2008-03-02 00:00:00"},
        {{2006, 12, 31, 23, 59, 59}, {0, 0, 0, 0, 0, 1}, "2007-01-01 00:00:00"},
        {{2006, 2, 28, 12, 0, 0}, {0, 0, 0, 0, 0, 86400}, "2006-03-01 12:00:00"},
        {{2008, 2, 28, 12, 0, 0}, {0, 0, 0, 0, 0, 86400}, "2008-02-29 12:00:00"},
        {{2100, 2, 28, 0, 0, 0}, {0, 0, 1, 0, 0, 0}, "2100-02-29 00:00:00"},
        {{2006, 1, 25, 0, 0, 0}, {0, 0, 40, 0, 0, 0}, "2006-03-06 00:00:00"},
        {{2008, 1, 25, 0, 0, 0}, {0, 0, 40, 0, 0, 0}, "2008-03-05 00:00:00"},
        {{2006, 12, 10, 0, 0, 0}, {0, 0, 40, 0, 0, 0}, "2007-01-19 00:00:00"},
        {{2006, 1, 1, 0, 0, 0}, {0, 0, 0, 0, 0, 31536000}, "2007-01-01 00:00:00"},
        {{2008, 1, 1, 0, 0, 0}, {0, 0, 0, 0, 0, 31536000}, "2008-12-31 00:00:00"},
        {{2006, 12, 31, 23, 59, 59}, {0, 0, 0, 0, 0, 31536000}, "2007-12-31 23:59:59"},
        {{2007, 12, 31, 23, 59, 59}, {0, 0, 0, 0, 0, 31536000}, "2008-12-30 23:59:59"},
        {{2006, 1, 1, 0, 0, 0}, {0, 0, 0, 0, 1440, 0}, "2006-01-02 00:00:00"},
        {{2006, 1, 1, 0, 0, 0}, {0, 0, 0, 744, 0, 0}, "2006-02-01 00:00:00"},
        {{2006, 5, 15, 0, 0, 0}, {0, 13, 0, 0, 0, 0}, "2007-06-15 00:00:00"},
        {{2006, 12, 10, 0, 0, 0}, {0, 12, 0, 0, 0, 0}, "2007-12-10 00:00:00"},
        {{2006, 12, 10, 0, 0, 0}, {1, 25, 0, 0, 0, 0}, "2010-01-10 00:00:00"},
        {{2006, 12, 10, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, "2006-12-10 00:00:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Str(c.start) + " + " + Str(c.offset));
        EXPECT_EQ(Str(CalendarSum(c.start, c.offset)), c.expected);
        EXPECT_EQ(Str(ViaDiff2(c.start, c.offset, kModeSum)), c.expected);
        EXPECT_EQ(Str(ViaDiff2(c.offset, c.start, kModeSum)), c.expected);
        EXPECT_EQ(Str(ViaDiffAt(c.start, c.offset, kModeSum)), c.expected);
    }
}

TEST(CalendarSum, HugeOffsets) {
    // INT32_MAX seconds carry all the way up to 24855 days, 3:14:07.
    const DateTime start{2006, 1, 1, 0, 0, 0};
    DateTime r = CalendarSum(start, DateTime{0, 0, 0, 0, 0, INT32_MAX});
    ASSERT_TRUE(Valid(r)) << Str(r);
    EXPECT_EQ(DaySerial(r.year, r.month, r.day), DaySerial(2006, 1, 1) + 24855);
    EXPECT_EQ(std::make_tuple(r.hour, r.minute, r.second), std::make_tuple(3, 14, 7));

    // About 5.9 million years of days still land on a real day of a real month.
    r = CalendarSum(start, DateTime{0, 0, INT32_MAX - 1, 0, 0, 0});
    ASSERT_TRUE(r.month >= 1 && r.month <= 12 && r.day >= 1 &&
                r.day <= MonthLength(r.month, r.year)) << Str(r);
    EXPECT_EQ(DaySerial(r.year, r.month, r.day), DaySerial(2006, 1, 1) + (INT32_MAX - 1));

    // A field pushed past 32 bits wraps negative and is then left alone.
    r = CalendarSum(DateTime{2006, 1, 1, 0, 0, 1}, DateTime{0, 0, 0, 0, 0, INT32_MAX});
    EXPECT_EQ(Str(r), Str(DateTime{2006, 1, 1, 0, 0, INT32_MIN}));
    r = CalendarSum(DateTime{2006, 1, 1, 0, 0, 0}, DateTime{0, 0, INT32_MAX, 0, 0, 0});
    EXPECT_EQ(Str(r), Str(DateTime{2006, 1, INT32_MIN, 0, 0, 0}));
}

TEST(CalendarOperations, ComponentOrModeOutOfRange) {
    const DateTime first{2006, 13, -4, 25, 61, 99};
    const DateTime second{2007, 3, 4, 5, 6, 7};
    const int32_t modes[] = {kModeDifference, kModeSum, 2, -1, INT32_MAX};
    for (int32_t mode : modes) {
        for (int32_t component : {0, 7, -1, INT32_MIN, INT32_MAX}) {
            EXPECT_EQ(CalendarDiff2(first.year, first.month, first.day, first.hour, first.minute,
                                    first.second, second.year, second.month, second.day,
                                    second.hour, second.minute, second.second, component, mode),
                      0)
                << mode << ' ' << component;
            EXPECT_EQ(CalendarDiffAt(second, first.year, first.month, first.day, first.hour,
                                     first.minute, first.second, component, mode),
                      0)
                << mode << ' ' << component;
        }
    }
    for (int32_t mode : {2, -1, INT32_MIN}) {
        EXPECT_EQ(Str(ViaDiff2(first, second, mode)), Str(first)) << mode;
        EXPECT_EQ(Str(ViaDiffAt(second, first, mode)), Str(first)) << mode;
    }
}

// 100000 random pairs of valid date-times between 1998 and 2010, half of them
// differing in one field only so that ties and single borrows are common.
TEST(CalendarDifference, SumOfDifferenceReturnsToTarget) {
    std::mt19937 rng(31012006u);
    auto pick = [&rng](int lo, int hi) { return lo + static_cast<int>(rng() % unsigned(hi - lo + 1)); };
    auto randomDate = [&](DateTime& t) {
        t.year = pick(1998, 2010);
        t.month = pick(1, 12);
        t.day = pick(1, MonthLength(t.month, t.year));
        t.hour = pick(0, 23);
        t.minute = pick(0, 59);
        t.second = pick(0, 59);
    };
    int later = 0, exact = 0, shifted = 0;
    for (int i = 0; i < 100000; ++i) {
        DateTime a, b;
        randomDate(a);
        randomDate(b);
        if (i % 2 == 1) {
            DateTime c = a;
            int32_t* to[] = {&c.year, &c.month, &c.day, &c.hour, &c.minute, &c.second};
            int32_t* from[] = {&b.year, &b.month, &b.day, &b.hour, &b.minute, &b.second};
            const auto k = rng() % 6;
            *to[k] = *from[k];
            if (Valid(c)) b = c;
        }
        const DateTime d = CalendarDifference(a, b);
        const DateTime zero{0, 0, 0, 0, 0, 0};
        const auto ta = std::tie(a.year, a.month, a.day, a.hour, a.minute, a.second);
        const auto tb = std::tie(b.year, b.month, b.day, b.hour, b.minute, b.second);
        if (!(tb < ta)) {
            ASSERT_TRUE(Same(d, zero)) << Str(b) << " -> " << Str(a) << " = " << Str(d);
            continue;
        }
        ++later;
        ASSERT_TRUE(!Same(d, zero) && d.year >= 0 && d.month >= 0 && d.month <= 11 &&
                    d.day >= 0 && d.day <= 30 && d.hour >= 0 && d.hour <= 23 && d.minute >= 0 &&
                    d.minute <= 59 && d.second >= 0 && d.second <= 59)
            << Str(b) << " -> " << Str(a) << " = " << Str(d);

        // b + (a - b) is a itself unless a day was borrowed and b's month is not
        // as long as the month before a; then it misses by the difference in length.
        const bool dayBorrowed = std::tie(a.day, a.hour, a.minute, a.second) <
                                 std::tie(b.day, b.hour, b.minute, b.second);
        const int before = a.month == 1 ? MonthLength(12, a.year - 1) : MonthLength(a.month - 1, a.year);
        const int shift = dayBorrowed ? MonthLength(b.month, b.year) - before : 0;
        const DateTime s = CalendarSum(b, d);
        ASSERT_TRUE(Valid(s) &&
                    DaySerial(s.year, s.month, s.day) == DaySerial(a.year, a.month, a.day) + shift &&
                    std::tie(s.hour, s.minute, s.second) == std::tie(a.hour, a.minute, a.second))
            << Str(b) << " + " << Str(d) << " = " << Str(s) << ", not " << Str(a) << " moved by "
            << shift << " days";
        ++(shift == 0 ? exact : shifted);
    }
    EXPECT_GT(later, 30000);
    EXPECT_GT(exact, 20000);
    EXPECT_GT(shifted, 1000);
}

// 100000 rounds, each with one difference and one sum (taken both ways) of
// random fields anywhere in 32 bits (edge values, small out-of-range and
// negative ones), and one valid start plus a random non-negative offset.
// Nothing may crash or overflow, and valid inputs give in-range results.
TEST(CalendarOperations, RandomFieldsAreHandled) {
    std::mt19937 rng(404u);
    const int32_t edges[] = {INT32_MIN, INT32_MIN + 1, -60, -1, 0, 1, 12, 13, 23, 24,
                             31, 32, 59, 60, 9999, 10000, INT32_MAX - 1, INT32_MAX};
    auto any = [&]() -> int32_t {
        switch (rng() % 3) {
            case 0: return edges[rng() % (sizeof edges / sizeof edges[0])];
            case 1: return static_cast<int32_t>(rng() % 201) - 100;
            default: return static_cast<int32_t>(rng());
        }
    };
    // The day loop of a sum runs once per month of days, so the fields that
    // reach the days stay modest to keep this quick.
    auto modest = [&]() -> int32_t { return static_cast<int32_t>(rng() % 4001) - 2000; };
    for (int i = 0; i < 100000; ++i) {
        const DateTime a{any(), any(), any(), any(), any(), any()};
        const DateTime b{any(), any(), any(), any(), any(), any()};
        const DateTime d = CalendarDifference(a, b);
        if (Valid(a) && Valid(b)) {
            ASSERT_TRUE(d.year >= 0 && d.month >= 0 && d.month <= 11 && d.day >= 0 &&
                        d.day <= 30 && d.hour >= 0 && d.hour <= 23 && d.minute >= 0 &&
                        d.minute <= 59 && d.second >= 0 && d.second <= 59)
                << Str(a) << " - " << Str(b) << " = " << Str(d);
        }
        ASSERT_TRUE(Same(CalendarDifference(a, a), DateTime{0, 0, 0, 0, 0, 0})) << Str(a);
        (void)IsValidDate(a.year, a.month, a.day);
        (void)IsValidTime(a.hour, a.minute, a.second);
        (void)DaysInMonth(a.month, a.year);

        const DateTime p{any(), any(), modest(), modest(), modest(), any()};
        const DateTime q{any(), any(), modest(), modest(), modest(), any()};
        const DateTime s = CalendarSum(p, q);
        ASSERT_TRUE(Same(s, CalendarSum(q, p))) << Str(p) << " + " << Str(q);
        // A valid start plus a non-negative offset ends on a valid month, day and time.
        DateTime start{static_cast<int32_t>(rng() % 10000), static_cast<int32_t>(1 + rng() % 12), 1,
                       static_cast<int32_t>(rng() % 24), static_cast<int32_t>(rng() % 60),
                       static_cast<int32_t>(rng() % 60)};
        start.day = static_cast<int32_t>(1 + rng() % static_cast<unsigned>(MonthLength(start.month, start.year)));
        const DateTime offset{static_cast<int32_t>(rng() % 10000),
                              static_cast<int32_t>(rng() % 100000),
                              static_cast<int32_t>(rng() % 2000),
                              static_cast<int32_t>(rng() % 20000),
                              static_cast<int32_t>(rng() % 200000),
                              static_cast<int32_t>(rng() % 20000000)};
        const DateTime t = CalendarSum(start, offset);
        ASSERT_TRUE(t.month >= 1 && t.month <= 12 && t.day >= 1 &&
                    t.day <= MonthLength(t.month, t.year) && IsValidTime(t.hour, t.minute, t.second))
            << Str(start) << " + " << Str(offset) << " = " << Str(t);
    }
}
