// The stage decisions of the schedule's timers; see trigger_plan.h.
#include "schedule/trigger_plan.h"

#include <cstdint>

#include "actions/action_kind.h"

namespace {

// SetTimer takes no longer interval than this.
constexpr int64_t kMaxIntervalMs = 0x7FFFFFFF;

// Milliseconds for a wait of `seconds` plus `extraMs`, in 64-bit arithmetic and
// kept to what a timer can take: a negative count waits no more than 0 does.
uint32_t IntervalMs(int64_t seconds, int64_t extraMs) {
    if (seconds < 0) seconds = 0;
    int64_t ms = seconds * 1000 + extraMs;
    if (ms < 0) ms = 0;
    if (ms > kMaxIntervalMs) ms = kMaxIntervalMs;
    return static_cast<uint32_t>(ms);
}

TimerStep Fire(int32_t tickingTimer) {
    return TimerStep{TimerStep::Fire, tickingTimer, 0, 0, 0};
}

TimerStep Arm(int32_t killTimer, int32_t timerId, uint32_t intervalMs) {
    return TimerStep{TimerStep::Arm, killTimer, timerId, intervalMs, timerId};
}

// What is left of the wait, as a calendar difference; all zero once passed.
DateTime Remaining(const DateTime& now, const DateTime& target) {
    return CalendarDifference(target, now);
}

// What remains to the moment the schedule waits for (without seconds the
// minute stage is the last one and fires on its tick).
DateTime Left(const DateTime& now, const ScheduleState& schedule) {
    return Remaining(now, WatchedActionTime(schedule));
}

bool DaysLeft(const DateTime& left) {
    return static_cast<int64_t>(left.year) + left.month + left.day > 0;
}

// Arms the stage that waits off the largest unit of what remains, as the
// cascade would have reached it had the clock always shown `now`: whole days
// go to the day level, hours to the hour stage, minutes to the minute stage,
// the last seconds to the second stage.  Used where a stage finds more left
// than it was sized for (the clock went back) and when the clock has moved;
// the normal chain never gets here with more than its own unit left.
TimerStep ArmForRemainder(const DateTime& now, const ScheduleState& schedule, int32_t killTimer) {
    const DateTime left = Left(now, schedule);
    if (DaysLeft(left)) {
        return Arm(killTimer, kTimerWatch, IntervalMs(DayRecheckSeconds, 0));
    }
    if (left.hour > 0) {
        return Arm(killTimer, kTimerHours,
                   IntervalMs(static_cast<int64_t>(left.hour) * 3600, kStageMarginMs));
    }
    if (schedule.actionUsesSeconds != 1) {
        // To the start of the action minute, whose tick fires.
        return Arm(killTimer, kTimerMinutes,
                   IntervalMs(static_cast<int64_t>(left.minute) * 60 + left.second,
                              kStageMarginMs));
    }
    if (left.minute > 0) {
        return Arm(killTimer, kTimerMinutes,
                   IntervalMs(static_cast<int64_t>(left.minute) * 60, kStageMarginMs));
    }
    return Arm(killTimer, kTimerSeconds, IntervalMs(left.second, kStageMarginMs));
}

}  // namespace

DateTime WatchedActionTime(const ScheduleState& schedule) {
    DateTime target = ActionTime(schedule);
    if (schedule.actionUsesSeconds != 1) target.second = 0;
    return target;
}

int32_t PollIntervalSeconds(int32_t pollStep) {
    static const int32_t kSeconds[11] = {1, 2, 3, 4, 5, 6, 10, 12, 15, 20, 30};
    if (pollStep == 0) return 0;
    if (pollStep >= 1 && pollStep <= 11) return kSeconds[pollStep - 1];
    return 60;
}

