// The one pending schedule, and the scheduling dialog's working copy of it.
// A schedule lives only as long as the process; nothing of it is stored.
#pragma once

#include <cstdint>

#include "schedule/calendar.h"

// The longest wake delay: 31 days.
constexpr int32_t MaxWakeDelaySeconds = 2678400;

// Every field is a signed 32-bit value; flags hold 0 or 1.  The six action and
// the six wake components always hold absolute local times, whatever form the
// user typed them in; the form flags only let the dialog show them that way
// again.  A year of -1 means that no time is stored.
struct ScheduleState {
    int32_t actionKind = 0;  // ActionKind; 0 = nothing scheduled
    int32_t actionYear = -1;
    int32_t actionMonth = 0;
    int32_t actionDay = 0;
    int32_t actionHour = 0;
    int32_t actionMinute = 0;
    int32_t actionSecond = 0;
    int32_t actionUsesSeconds = 0;
    int32_t actionIsCountdown = 0;
    int32_t applyImmediately = 0;
    int32_t pollStep = 0;  // 0 = cascade, 1..12 = fixed step
    int32_t countdownSeconds = 0;
    int32_t wakeEnabled = 0;
    int32_t wakeYear = -1;
    int32_t wakeMonth = 0;
    int32_t wakeDay = 0;
    int32_t wakeHour = 0;
    int32_t wakeMinute = 0;
    int32_t wakeSecond = 0;
    int32_t wakeUsesSeconds = 0;
    int32_t wakeIsCountdown = 0;
    int32_t wakeRelativeToAction = 0;
    int32_t wakeDelaySeconds = 0;
    int32_t timerStage = 0;    // id of the armed stage timer, 0 = none
    int32_t warningShown = 0;  // the pre-action warning was given for this schedule
};

// Written while the scheduling dialog is open (the polling-step dialog too) and
// copied into the schedule by its OK.
struct ScheduleEdit {
    int32_t editPollStep = 0;
    int32_t editActionKind = 0;
    int32_t editActionUsesSeconds = 0;
    int32_t editWakeUsesSeconds = 0;
    int32_t editWakeEnabled = 0;
    int32_t editApplyImmediately = 0;
    int32_t editActionIsCountdown = 0;
    int32_t editWakeIsCountdown = 0;
    int32_t editWakeRelativeToAction = 0;
    int32_t editCountdownSeconds = 0;
    int32_t editWakeDelaySeconds = 0;
};

// The process-wide records.  Written on the main thread only.
extern ScheduleState gSchedule;
extern ScheduleEdit gScheduleEdit;

// The six action or wake components as one date-time, and back.
DateTime ActionTime(const ScheduleState& schedule);
DateTime WakeTime(const ScheduleState& schedule);
void SetActionTime(ScheduleState& schedule, const DateTime& time);
void SetWakeTime(ScheduleState& schedule, const DateTime& time);

// The record part of ClearSchedule: when something is scheduled, every field
// takes its reset value, `actionKind` last; `timerStage` and `warningShown` are
// left alone.  Nothing happens when nothing is scheduled.
void ResetScheduleRecord(ScheduleState& schedule);
