#include "schedule/trigger_plan.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "timer_replay.h"

namespace {

DateTime At(int32_t y, int32_t mo, int32_t d, int32_t h, int32_t mi, int32_t s) {
    return DateTime{y, mo, d, h, mi, s};
}

ScheduleState Schedule(const DateTime& action, int32_t usesSeconds, int32_t pollStep) {
    ScheduleState s;
    s.actionKind = 4;
    SetActionTime(s, action);
    s.actionUsesSeconds = usesSeconds;
    s.pollStep = pollStep;
    return s;
}

Settings Countdown(int32_t on) {
    Settings s;
    s.useCountdown = on;
    return s;
}

using replay::FromMs;
using replay::Replay;
using replay::ToMs;

// A decision as a table row with kind, kill, next, intervalMs and stage
// expects it.
template <typename Row>
void ExpectStep(const Row& r, const TimerStep& step) {
    EXPECT_EQ(r.kind, step.kind) << r.name;
    EXPECT_EQ(r.kill, step.killTimer) << r.name;
    EXPECT_EQ(r.next, step.timerId) << r.name;
    EXPECT_EQ(r.intervalMs, step.intervalMs) << r.name;
    EXPECT_EQ(r.stage, step.newStage) << r.name;
}

}  // namespace

TEST(TriggerPlan, PollIntervalTable) {
    const int32_t expected[] = {0, 1, 2, 3, 4, 5, 6, 10, 12, 15, 20, 30, 60, 60};
    for (int32_t step = 0; step <= 13; ++step) {
        EXPECT_EQ(expected[step], PollIntervalSeconds(step)) << "pollStep " << step;
    }
    EXPECT_EQ(60, PollIntervalSeconds(-1));
}

TEST(TriggerPlan, ActionTimeReachedComparesFieldByField) {
    const ScheduleState s = Schedule(At(2006, 5, 10, 12, 30, 20), 1, 0);
    struct Row {
        DateTime now;
        bool withSeconds, reached;
    } rows[] = {
        {At(2006, 5, 10, 12, 30, 20), true, true},
        {At(2006, 5, 10, 12, 30, 19), true, false},
        {At(2006, 5, 10, 12, 30, 0), false, true},   // the minute is enough
        {At(2006, 5, 10, 12, 29, 59), false, false},
        {At(2006, 5, 10, 12, 31, 0), true, true},    // later minute, smaller second
        {At(2007, 1, 1, 0, 0, 0), true, true},       // later year, smaller month
        {At(2005, 12, 31, 23, 59, 59), true, false},
        {At(2006, 4, 30, 23, 59, 59), true, false},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(r.reached, ActionTimeReached(r.now, s, r.withSeconds))
            << r.now.month << "-" << r.now.day << " " << r.now.hour << ":" << r.now.minute
            << ":" << r.now.second << " seconds " << r.withSeconds;
    }
}

TEST(TriggerPlan, ArmPicksTheFirstIntervalByStyle) {
    const DateTime now = At(2006, 5, 10, 9, 15, 37);
    const DateTime action = At(2006, 5, 10, 12, 0, 0);
    struct Row {
        int32_t useCountdown, countdownSeconds, usesSeconds, pollStep, second;
        uint32_t intervalMs;
        int32_t pollSeconds;
    } rows[] = {
        {1, 10, 0, 0, 37, 10250, 0},
        {1, 0, 0, 0, 37, 250, 0},
        {1, -5, 0, 0, 37, 250, 0},     // a negative count must not wrap around
        {1, 86399, 1, 3, 37, 86399250, 0},  // the countdown wins over any step
        {0, 0, 1, 0, 37, 500, 0},
        {0, 0, 0, 0, 37, 23250, 0},
        {0, 0, 0, 0, 0, 60250, 0},
        {0, 0, 0, 0, 59, 1250, 0},
        {0, 0, 1, 12, 37, 60000, 60},
        {0, 0, 1, 11, 37, 30000, 30},
        {0, 0, 1, 1, 37, 1000, 1},
    };
    for (const Row& r : rows) {
        ScheduleState s = Schedule(action, r.usesSeconds, r.pollStep);
        s.countdownSeconds = r.countdownSeconds;
        Settings settings = Countdown(r.useCountdown);
        DateTime t = now;
        t.second = r.second;
        const ArmPlan plan = PlanArm(t, s, settings);
        EXPECT_FALSE(plan.executeNow);
        EXPECT_EQ(1, plan.timerId);
        EXPECT_EQ(1, plan.newStage);
        EXPECT_EQ(r.intervalMs, plan.intervalMs) << "countdown " << r.useCountdown << " step "
                                                 << r.pollStep << " second " << r.second;
        EXPECT_EQ(r.pollSeconds != 0, plan.setPollInterval);
        if (plan.setPollInterval) {
            EXPECT_EQ(r.pollSeconds, plan.pollIntervalSeconds);
        }
    }
}

