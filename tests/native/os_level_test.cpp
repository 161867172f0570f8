#include <gtest/gtest.h>

#include <string>

#include "app/command_line.h"
#include "base/os_level.h"

TEST(OsLevel, OnlyNtFiveZeroAndMinorOneAreSupported) {
    EXPECT_EQ(210, OsLevelFor(2, 5, 0));
    EXPECT_EQ(220, OsLevelFor(2, 5, 1));
    EXPECT_EQ(220, OsLevelFor(2, 6, 1)) << "the major number is not looked at for minor 1";
    EXPECT_EQ(220, OsLevelFor(2, 4, 1));
    EXPECT_EQ(0, OsLevelFor(2, 5, 2));
    EXPECT_EQ(0, OsLevelFor(2, 6, 0));
    EXPECT_EQ(0, OsLevelFor(2, 6, 2));
    EXPECT_EQ(0, OsLevelFor(2, 4, 0));
    EXPECT_EQ(0, OsLevelFor(2, 10, 0));
    EXPECT_EQ(0, OsLevelFor(1, 4, 10)) << "the 9x line";
    EXPECT_EQ(0, OsLevelFor(1, 5, 1));
    EXPECT_EQ(0, OsLevelFor(0, 5, 0));
}

TEST(OsLevel, ShutdownRouteBandsAreInclusive) {
    const struct {
        int32_t level;
        ShutdownRoute route;
    } cases[] = {
        {0, ShutdownRoute::Refused},         {99, ShutdownRoute::Refused},
        {100, ShutdownRoute::Direct},        {120, ShutdownRoute::Direct},
        {121, ShutdownRoute::Refused},       {199, ShutdownRoute::Refused},
        {200, ShutdownRoute::WithPrivilege}, {210, ShutdownRoute::WithPrivilege},
        {220, ShutdownRoute::WithPrivilege}, {221, ShutdownRoute::Refused},
        {-210, ShutdownRoute::Refused},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.route, ShutdownRouteFor(c.level)) << c.level;
    }
}

// Every possible first byte: exactly the eight upper-case letters act, and
// nothing else does (lower case is upper-cased before, by the system).
TEST(QuickActions, OnlyTheEightLettersAct) {
    int acting = 0;
    for (int byte = -128; byte < 128; ++byte) {
        if (QuickActionForFirstByte(static_cast<signed char>(byte)) != QuickAction::None) {
            ++acting;
        }
    }
    EXPECT_EQ(8, acting);
    EXPECT_EQ(QuickAction::Hibernate, QuickActionForFirstByte('H'));
    EXPECT_EQ(QuickAction::MonitorOff, QuickActionForFirstByte('M'));
    EXPECT_EQ(QuickAction::LogOff, QuickActionForFirstByte('O'));
    EXPECT_EQ(QuickAction::Restart, QuickActionForFirstByte('R'));
    EXPECT_EQ(QuickAction::ScreenSaver, QuickActionForFirstByte('S'));
    EXPECT_EQ(QuickAction::Standby, QuickActionForFirstByte('U'));
    EXPECT_EQ(QuickAction::PowerOff, QuickActionForFirstByte('V'));
    EXPECT_EQ(QuickAction::Lock, QuickActionForFirstByte('Z'));
    EXPECT_EQ(QuickAction::None, QuickActionForFirstByte('\0'));
    EXPECT_EQ(QuickAction::None, QuickActionForFirstByte('h'));
    EXPECT_EQ(QuickAction::None, QuickActionForFirstByte('/'));
}

// A Czech letter (a byte of 128 or above here) is text wherever it stands.
TEST(CommandLine, ArgumentsFollowTheWholeName) {
    const char* const cases[][2] = {
        {"Nástroje\\halvexor.exe", ""}, {"Nástroje\\halvexor.exe z", "z"},
        {"\"C:\\Moje nástroje\\halvexor.exe\"  v", "v"}, {"C:\\\"a b\"\\halvexor.exe r", "r"},
        {"halvexor.exe Úsporný", "Úsporný"}, {"halvexor.exe\t \tZ /x", "Z /x"}, {"", ""}};
    for (const auto& c : cases) {
        std::string line = c[0];
        EXPECT_STREQ(c[1], ArgumentsOf(&line[0])) << c[0];
    }
}
