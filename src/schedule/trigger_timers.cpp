#include "schedule/trigger_timers.h"

#include <windows.h>

#include "actions/actions.h"
#include "app/ids.h"
#include "app/main_window.h"
#include "app/status_display.h"
#include "schedule/calendar_clock.h"
#include "schedule/schedule_state.h"
#include "schedule/trigger_plan.h"
#include "settings/settings_file.h"

namespace {

// The fixed polling interval of the current schedule, in seconds; kept
// between schedules.
int32_t pollIntervalSeconds = 0;

// The clock panel is repainted within the tick, not by a later paint message.
void RepaintStatus() {
    RedrawWindow(gMainWindow, nullptr, nullptr, RDW_INVALIDATE);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(gMainWindow, &paint);
    PaintStatus(dc);
    EndPaint(gMainWindow, &paint);
}

// Carries out a decision of PlanTick or PlanReplan.
void CarryOut(const TimerStep& step) {
    if (step.killTimer != 0) {
        KillTimer(gMainWindow, static_cast<UINT_PTR>(step.killTimer));
    }
    switch (step.kind) {
        case TimerStep::Fire:
            gSchedule.timerStage = 0;
            ExecuteScheduledAction();
            break;
        case TimerStep::Arm:
            gSchedule.timerStage = step.newStage;
            SetTimer(gMainWindow, static_cast<UINT_PTR>(step.timerId), step.intervalMs, nullptr);
            break;
        case TimerStep::KeepRunning:
        case TimerStep::Ignore:
            break;
    }
}

}  // namespace

void ArmScheduleTimers() {
    RedrawWindow(gMainWindow, nullptr, nullptr, RDW_INVALIDATE);
    const ArmPlan plan = PlanArm(LocalNow(), gSchedule, gSettings);
    if (plan.executeNow) {
        ExecuteScheduledAction();
        return;
    }
    gSchedule.warningShown = 0;
    if (plan.startClockTimer) {
        SetTimer(gMainWindow, IDT_CLOCK, kClockIntervalMs, nullptr);
    }
    if (plan.setPollInterval) {
        pollIntervalSeconds = plan.pollIntervalSeconds;
    }
    gSchedule.timerStage = plan.newStage;
    SetTimer(gMainWindow, static_cast<UINT_PTR>(plan.timerId), plan.intervalMs, nullptr);
}

void HandleScheduleTimer(int timerId) {
    if (timerId == IDT_CLOCK) {
        RepaintStatus();
        return;
    }
    // A tick of a stage timer that is no longer armed (one already queued when
    // its schedule was carried out or cleared) must not be taken for the
    // armed one: with no schedule left it would end the program.
    if (timerId >= IDT_STAGE_FIRST && timerId <= IDT_STAGE_LAST && timerId != gSchedule.timerStage) {
        KillTimer(gMainWindow, static_cast<UINT_PTR>(timerId));
        return;
    }
    CarryOut(PlanTick(timerId, LocalNow(), gSchedule, gSettings, pollIntervalSeconds));
}

void ReplanScheduleTimers() {
    CarryOut(PlanReplan(LocalNow(), gSchedule, gSettings));
}