TEST(TriggerPlan, ArmAppliesAtOnceWithoutAnyTimerAndStartsTheClockOnlyWhenShown) {
    ScheduleState s = Schedule(At(2006, 5, 10, 12, 0, 0), 0, 0);
    Settings settings;
    settings.showClock = 1;
    EXPECT_TRUE(PlanArm(At(2006, 5, 10, 9, 0, 0), s, settings).startClockTimer);
    settings.showClock = 0;
    EXPECT_FALSE(PlanArm(At(2006, 5, 10, 9, 0, 0), s, settings).startClockTimer);

    s.applyImmediately = 1;
    settings.showClock = 1;
    const ArmPlan plan = PlanArm(At(2006, 5, 10, 9, 0, 0), s, settings);
    EXPECT_TRUE(plan.executeNow);
    EXPECT_FALSE(plan.startClockTimer);
    EXPECT_EQ(0, plan.timerId);
    EXPECT_EQ(0, plan.newStage);
}

TEST(TriggerPlan, StageTableRowByRow) {
    const DateTime action = At(2006, 5, 10, 12, 0, 20);
    const DateTime before = At(2006, 5, 10, 9, 15, 38);  // 2:44:42 left
    const DateTime daysBefore = At(2006, 5, 8, 12, 0, 20);
    const DateTime after = At(2006, 5, 10, 12, 0, 20);
    using K = TimerStep::Kind;
    struct Row {
        const char* name;
        int32_t timer, useCountdown, pollStep, usesSeconds;
        DateTime now;
        K kind;
        int32_t kill, next;
        uint32_t intervalMs;
        int32_t stage;
    } rows[] = {
        {"1 countdown", 1, 1, 0, 1, before, K::Fire, 1, 0, 0, 0},
        {"1 fixed step", 1, 0, 9, 1, before, K::Arm, 1, 2, 15000, 2},
        {"1 cascade", 1, 0, 0, 1, before, K::Arm, 1, 2, 250, 2},
        {"2 fixed, reached", 2, 0, 9, 1, after, K::Fire, 2, 0, 0, 0},
        {"2 fixed, not yet", 2, 0, 9, 1, before, K::KeepRunning, 0, 0, 0, 2},
        {"2 cascade, reached", 2, 0, 0, 1, after, K::Fire, 2, 0, 0, 0},
        {"2 cascade, days left", 2, 0, 0, 1, daysBefore, K::Arm, 2, 2, 86400000, 2},
        {"2 cascade, under a day", 2, 0, 0, 1, before, K::Arm, 2, 3, 250, 3},
        {"3 reached", 3, 0, 0, 1, after, K::Fire, 3, 0, 0, 0},
        {"3 not yet", 3, 0, 0, 1, before, K::Arm, 3, 4, 2 * 3600000 + 250, 4},
        {"4 reached", 4, 0, 0, 1, after, K::Fire, 4, 0, 0, 0},
        {"4 not yet", 4, 0, 0, 1, At(2006, 5, 10, 11, 15, 38), K::Arm, 4, 5, 44 * 60000 + 250, 5},
        {"5 without seconds", 5, 0, 0, 0, At(2006, 5, 10, 12, 0, 1), K::Fire, 5, 0, 0, 0},
        {"5 with seconds, reached", 5, 0, 0, 1, after, K::Fire, 5, 0, 0, 0},
        {"5 with seconds, not yet", 5, 0, 0, 1, At(2006, 5, 10, 11, 59, 38), K::Arm, 5, 6, 42250, 6},
        {"6 reached", 6, 0, 0, 1, after, K::Fire, 6, 0, 0, 0},
        {"6 not yet", 6, 0, 0, 1, At(2006, 5, 10, 12, 0, 19), K::Arm, 0, 6, 1000, 6},
    };
    for (const Row& r : rows) {
        ScheduleState s = Schedule(action, r.usesSeconds, r.pollStep);
        s.timerStage = r.timer;
        const TimerStep step =
            PlanTick(r.timer, r.now, s, Countdown(r.useCountdown), PollIntervalSeconds(r.pollStep));
        ExpectStep(r, step);
    }
}

