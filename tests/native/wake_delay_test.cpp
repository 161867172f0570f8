#include "actions/wake_delay.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

TEST(WakeDelay, ClampTable) {
    struct Row {
        int32_t seconds, standby, hibernate;
    } rows[] = {
        {5, 10, 30},        {20, 20, 30},        {29, 29, 30},
        {30, 30, 30},       {9, 10, 30},         {10, 10, 30},
        {-1, 10, 30},       {INT_MIN, 10, 30},   {2678400, 2678400, 2678400},
        {2678401, 2678400, 2678400},             {3000000, 2678400, 2678400},
        {INT_MAX, 2678400, 2678400},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(r.standby, ClampWakeDelay(r.seconds, 7)) << r.seconds;
        EXPECT_EQ(r.hibernate, ClampWakeDelay(r.seconds, 6)) << r.seconds;
    }
    // Only a hibernate gets the longer floor.
    EXPECT_EQ(20, ClampWakeDelay(20, 4));
}

TEST(WakeDelay, DueTimeIsRelativeIn100NanosecondUnits) {
    EXPECT_EQ(-100000000LL, WakeDueTime(10));
    EXPECT_EQ(-300000000LL, WakeDueTime(30));
    EXPECT_EQ(-26784000000000LL, WakeDueTime(2678400));
    EXPECT_EQ(-21474836470000000LL, WakeDueTime(INT_MAX));  // no 32-bit overflow
}
