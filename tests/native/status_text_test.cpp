#include <gtest/gtest.h>

#include "app/status_text.h"
#include "text_print.h"
#include "timer_replay.h"

namespace {

const DateTime kNow{2026, 12, 7, 10, 0, 0};

ScheduleState ScheduledAt(const DateTime& at, int32_t usesSeconds = 1) {
    ScheduleState schedule;
    schedule.actionKind = 4;
    SetActionTime(schedule, at);
    schedule.actionUsesSeconds = usesSeconds;
    return schedule;
}

Settings ClockWithWarning(int32_t seconds) {
    Settings settings;
    settings.showClock = 1;
    settings.warnBeforeAction = 1;
    settings.warningSeconds = seconds;
    return settings;
}

}  // namespace

TEST(StatusText, PanelStaysEmptyWithoutClockOrSchedule) {
    Settings hidden;
    hidden.warnBeforeAction = 1;
    hidden.warningSeconds = 9999;
    const auto soon = ScheduledAt({2026, 12, 7, 10, 0, 5});
    const StatusView noClock = ComputeStatusView(kNow, soon, hidden);
    EXPECT_FALSE(noClock.showsText);
    EXPECT_FALSE(noClock.raisesWarning) << "the warning needs the clock shown";

    const StatusView nothing = ComputeStatusView(kNow, ScheduleState{}, ClockWithWarning(9999));
    EXPECT_FALSE(nothing.showsText);
    EXPECT_FALSE(nothing.raisesWarning);
}

TEST(StatusText, RemainingTimeReadsMonthsDaysAndClock) {
    const struct {
        DateTime at;
        const char* text;
    } cases[] = {
        {{2027, 3, 11, 15, 6, 7}, "03.04-05:06:07"},
        {{2027, 12, 7, 9, 59, 59}, "11.30-23:59:59"},
        {{2027, 12, 7, 10, 0, 2}, "Déle než rok..."},
        {{2026, 12, 7, 10, 0, 0}, "00.00-00:00:00"},
        {{2026, 12, 7, 9, 0, 0}, "00.00-00:00:00"},  // passed, still pending
    };
    for (const auto& c : cases) {
        const StatusView view = ComputeStatusView(kNow, ScheduledAt(c.at), ClockWithWarning(0));
        EXPECT_TRUE(view.showsText);
        EXPECT_EQ(c.text, view.text);
    }
}

TEST(StatusText, WarningComesOnceWithinItsLeadAndNotWithDaysLeft) {
    const Settings thirty = ClockWithWarning(30);
    EXPECT_FALSE(ComputeStatusView(kNow, ScheduledAt({2026, 12, 7, 10, 0, 45}), thirty).raisesWarning);
    const StatusView due = ComputeStatusView(kNow, ScheduledAt({2026, 12, 7, 10, 0, 30}), thirty);
    EXPECT_TRUE(due.raisesWarning);
    EXPECT_EQ(30, due.warningSeconds);
    EXPECT_EQ("Akce bude provedena za 30 sekund !", WarningText(due.warningSeconds));

    auto shown = ScheduledAt({2026, 12, 7, 10, 0, 10});
    shown.warningShown = 1;
    EXPECT_FALSE(ComputeStatusView(kNow, shown, thirty).raisesWarning);

    // A day away is never within the lead, however long it is.
    const Settings longest = ClockWithWarning(9999);
    EXPECT_FALSE(ComputeStatusView(kNow, ScheduledAt({2026, 12, 8, 10, 0, 0}), longest).raisesWarning);
    const StatusView hours = ComputeStatusView(kNow, ScheduledAt({2026, 12, 7, 12, 46, 39}), longest);
    EXPECT_TRUE(hours.raisesWarning);
    EXPECT_EQ(9999, hours.warningSeconds);

    // Reached or passed: R is 0, whatever the lead.
    const StatusView late = ComputeStatusView(kNow, ScheduledAt({2026, 12, 7, 9, 0, 0}), ClockWithWarning(0));
    EXPECT_TRUE(late.raisesWarning);
    EXPECT_EQ(0, late.warningSeconds);
}

TEST(StatusText, WarningComesBeforeTheCascadeFiresACountdownWithoutSeconds) {
    for (const int32_t second : {0, 30, 59}) {  // confirmed then, for a minute
        const int64_t confirm = replay::ToMs({2026, 12, 7, 10, 0, second});
        const ScheduleState schedule = ScheduledAt(replay::FromMs(confirm + 60000), 0);
        const int64_t fired = replay::Run(schedule, Settings{}, confirm).firedMs;
        StatusView view;  // looked at each second; fired 0.25 to 1.25 s into the minute
        int64_t at = confirm - 1000;
        while (!view.raisesWarning && (at += 1000) <= fired) {
            view = ComputeStatusView(replay::FromMs(at), schedule, ClockWithWarning(10));
        }
        EXPECT_LE(at, fired) << second;
        EXPECT_NEAR(fired - at, view.warningSeconds * 1000 + 750, 1000) << second;
    }
}