TEST(TriggerPlan, OtherTimerIdsAreIgnored) {
    ScheduleState s = Schedule(At(2006, 5, 10, 12, 0, 0), 1, 0);
    s.timerStage = 4;
    for (int32_t id : {0, 7, 123, -1}) {
        const TimerStep step = PlanTick(id, At(2007, 1, 1, 0, 0, 0), s, Settings{}, 0);
        EXPECT_EQ(TimerStep::Ignore, step.kind) << id;
        EXPECT_EQ(0, step.killTimer) << id;
        EXPECT_EQ(4, step.newStage) << id;
    }
}

TEST(TriggerPlan, FixedStepWithoutAStoredIntervalFallsBackToTheTable) {
    const ScheduleState s = Schedule(At(2006, 5, 10, 12, 0, 0), 1, 7);
    const TimerStep step = PlanTick(1, At(2006, 5, 10, 9, 0, 0), s, Settings{}, 0);
    EXPECT_EQ(10000u, step.intervalMs);
}

TEST(TriggerPlan, WorkedCascadeWithSeconds) {
    const int64_t confirm = ToMs(At(2006, 5, 10, 9, 15, 37)) + 100;
    const Replay r = replay::Run(Schedule(At(2006, 5, 10, 12, 0, 20), 1, 0), Settings{}, confirm);
    const std::vector<uint32_t> intervals = {500, 250, 250, 2 * 3600000 + 250, 44 * 60000 + 250,
                                             42250};
    EXPECT_EQ(intervals, r.armed);
    ASSERT_EQ(6u, r.ticks.size());
    for (int32_t i = 0; i < 6; ++i) EXPECT_EQ(i + 1, r.ticks[i].timerId);
    EXPECT_EQ(ToMs(At(2006, 5, 10, 11, 15, 38)) + 350, r.ticks[3].ms);
    EXPECT_EQ(ToMs(At(2006, 5, 10, 11, 59, 38)) + 600, r.ticks[4].ms);
    EXPECT_EQ(ToMs(At(2006, 5, 10, 12, 0, 20)) + 850, r.firedMs);
}

TEST(TriggerPlan, CountdownFiresAfterItsCountWithoutLookingAtTheClock) {
    ScheduleState s = Schedule(At(2099, 1, 1, 0, 0, 0), 1, 0);  // the time is not looked at
    s.countdownSeconds = 10;
    const int64_t confirm = ToMs(At(2006, 5, 10, 9, 0, 0)) + 400;
    EXPECT_EQ(confirm + 10250, replay::Run(s, Countdown(1), confirm).firedMs);
    s.countdownSeconds = 0;
    EXPECT_EQ(confirm + 250, replay::Run(s, Countdown(1), confirm).firedMs);
}

TEST(TriggerPlan, FixedStepComparesFirstAfterTwoStepsThenEveryStep) {
    const int64_t confirm = ToMs(At(2006, 5, 10, 9, 0, 0)) + 300;
    const Replay r = replay::Run(Schedule(At(2006, 5, 10, 9, 5, 30), 1, 12), Settings{}, confirm);
    ASSERT_GE(r.ticks.size(), 3u);
    EXPECT_EQ(confirm + 60000, r.ticks[0].ms);
    EXPECT_EQ(confirm + 120000, r.ticks[1].ms);
    EXPECT_EQ(confirm + 180000, r.ticks[2].ms);
    EXPECT_EQ(confirm + 360000, r.firedMs);  // 09:06:00.3, the first look past 09:05:30
}

