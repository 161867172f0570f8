#include "schedule/trigger_timers.h"

#include <windows.h>

#include "actions/actions.h"
#include "base/ids.h"
#include "base/wide_text.h"
#include "schedule/calendar_clock.h"
#include "schedule/schedule_state.h"
#include "schedule/trigger_plan.h"
#include "settings/settings_file.h"

namespace {

// The fixed polling interval of the current schedule, in seconds; kept
// between schedules.
int32_t pollIntervalSeconds = 0;

// The countdown timer of the current schedule: when it was started and its
// interval.  It runs on the tick count, whatever the wall clock does.
DWORD countdownStartTick = 0;
uint32_t countdownIntervalMs = 0;

bool CountdownArmed() {
    return gSettings.useCountdown == 1 && gSchedule.actionKind != 0 &&
           gSchedule.timerStage == kTimerStart;
}

// Milliseconds until the countdown timer fires; negative once it is due.
int64_t CountdownMsLeft() {
    return static_cast<int64_t>(countdownIntervalMs) -
           static_cast<int64_t>(GetTickCount() - countdownStartTick);
}

// Carries out a decision of PlanTick, PlanReplan or PlanResume.
void CarryOut(HWND window, const TimerStep& step) {
    if (step.killTimer != 0) {
        KillTimer(window, static_cast<UINT_PTR>(step.killTimer));
    }
    switch (step.kind) {
        case TimerStep::Fire:
            gSchedule.timerStage = 0;
            ExecuteScheduledAction(window);
            break;
        case TimerStep::Arm:
            gSchedule.timerStage = step.newStage;
            SetTimer(window, static_cast<UINT_PTR>(step.timerId), step.intervalMs, nullptr);
            break;
        case TimerStep::Miss:
            gSchedule.timerStage = 0;
            ClearSchedule(window);
            ShowWindow(window, SW_RESTORE);
            MessageBoxCp(window,
                         "Naplánovaná akce nebyla provedena, v určený čas byl počítač uspán !",
                         "Upozornění", MB_ICONWARNING | kRaisedBoxStyle);
            break;
        case TimerStep::KeepRunning:
        case TimerStep::Ignore:
            break;
    }
}

}  // namespace

void ArmScheduleTimers(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE);
    const ArmPlan plan = PlanArm(LocalNow(), gSchedule, gSettings);
    if (plan.executeNow) {
        ExecuteScheduledAction(window);
        return;
    }
    gSchedule.warningShown = 0;
    if (plan.startClockTimer) {
        SetTimer(window, IDT_CLOCK, kClockIntervalMs, nullptr);
    }
    if (plan.setPollInterval) {
        pollIntervalSeconds = plan.pollIntervalSeconds;
    }
    gSchedule.timerStage = plan.newStage;
    countdownStartTick = GetTickCount();
    countdownIntervalMs = plan.intervalMs;
    SetTimer(window, static_cast<UINT_PTR>(plan.timerId), plan.intervalMs, nullptr);
}

void HandleScheduleTimer(HWND window, int timerId) {
    // A tick of a stage timer that is no longer armed (one already queued when
    // its schedule was carried out or cleared) must not be taken for the
    // armed one: with no schedule left it would end the program.
    if (timerId >= IDT_STAGE_FIRST && timerId <= IDT_STAGE_LAST && timerId != gSchedule.timerStage) {
        KillTimer(window, static_cast<UINT_PTR>(timerId));
        return;
    }
    CarryOut(window, PlanTick(timerId, LocalNow(), gSchedule, gSettings, pollIntervalSeconds));
}

void ReplanScheduleTimers(HWND window) {
    CarryOut(window, PlanReplan(LocalNow(), gSchedule, gSettings));
}

void ResumeScheduleTimers(HWND window) {
    const int64_t msLeft = CountdownArmed() ? CountdownMsLeft() : 0;
    CarryOut(window, PlanResume(LocalNow(), gSchedule, gSettings, -msLeft / 1000));
}

int32_t CountdownSecondsLeft() {
    if (!CountdownArmed()) return -1;
    const int64_t msLeft = CountdownMsLeft();
    return msLeft > 0 ? static_cast<int32_t>((msLeft + 999) / 1000) : 0;
}
