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