TEST(TriggerPlan, CascadeRechecksOncePerRemainingDay) {
    const int64_t confirm = ToMs(At(2006, 12, 29, 18, 0, 5)) + 700;
    const Replay r = replay::Run(Schedule(At(2007, 1, 2, 9, 30, 0), 1, 0), Settings{}, confirm);
    // 3 days 15.5 hours: timer 1, timer 2 at once and after each of the 3 days,
    // then timers 3 to 6.
    ASSERT_EQ(9u, r.ticks.size());
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(86400000u, r.armed[static_cast<size_t>(i) + 1]);
    EXPECT_GE(r.firedMs, ToMs(At(2007, 1, 2, 9, 30, 0)));
    EXPECT_LE(r.firedMs, ToMs(At(2007, 1, 2, 9, 30, 0)) + 1300);
}

TEST(TriggerPlan, ATimePassedWhileSuspendedFiresAtTheNextComparison) {
    // Month end and year end, at every stage that compares.
    struct Row {
        DateTime action, now;
        int32_t usesSeconds;
    } rows[] = {
        {At(2006, 12, 31, 23, 59, 59), At(2007, 1, 1, 0, 0, 5), 1},
        {At(2006, 2, 28, 23, 59, 0), At(2006, 3, 1, 0, 0, 0), 0},
        {At(2006, 1, 31, 22, 0, 30), At(2006, 2, 2, 7, 0, 0), 1},
    };
    for (const Row& r : rows) {
        for (int32_t timer = 2; timer <= 6; ++timer) {
            const ScheduleState s = Schedule(r.action, r.usesSeconds, 0);
            EXPECT_EQ(TimerStep::Fire, PlanTick(timer, r.now, s, Settings{}, 0).kind)
                << "timer " << timer << " " << r.now.month << "-" << r.now.day;
        }
        const ScheduleState fixed = Schedule(r.action, 1, 3);
        EXPECT_EQ(TimerStep::Fire, PlanTick(2, r.now, fixed, Settings{}, 3).kind);
    }
}

TEST(TriggerPlan, SecondRecheckStopsAtTheFirstLookAtOrPastTheSecond) {
    const ScheduleState s = Schedule(At(2006, 12, 31, 23, 59, 59), 1, 0);
    EXPECT_EQ(TimerStep::Arm, PlanTick(6, At(2006, 12, 31, 23, 59, 58), s, Settings{}, 0).kind);
    EXPECT_EQ(TimerStep::Fire, PlanTick(6, At(2006, 12, 31, 23, 59, 59), s, Settings{}, 0).kind);
    EXPECT_EQ(TimerStep::Fire, PlanTick(6, At(2007, 1, 1, 0, 0, 0), s, Settings{}, 0).kind);
}

TEST(TriggerPlan, CascadeWithoutSecondsFirstTicksJustAfterTheNextMinute) {
    const int64_t confirm = ToMs(At(2006, 5, 10, 9, 15, 37));
    const Replay r = replay::Run(Schedule(At(2006, 5, 10, 12, 0, 0), 0, 0), Settings{}, confirm);
    ASSERT_FALSE(r.ticks.empty());
    EXPECT_EQ(confirm + 23250, r.ticks[0].ms);
}