bool ActionTimeReached(const DateTime& now, const ScheduleState& schedule, bool withSeconds) {
    const DateTime action = ActionTime(schedule);
    const int32_t last = withSeconds ? kComponentSecond : kComponentMinute;
    for (int32_t c = kComponentYear; c <= last; ++c) {
        const int32_t current = CalendarField(now, c);
        const int32_t target = CalendarField(action, c);
        if (current != target) return current > target;
    }
    return true;
}

ArmPlan PlanArm(const DateTime& now, const ScheduleState& schedule, const Settings& settings) {
    ArmPlan plan{};
    if (schedule.applyImmediately == 1) {
        // No timer at all, not even the clock.
        plan.executeNow = true;
        return plan;
    }
    plan.startClockTimer = settings.showClock != 0;
    plan.newStage = kTimerStart;
    plan.timerId = kTimerStart;
    if (settings.useCountdown == 1) {
        plan.intervalMs = IntervalMs(schedule.countdownSeconds, kStageMarginMs);
    } else if (schedule.pollStep == 0) {
        // Without seconds the first look comes just after the next full minute;
        // the clock's milliseconds are not known, so it lands 0.25 to 1.25 s in.
        plan.intervalMs = schedule.actionUsesSeconds == 1
                              ? 500u
                              : IntervalMs(0, 60250 - static_cast<int64_t>(now.second) * 1000);
    } else {
        plan.setPollInterval = true;
        plan.pollIntervalSeconds = PollIntervalSeconds(schedule.pollStep);
        plan.intervalMs = IntervalMs(plan.pollIntervalSeconds, 0);
    }
    return plan;
}

TimerStep PlanTick(int32_t timerId, const DateTime& now, const ScheduleState& schedule,
                   const Settings& settings, int32_t pollIntervalSeconds) {
    const bool cascade = schedule.pollStep == 0;
    const bool usesSeconds = schedule.actionUsesSeconds == 1;
    const DateTime action = ActionTime(schedule);

    switch (timerId) {
        case kTimerStart: {
            if (settings.useCountdown == 1) return Fire(kTimerStart);  // no look at the clock
            if (cascade) return Arm(kTimerStart, kTimerWatch, kStageMarginMs);
            // A step that was never stored would make the timer spin; take it
            // from the schedule instead.
            int32_t step = pollIntervalSeconds;
            if (step < 1 || step > 60) step = PollIntervalSeconds(schedule.pollStep);
            return Arm(kTimerStart, kTimerWatch, IntervalMs(step, 0));
        }
        case kTimerWatch: {
            if (!cascade) {
                if (ActionTimeReached(now, schedule, usesSeconds)) return Fire(kTimerWatch);
                return TimerStep{TimerStep::KeepRunning, 0, 0, 0, kTimerWatch};
            }
            if (ActionTimeReached(now, schedule, true)) return Fire(kTimerWatch);
            const DateTime left = Remaining(now, action);
            // Whole days are waited off one at a time, re-checked every 24 hours.
            if (static_cast<int64_t>(left.year) + left.month + left.day > 0) {
                return Arm(kTimerWatch, kTimerWatch, IntervalMs(DayRecheckSeconds, 0));
            }
            return Arm(kTimerWatch, kTimerHourCount, kStageMarginMs);
        }
        case kTimerHourCount: {
            if (ActionTimeReached(now, schedule, true)) return Fire(kTimerHourCount);
            // Days again: the clock went back since the day level looked.
            if (DaysLeft(Left(now, schedule))) return ArmForRemainder(now, schedule, kTimerHourCount);
            const DateTime left = Remaining(now, action);
            return Arm(kTimerHourCount, kTimerHours,
                       IntervalMs(static_cast<int64_t>(left.hour) * 3600, kStageMarginMs));
        }
        case kTimerHours: {
            if (ActionTimeReached(now, schedule, true)) return Fire(kTimerHours);
            // The hours are waited off; more than minutes left means the clock
            // went back meanwhile.
            const DateTime rest = Left(now, schedule);
            if (DaysLeft(rest) || rest.hour > 0) return ArmForRemainder(now, schedule, kTimerHours);
            if (usesSeconds) {
                const DateTime left = Remaining(now, action);
                return Arm(kTimerHours, kTimerMinutes,
                           IntervalMs(static_cast<int64_t>(left.minute) * 60, kStageMarginMs));
            }
            // Without seconds the minute stage is the last one and fires on its
            // tick.  This tick falls a second or more into a minute, so whole
            // minutes to the action time come out one short and the action
            // would go off a minute early.  Wait instead the whole seconds to
            // the start of the action minute: the last tick then lands 0.25 to
            // 1.25 s into that minute, never before it.
            const DateTime left = Left(now, schedule);
            return Arm(kTimerHours, kTimerMinutes,
                       IntervalMs(static_cast<int64_t>(left.minute) * 60 + left.second,
                                  kStageMarginMs));
        }
        case kTimerMinutes: {
            if (ActionTimeReached(now, schedule, usesSeconds)) return Fire(kTimerMinutes);
            // With seconds only they are left and go to the second stage.
            // Without, only a clock set back while we waited gets here: wait
            // off what remains rather than fire early.
            return ArmForRemainder(now, schedule, kTimerMinutes);
        }
        case kTimerSeconds: {
            if (ActionTimeReached(now, schedule, true)) return Fire(kTimerSeconds);
            // The last second is re-checked once a second, the timer re-armed,
            // not killed.  More left than that means the clock went back: wait
            // it off in one stage, not second by second.
            const DateTime left = Left(now, schedule);
            if (!DaysLeft(left) && left.hour == 0 && left.minute == 0 && left.second <= 1) {
                return Arm(0, kTimerSeconds, 1000);
            }
            return ArmForRemainder(now, schedule, kTimerSeconds);
        }
        default:
            return TimerStep{TimerStep::Ignore, 0, 0, 0, schedule.timerStage};
    }
}

