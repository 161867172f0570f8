// What the schedule's stage timers decide at arming and at each tick.
//
// A schedule is watched by a chain of main-window timers: one countdown timer,
// a periodic fixed step, or the cascade that waits off days, hours, minutes
// and seconds.  This part only decides; the window glue reads the clock, hands
// it in, and carries the decision out with SetTimer, KillTimer, `timerStage`
// and ExecuteScheduledAction.  Platform-free: "now" is always an argument.
#pragma once

#include <cstdint>

#include "schedule/calendar.h"
#include "schedule/schedule_state.h"
#include "settings/settings_file.h"

// The stage timers of a schedule; `timerStage` names the one that is armed.
enum : int32_t {
    kTimerStart = 1,      // start timer, or the whole countdown
    kTimerWatch = 2,      // fixed-step comparison, or the cascade's day level
    kTimerHourCount = 3,  // cascade: measures the remaining hours
    kTimerHours = 4,      // cascade: waits the hours off
    kTimerMinutes = 5,    // cascade: waits the minutes off
    kTimerSeconds = 6,    // cascade: waits the seconds off, then re-checks each second
};

// The cascade's day level looks at the clock again after this long.
constexpr int32_t DayRecheckSeconds = 86400;

// Every stage interval gets this much on top, so that the next look at the
// clock falls just after the unit boundary.
constexpr uint32_t kStageMarginMs = 250;

// The clock timer 123 repaints the status display this often.
constexpr uint32_t kClockIntervalMs = 1000;

// Seconds between two comparisons of a fixed step: pollStep 1..11 give 1, 2, 3,
// 4, 5, 6, 10, 12, 15, 20, 30; any other nonzero value 60; 0 (the cascade) 0.
int32_t PollIntervalSeconds(int32_t pollStep);

// True when `now` is at or after the action time, compared field by field down
// to the minute, or down to the second when `withSeconds`.
bool ActionTimeReached(const DateTime& now, const ScheduleState& schedule, bool withSeconds);

// The moment the cascade and the fixed step carry the action out, at the
// earliest: the action time, or the start of its minute when the time has no
// seconds, as they then compare to the minute (a countdown without seconds
// keeps the second of its confirmation, which they never wait for).
DateTime WatchedActionTime(const ScheduleState& schedule);

// What ArmScheduleTimers does once the window has been invalidated.
struct ArmPlan {
    bool executeNow;               // apply at once: ExecuteScheduledAction, nothing else
    bool startClockTimer;          // start timer 123 with kClockIntervalMs
    bool setPollInterval;          // store pollIntervalSeconds (fixed step only)
    int32_t pollIntervalSeconds;   // the value to store
    int32_t newStage;              // `timerStage` afterwards (1; 0 when executeNow)
    int32_t timerId;               // the timer to start (1; 0 when executeNow)
    uint32_t intervalMs;           // its interval
};

// Unless executeNow, the glue also sets `warningShown` to 0.
ArmPlan PlanArm(const DateTime& now, const ScheduleState& schedule, const Settings& settings);

// What one tick of a stage timer leads to.  The glue, in this order: kills
// killTimer when it is not 0; then for Fire sets `timerStage` to 0 and calls
// ExecuteScheduledAction; for Arm sets `timerStage` to newStage and starts
// timerId with intervalMs (a running timer of that id takes the new interval
// from now on); for KeepRunning leaves the ticking timer running; for Ignore
// does nothing at all; for Miss sets `timerStage` to 0, clears the schedule
// and says that its action was not carried out.
struct TimerStep {
    enum Kind : int32_t { Ignore, KeepRunning, Arm, Fire, Miss };
    Kind kind;
    int32_t killTimer;    // 0 = none
    int32_t timerId;      // Arm: the timer to start; 0 otherwise
    uint32_t intervalMs;  // Arm: its interval; 0 otherwise
    int32_t newStage;     // `timerStage` afterwards
};

// The decision for a tick of timer `timerId` at `now`.  Ids other than 1..6 are
// ignored (timer 123 only repaints, which is the glue's business).
// `pollIntervalSeconds` is the value PlanArm stored for a fixed step.
TimerStep PlanTick(int32_t timerId, const DateTime& now, const ScheduleState& schedule,
                   const Settings& settings, int32_t pollIntervalSeconds);

// The decision when the wall clock has moved (the time was set, daylight saving
// began or ended, the machine resumed): the stage timers run on elapsed time
// and would otherwise keep waiting off what was left before the move.  A
// schedule watched by the cascade or the fixed step is looked at as if armed
// now: the armed stage timer (`timerStage`) is killed and a time already
// reached fires; otherwise the cascade arms the stage of the largest unit that
// remains, and the fixed step keeps its periodic comparison running.  A
// countdown is an elapsed time from the confirmation and is left alone, as is
// a schedule with no stage armed (none pending, or one already carried out).
// Carried out by the glue as PlanTick's steps are.
TimerStep PlanReplan(const DateTime& now, const ScheduleState& schedule, const Settings& settings);

// A resume that finds the action's moment further in the past than this: the
// machine slept through it.
constexpr int64_t kMissedAfterSeconds = 60;

// How many whole seconds `now` lies after `moment`, 0 when not after; a month
// or more counts as 31 days.
int64_t SecondsPast(const DateTime& now, const DateTime& moment);

// The decision when the machine has resumed.  An action whose moment lies
// more than kMissedAfterSeconds in the past is not carried out late (Miss):
// a shut down or a lock would come under the hands of whoever just opened the
// lid, with no warning first.  A timed reminder is still shown, late.  The
// moment of a countdown is the timer's, `countdownSecondsPast` (from the tick
// count, which the glue knows); otherwise the watched action time.  Anything
// else as PlanReplan decides.
TimerStep PlanResume(const DateTime& now, const ScheduleState& schedule, const Settings& settings,
                     int64_t countdownSecondsPast);