TEST(TriggerPlan, CascadeWithoutSecondsFiresWithinTheActionMinuteNeverBefore) {
    // The worked case: a date without seconds used to go off at 11:59:01.
    const int64_t confirm = ToMs(At(2006, 5, 10, 9, 15, 37)) + 100;
    const Replay worked = replay::Run(Schedule(At(2006, 5, 10, 12, 0, 0), 0, 0), Settings{}, confirm);
    EXPECT_EQ(ToMs(At(2006, 5, 10, 12, 0, 0)) + 350, worked.firedMs);

    std::mt19937 random(20060510);
    for (int run = 0; run < 2000; ++run) {
        const int64_t start = ToMs(At(2006, 1, 1, 0, 0, 0)) +
                              static_cast<int64_t>(random() % (4u * 365u * 86400u)) * 1000 +
                              random() % 1000;
        const int64_t ahead = static_cast<int64_t>(random() % (3u * 86400u)) * 1000;
        DateTime action = FromMs(start + ahead + 60000);
        // A date has second 0; a countdown without seconds keeps the second
        // of the confirmation.
        action.second = run % 2 == 0 ? 0 : FromMs(start).second;
        const int64_t minuteStart = ToMs(action) - action.second * 1000;
        const Replay r = replay::Run(Schedule(action, 0, 0), Settings{}, start);
        ASSERT_GE(r.firedMs, minuteStart) << "run " << run;
        ASSERT_LT(r.firedMs, minuteStart + 60000) << "run " << run;
        ASSERT_LE(r.ticks.size(), ahead / 86400000 + 6) << "run " << run;
    }
}

TEST(TriggerPlan, MinuteStageNotYetReachedMeasuresAgainInsteadOfFiring) {
    // The clock was set back while the minute stage waited: the minute and a
    // half to the action minute is waited off by the minute stage again.
    ScheduleState s = Schedule(At(2006, 5, 10, 12, 0, 0), 0, 0);
    const TimerStep step = PlanTick(5, At(2006, 5, 10, 11, 58, 30), s, Settings{}, 0);
    EXPECT_EQ(TimerStep::Arm, step.kind);
    EXPECT_EQ(5, step.killTimer);
    EXPECT_EQ(5, step.timerId);
    EXPECT_EQ(90250u, step.intervalMs);
}

// The clock goes back while a stage waits and no message tells of it: the
// stage that ends finds more left than its own unit and waits the rest off
// from the largest unit down; it neither fires early nor re-checks second by
// second for the minutes or hours that came back.
TEST(TriggerPlan, AClockSetBackIsWaitedOffInAFewStagesNotSecondBySecond) {
    struct Row {
        const char* name;
        int32_t usesSeconds;
        int64_t aheadSeconds;  // action time from the confirmation
        int64_t moveAtSeconds; // when the clock is set back, after the confirmation
        int64_t backSeconds;
    } rows[] = {
        {"minute stage, 2 min back", 1, 200, 30, 120},
        {"second stage, 2 min back", 1, 50, 20, 120},
        {"hour stage, 1 h back (daylight saving ends)", 1, 3 * 3600 + 20, 600, 3600},
        {"minute stage, a day back", 1, 200, 30, 86400},
        {"minute stage without seconds, 2 min back", 0, 200, 30, 120},
        {"hour stage without seconds, 1 h back", 0, 3 * 3600, 600, 3600},
    };
    for (const Row& r : rows) {
        const int64_t confirm = ToMs(At(2006, 10, 29, 0, 30, 0)) + 400;
        DateTime action = FromMs(confirm + r.aheadSeconds * 1000);
        if (r.usesSeconds == 0) action.second = 0;
        const int64_t moveAt = confirm + r.moveAtSeconds * 1000;
        // The clock the program reads, in real milliseconds: behind by
        // backSeconds from the move on.
        auto shifted = [&](int32_t id, const DateTime& now, const ScheduleState& s,
                           const Settings& settings, int32_t poll) {
            const int64_t real = ToMs(now);
            const int64_t shown = real >= moveAt ? real - r.backSeconds * 1000 : real;
            return PlanTick(id, FromMs(shown), s, settings, poll);
        };
        const Replay run = replay::Run(Schedule(action, r.usesSeconds, 0), Settings{}, confirm,
                                       1000, shifted);
        const int64_t due = ToMs(action) + r.backSeconds * 1000;  // in real time
        EXPECT_GE(run.firedMs, due) << r.name;
        EXPECT_LE(run.firedMs, due + 1300) << r.name;
        size_t afterMove = 0;
        for (const replay::Tick& t : run.ticks) afterMove += t.ms >= moveAt ? 1 : 0;
        EXPECT_LE(afterMove, 6u) << r.name;
    }
}

