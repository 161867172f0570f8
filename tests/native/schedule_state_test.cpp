#include <gtest/gtest.h>

#include <cstring>

#include "schedule/schedule_state.h"

TEST(ScheduleState, StartsWithNothingScheduledAndNoStoredTimes) {
    ScheduleState fresh;
    EXPECT_EQ(0, fresh.actionKind);
    EXPECT_EQ(-1, fresh.actionYear);
    EXPECT_EQ(-1, fresh.wakeYear);
    EXPECT_EQ(0, fresh.timerStage);
    EXPECT_EQ(0, gSchedule.actionKind);
    EXPECT_EQ(-1, gSchedule.actionYear);
}

TEST(ScheduleState, ResetClearsEveryFieldButTheStageBookkeeping) {
    ScheduleState schedule;
    // Every field set to something that is not its reset value.
    auto* fields = reinterpret_cast<int32_t*>(&schedule);
    for (size_t i = 0; i < sizeof schedule / sizeof(int32_t); ++i) fields[i] = 7 + static_cast<int32_t>(i);
    ResetScheduleRecord(schedule);

    ScheduleState expected;
    expected.timerStage = 7 + static_cast<int32_t>(offsetof(ScheduleState, timerStage) / 4);
    expected.warningShown = 7 + static_cast<int32_t>(offsetof(ScheduleState, warningShown) / 4);
    EXPECT_EQ(0, std::memcmp(&expected, &schedule, sizeof schedule));
}

TEST(ScheduleState, ResetWithNothingScheduledKeepsTheComponents) {
    ScheduleState schedule;
    schedule.actionYear = 2030;
    schedule.wakeDelaySeconds = 99;
    schedule.pollStep = 4;
    ResetScheduleRecord(schedule);
    EXPECT_EQ(2030, schedule.actionYear);
    EXPECT_EQ(99, schedule.wakeDelaySeconds);
    EXPECT_EQ(4, schedule.pollStep);
}