TimerStep PlanReplan(const DateTime& now, const ScheduleState& schedule, const Settings& settings) {
    const int32_t armed = schedule.timerStage;
    const TimerStep leaveAlone{TimerStep::Ignore, 0, 0, 0, armed};
    // After firing `timerStage` is 0, so a schedule the wake-up thread is
    // carrying out is not touched.
    if (schedule.actionKind == 0 || armed < kTimerStart || armed > kTimerSeconds) return leaveAlone;
    if (settings.useCountdown == 1) return leaveAlone;  // elapsed time, not a clock time
    const bool usesSeconds = schedule.actionUsesSeconds == 1;
    if (ActionTimeReached(now, schedule, usesSeconds)) return Fire(armed);
    if (schedule.pollStep != 0) {
        // The step compares with the clock each time it ticks anyway.
        return TimerStep{TimerStep::KeepRunning, 0, 0, 0, armed};
    }
    return ArmForRemainder(now, schedule, armed);
}

int64_t SecondsPast(const DateTime& now, const DateTime& moment) {
    const DateTime past = CalendarDifference(now, moment);
    if (past.year != 0 || past.month != 0) return 31 * 86400;
    return static_cast<int64_t>(past.day) * 86400 + past.hour * 3600 + past.minute * 60 + past.second;
}

TimerStep PlanResume(const DateTime& now, const ScheduleState& schedule, const Settings& settings,
                     int64_t countdownSecondsPast) {
    const int32_t armed = schedule.timerStage;
    if (schedule.actionKind != 0 && schedule.actionKind != kActionReminder && armed >= kTimerStart &&
        armed <= kTimerSeconds) {
        const int64_t past = settings.useCountdown == 1
                                 ? countdownSecondsPast
                                 : SecondsPast(now, WatchedActionTime(schedule));
        if (past > kMissedAfterSeconds) return TimerStep{TimerStep::Miss, armed, 0, 0, 0};
    }
    return PlanReplan(now, schedule, settings);
}