// What a move of the wall clock leads to, for a schedule waiting in each
// stage: forward past the action time, forward within it, back, and by the
// hour of daylight saving.  The armed stage is killed; a time reached fires;
// otherwise the cascade arms the stage of the largest unit that remains.
TEST(TriggerPlan, ReplanAfterAClockMoveTakesWhatRemainsNow) {
    const DateTime withSeconds = At(2006, 5, 10, 12, 0, 20);
    const DateTime minuteOnly = At(2006, 5, 10, 12, 0, 0);
    using K = TimerStep::Kind;
    struct Row {
        const char* name;
        int32_t armed, usesSeconds, pollStep;
        DateTime now;  // the clock after the move
        K kind;
        int32_t kill, next;
        uint32_t intervalMs;
        int32_t stage;
    } rows[] = {
        // Cascade with seconds.
        {"day stage, forward past", 2, 1, 0, At(2006, 5, 10, 12, 0, 20), K::Fire, 2, 0, 0, 0},
        {"day stage, forward, a day left", 2, 1, 0, At(2006, 5, 9, 10, 0, 0), K::Arm, 2, 2, 86400000, 2},
        {"day stage, forward, hours left", 2, 1, 0, At(2006, 5, 9, 20, 0, 0), K::Arm, 2, 4, 16 * 3600000 + 250, 4},
        {"hour stage, forward past", 4, 1, 0, At(2006, 5, 10, 13, 0, 0), K::Fire, 4, 0, 0, 0},
        {"hour stage, forward, minutes left", 4, 1, 0, At(2006, 5, 10, 11, 50, 0), K::Arm, 4, 5, 10 * 60000 + 250, 5},
        {"hour stage, back a day", 4, 1, 0, At(2006, 5, 9, 9, 0, 0), K::Arm, 4, 2, 86400000, 2},
        {"hour stage, daylight saving begins", 4, 1, 0, At(2006, 5, 10, 10, 59, 30), K::Arm, 4, 4, 3600250, 4},
        {"hour stage, daylight saving ends", 4, 1, 0, At(2006, 5, 10, 8, 59, 30), K::Arm, 4, 4, 3 * 3600000 + 250, 4},
        {"minute stage, forward past", 5, 1, 0, At(2006, 5, 10, 12, 2, 0), K::Fire, 5, 0, 0, 0},
        {"minute stage, forward, seconds left", 5, 1, 0, At(2006, 5, 10, 11, 59, 50), K::Arm, 5, 6, 30250, 6},
        {"minute stage, 2 min back", 5, 1, 0, At(2006, 5, 10, 11, 56, 0), K::Arm, 5, 5, 4 * 60000 + 250, 5},
        {"minute stage, an hour back", 5, 1, 0, At(2006, 5, 10, 10, 59, 0), K::Arm, 5, 4, 3600250, 4},
        {"second stage, forward past", 6, 1, 0, At(2006, 5, 10, 12, 0, 21), K::Fire, 6, 0, 0, 0},
        {"second stage, 2 min back", 6, 1, 0, At(2006, 5, 10, 11, 58, 15), K::Arm, 6, 5, 120250, 5},
        {"second stage, 10 s back", 6, 1, 0, At(2006, 5, 10, 12, 0, 10), K::Arm, 6, 6, 10250, 6},
        {"start timer, forward, an hour left", 1, 1, 0, At(2006, 5, 10, 11, 0, 0), K::Arm, 1, 4, 3600250, 4},
        // Cascade without seconds: the action minute is what counts.
        {"no seconds, minute stage, forward past", 5, 0, 0, At(2006, 5, 10, 12, 0, 0), K::Fire, 5, 0, 0, 0},
        {"no seconds, hour stage, forward", 4, 0, 0, At(2006, 5, 10, 11, 58, 40), K::Arm, 4, 5, 80250, 5},
        {"no seconds, minute stage, back", 5, 0, 0, At(2006, 5, 10, 11, 0, 30), K::Arm, 5, 5, 3570250, 5},
        {"no seconds, hour stage, daylight saving ends", 4, 0, 0, At(2006, 5, 10, 9, 30, 15), K::Arm, 4, 4, 2 * 3600000 + 250, 4},
        {"no seconds, day stage, forward past midnight", 2, 0, 0, At(2006, 5, 11, 0, 0, 5), K::Fire, 2, 0, 0, 0},
        // Fixed step: a time reached fires; otherwise the step goes on comparing.
        {"fixed step, forward past", 2, 1, 7, At(2006, 5, 10, 12, 1, 0), K::Fire, 2, 0, 0, 0},
        {"fixed step before its first look, forward past", 1, 1, 7, At(2006, 5, 10, 12, 1, 0), K::Fire, 1, 0, 0, 0},
        {"fixed step, forward within", 2, 1, 7, At(2006, 5, 10, 11, 59, 0), K::KeepRunning, 0, 0, 0, 2},
        {"fixed step, back", 2, 1, 7, At(2006, 5, 10, 10, 0, 0), K::KeepRunning, 0, 0, 0, 2},
    };
    for (const Row& r : rows) {
        ScheduleState s = Schedule(r.usesSeconds == 1 ? withSeconds : minuteOnly, r.usesSeconds,
                                   r.pollStep);
        s.timerStage = r.armed;
        s.warningShown = 1;
        const TimerStep step = PlanReplan(r.now, s, Settings{});
        ExpectStep(r, step);
    }
}

