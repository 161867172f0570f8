#include "schedule/schedule_state.h"

ScheduleState gSchedule;
ScheduleEdit gScheduleEdit;

void ResetScheduleRecord(ScheduleState& schedule) {
    if (schedule.actionKind == 0) {
        return;
    }
    ScheduleState cleared;
    cleared.timerStage = schedule.timerStage;
    cleared.warningShown = schedule.warningShown;
    schedule = cleared;
}

DateTime ActionTime(const ScheduleState& s) {
    return DateTime{s.actionYear, s.actionMonth, s.actionDay, s.actionHour, s.actionMinute, s.actionSecond};
}

DateTime WakeTime(const ScheduleState& s) {
    return DateTime{s.wakeYear, s.wakeMonth, s.wakeDay, s.wakeHour, s.wakeMinute, s.wakeSecond};
}

void SetActionTime(ScheduleState& s, const DateTime& t) {
    s.actionYear = t.year;
    s.actionMonth = t.month;
    s.actionDay = t.day;
    s.actionHour = t.hour;
    s.actionMinute = t.minute;
    s.actionSecond = t.second;
}

void SetWakeTime(ScheduleState& s, const DateTime& t) {
    s.wakeYear = t.year;
    s.wakeMonth = t.month;
    s.wakeDay = t.day;
    s.wakeHour = t.hour;
    s.wakeMinute = t.minute;
    s.wakeSecond = t.second;
}