// A countdown is an elapsed time from the confirmation; a schedule with no
// stage armed is not the timers' (none pending, or carried out and maybe in
// the wake-up thread's hands).  None of them is touched by a clock move.
TEST(TriggerPlan, ReplanLeavesCountdownsAndUnarmedSchedulesAlone) {
    struct Row {
        const char* name;
        int32_t actionKind, armed, useCountdown;
    } rows[] = {
        {"countdown", 5, 1, 1},
        {"carried out", 6, 0, 0},
        {"nothing scheduled", 0, 2, 0},
        {"not a stage timer", 5, 123, 0},
    };
    for (const Row& r : rows) {
        ScheduleState s = Schedule(At(2006, 5, 10, 12, 0, 20), 1, 0);
        s.actionKind = r.actionKind;
        s.timerStage = r.armed;
        const TimerStep step = PlanReplan(At(2007, 1, 1, 0, 0, 0), s, Countdown(r.useCountdown));
        EXPECT_EQ(TimerStep::Ignore, step.kind) << r.name;
        EXPECT_EQ(0, step.killTimer) << r.name;
        EXPECT_EQ(r.armed, step.newStage) << r.name;
    }
}

// After a resume an action whose moment the machine slept through by more
// than a minute is not carried out; a reminder still is, late; a minute or
// less late, or a resume before the time, goes on as a clock move does.
TEST(TriggerPlan, ResumeDropsAnActionTheMachineSleptThrough) {
    using K = TimerStep::Kind;
    const struct Row {
        const char* name;
        int32_t kind, useCountdown;
        DateTime now;
        int64_t countdownPast;
        K expected;
    } rows[] = {
        {"shut down, two minutes past", 4, 0, At(2006, 5, 10, 12, 2, 20), 0, K::Miss},
        {"lock, a minute past", 1, 0, At(2006, 5, 10, 12, 1, 20), 0, K::Fire},
        {"reminder, two minutes past", 5, 0, At(2006, 5, 10, 12, 2, 20), 0, K::Fire},
        {"countdown, its timer two minutes past", 4, 1, At(2006, 5, 10, 11, 0, 0), 120, K::Miss},
        {"countdown, its timer due in a minute", 4, 1, At(2006, 5, 10, 13, 0, 0), -60, K::Ignore},
    };
    for (const Row& r : rows) {
        ScheduleState s = Schedule(At(2006, 5, 10, 12, 0, 20), 1, 0);
        s.actionKind = r.kind;
        s.timerStage = 4;
        const TimerStep step = PlanResume(r.now, s, Countdown(r.useCountdown), r.countdownPast);
        EXPECT_EQ(r.expected, step.kind) << r.name;
        if (r.expected == K::Miss) {
            EXPECT_EQ(4, step.killTimer) << r.name;
        }
    }
}
