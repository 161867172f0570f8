// The primitives, the clearing of the schedule and the executor, in process,
// with the power requests recorded by the probe.
#include <gtest/gtest.h>

#include <cstring>

#include "actions/action_kind.h"
#include "actions/actions.h"
#include "base/ids.h"
#include "base/os_level.h"
#include "power_probe.h"
#include "schedule/schedule_state.h"
#include "test_window.h"

using Lines = std::vector<std::string>;

namespace {

class ActionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        probe::Reset();
        gSchedule = ScheduleState{};
        gOsLevel = kOsLevelMinorOne;
    }
    void TearDown() override { gSchedule = ScheduleState{}; }

    // A schedule as the dialog commits it, for `kind`.
    void Schedule(int32_t kind) {
        gSchedule.actionKind = kind;
        gSchedule.actionYear = 2026;
        gSchedule.actionMonth = 12;
        gSchedule.actionDay = 24;
        gSchedule.actionHour = 18;
        gSchedule.actionMinute = 30;
        gSchedule.pollStep = 3;
        gSchedule.countdownSeconds = 77;
    }

    // Hibernate and standby come back from the suspension thread: its report
    // handled as the window would.
    static void FinishSuspensionIfAny(HWND window) {
        WPARAM report = 0;
        LPARAM ticket = 0;
        const Lines requests = probe::Requests();
        if (!requests.empty() && requests[0] == "StartSuspensionThread()" &&
            testwin::TakeSuspensionDone(window, 5000, &report, &ticket)) {
            FinishSuspension(window, report, ticket);
        }
    }

    testwin::StandInMainWindow window_;
};

}  // namespace

TEST_F(ActionsTest, ShutdownRequestsFollowTheLevelBands) {
    struct Case {
        int32_t level;
        Lines restart;
    } cases[] = {
        {220, {"EnableShutdownPrivilege()", "ExitSession(2)"}},
        {200, {"EnableShutdownPrivilege()", "ExitSession(2)"}},
        {100, {"ExitSession(2)"}},
        {120, {"ExitSession(2)"}},
    };
    for (const Case& c : cases) {
        probe::Reset();
        gOsLevel = c.level;
        RestartComputer();
        EXPECT_EQ(c.restart, probe::Requests()) << c.level;
    }
}

TEST_F(ActionsTest, ShutdownOutsideTheBandsReportsWithoutOwnerAndRequestsNothing) {
    gOsLevel = 150;
    testwin::BoxWatcher boxes;
    RestartComputer();
    PowerOffComputer();
    EXPECT_TRUE(probe::Requests().empty());
    const auto seen = boxes.Boxes();
    ASSERT_EQ(2u, seen.size());
    EXPECT_EQ("Nepodařilo se restarovat počítač !\nChyba : ER-RW01-001", seen[0].text);
    EXPECT_EQ("Nepodařilo se vypnout počítač !\nChyba : ER-UW01-001", seen[1].text);
    for (const auto& box : seen) {
        EXPECT_EQ("Chyba", box.caption);
        EXPECT_EQ(nullptr, box.owner);
    }
}

TEST_F(ActionsTest, RefusedPrivilegeStopsLogOffRestartAndShutdownSilently) {
    probe::Reset("privilege");
    testwin::BoxWatcher boxes;
    LogOffSession();
    RestartComputer();
    PowerOffComputer();
    EXPECT_EQ(Lines(3, "EnableShutdownPrivilege()"), probe::Requests());
    EXPECT_TRUE(boxes.Boxes().empty());
}

// The privilege comes first; when it cannot be enabled the suspension is asked
// for all the same, and only the system's answer to that decides.
TEST_F(ActionsTest, SuspendPrimitivesTakeThePrivilegeAndReportTheSystemsAnswer) {
    const struct {
        const char* refused;
        int result;
    } cases[] = {{"", 1}, {"privilege", 1}, {"suspend", 0}, {"privilege,suspend", 0}};
    for (const auto& c : cases) {
        probe::Reset(c.refused);
        EXPECT_EQ(c.result, HibernateComputer()) << c.refused;
        EXPECT_EQ(c.result, StandbyComputer()) << c.refused;
        EXPECT_EQ((Lines{"EnableShutdownPrivilege()", "Suspend(1,0,1)", "EnableShutdownPrivilege()",
                         "Suspend(0,0,1)"}),
                  probe::Requests())
            << c.refused;
    }
}

TEST_F(ActionsTest, ClearScheduleResetsTheRecordButNotTheStageBookkeeping) {
    Schedule(kActionPowerOff);
    gSchedule.wakeYear = 2027;
    gSchedule.wakeDelaySeconds = 600;
    gSchedule.warningShown = 1;
    EXPECT_EQ(1, ClearSchedule(window_.Handle()));
    ScheduleState expected;
    expected.warningShown = 1;
    EXPECT_EQ(0, std::memcmp(&expected, &gSchedule, sizeof expected));
}

TEST_F(ActionsTest, ClearScheduleWithNothingPendingKeepsTheComponents) {
    gSchedule.actionYear = 2030;
    gSchedule.actionMonth = 5;
    ClearSchedule(window_.Handle());
    EXPECT_EQ(2030, gSchedule.actionYear);
    EXPECT_EQ(5, gSchedule.actionMonth);
}

TEST_F(ActionsTest, ClearScheduleKillsTheStageAndClockTimers) {
    HWND window = window_.Handle();
    SetTimer(window, IDT_CLOCK, 100000, nullptr);
    ClearSchedule(window_.Handle());  // no stage (one that fired, say): the clock goes all the same
    EXPECT_FALSE(KillTimer(window, IDT_CLOCK));

    SetTimer(window, 4, 100000, nullptr);
    SetTimer(window, IDT_CLOCK, 100000, nullptr);
    gSchedule.timerStage = 4;
    ClearSchedule(window_.Handle());  // nothing scheduled, yet the armed stage goes
    EXPECT_EQ(0, gSchedule.timerStage);
    EXPECT_FALSE(KillTimer(window, 4));
    EXPECT_FALSE(KillTimer(window, IDT_CLOCK));
}

// Log off, restart and shut down keep the record while the system goes down
// (only the kind is reset) and end the program; the others clear the schedule
// first and keep the program.
TEST_F(ActionsTest, ScheduledActionsMakeTheirRequestsOnce) {
    const struct {
        int32_t kind;
        Lines requests;
        bool endsSession;
    } cases[] = {
        {kActionLogOff, {"EnableShutdownPrivilege()", "ExitSession(0)"}, true},
        {kActionRestart, {"EnableShutdownPrivilege()", "ExitSession(2)"}, true},
        {kActionPowerOff, {"EnableShutdownPrivilege()", "ExitSession(8)"}, true},
        {kActionLock, {"Lock()"}, false},
        {kActionHibernate, {"StartSuspensionThread()", "EnableShutdownPrivilege()", "Suspend(1,0,1)"}, false},
        {kActionStandby, {"StartSuspensionThread()", "EnableShutdownPrivilege()", "Suspend(0,0,1)"}, false},
        {kActionMonitorOff, {"Broadcast(0xF170,2)"}, false},
        {kActionScreenSaver, {"Broadcast(0xF140,0)"}, false},
    };
    for (const auto& c : cases) {
        probe::Reset();
        testwin::StandInMainWindow window;
        Schedule(c.kind);
        SetTimer(window.Handle(), IDT_CLOCK, 100000, nullptr);
        ExecuteScheduledAction(window.Handle());
        FinishSuspensionIfAny(window.Handle());
        EXPECT_EQ(c.requests, probe::Requests()) << c.kind;
        EXPECT_EQ(c.endsSession, KillTimer(window.Handle(), IDT_CLOCK) != FALSE)
            << c.kind << ": the clock stops with the schedule";
        EXPECT_EQ(c.endsSession ? 1 : 0, window.DestroyMessages()) << c.kind;
        EXPECT_EQ(0, gSchedule.actionKind);
        EXPECT_EQ(c.endsSession ? 2026 : -1, gSchedule.actionYear) << c.kind;
        if (c.endsSession) {
            EXPECT_EQ(77, gSchedule.countdownSeconds) << c.kind;
        }
    }
}

TEST_F(ActionsTest, NothingScheduledEndsTheProgram) {
    ExecuteScheduledAction(window_.Handle());
    EXPECT_TRUE(probe::Requests().empty());
    EXPECT_EQ(1, window_.DestroyMessages());
}

TEST_F(ActionsTest, ReminderShowsItsBoxWithTheScheduleAlreadyCleared) {
    Schedule(kActionReminder);
    testwin::BoxWatcher boxes;
    ExecuteScheduledAction(window_.Handle());
    const auto seen = boxes.Boxes();
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ("Upozornění", seen[0].caption);
    EXPECT_EQ("Časované upozornění od programu Halvexor !", seen[0].text);
    EXPECT_EQ(window_.Handle(), seen[0].owner);
    EXPECT_TRUE(seen[0].ownerWasVisible) << "the window is restored first";
    EXPECT_EQ(0, gSchedule.actionKind);
    EXPECT_TRUE(probe::Requests().empty());
}

TEST_F(ActionsTest, RefusedScheduledSuspendRestoresTheWindowAndReports) {
    probe::Reset("suspend");
    Schedule(kActionHibernate);
    testwin::BoxWatcher boxes;
    ExecuteScheduledAction(window_.Handle());
    FinishSuspensionIfAny(window_.Handle());
    Schedule(kActionStandby);
    ExecuteScheduledAction(window_.Handle());
    FinishSuspensionIfAny(window_.Handle());
    const auto seen = boxes.Boxes();
    ASSERT_EQ(2u, seen.size());
    EXPECT_EQ("Chyba - nelze systém uvést do stavu hibernace !\nChyba : ER-PA01-001", seen[0].text);
    EXPECT_EQ("Chyba - nelze systém uvést do stavu úsporného režimu !\nChyba : ER-PA01-002",
              seen[1].text);
    for (const auto& box : seen) {
        EXPECT_EQ("Chyba", box.caption);
        EXPECT_EQ(window_.Handle(), box.owner);
        EXPECT_TRUE(box.ownerWasVisible);
    }
    EXPECT_EQ(0, gSchedule.actionKind);
}

// Without its thread a wake-up never suspends the machine: reported as the
// system's refusal of that suspension would be, and nothing left pending.
TEST_F(ActionsTest, WakeUpWhoseThreadCannotStartIsReportedAndCleared) {
    const struct {
        int32_t kind;
        const char* text;
    } cases[] = {
        {kActionHibernate, "Chyba - nelze systém uvést do stavu hibernace !\nChyba : ER-PA01-001"},
        {kActionStandby,
         "Chyba - nelze systém uvést do stavu úsporného režimu !\nChyba : ER-PA01-002"},
    };
    for (const auto& c : cases) {
        probe::Reset("thread");
        ShowWindow(window_.Handle(), SW_HIDE);
        Schedule(c.kind);
        gSchedule.wakeEnabled = 1;
        gSchedule.wakeYear = 2026;
        gSchedule.wakeDelaySeconds = 600;
        testwin::BoxWatcher boxes;
        ExecuteScheduledAction(window_.Handle());
        const auto seen = boxes.Boxes();
        ASSERT_EQ(1u, seen.size()) << c.kind;
        EXPECT_EQ(c.text, seen[0].text);
        EXPECT_EQ("Chyba", seen[0].caption);
        EXPECT_EQ(window_.Handle(), seen[0].owner);
        EXPECT_TRUE(seen[0].ownerWasVisible) << c.kind << ": restored first";
        EXPECT_EQ(Lines{"StartSuspensionThread()"}, probe::Requests()) << c.kind;
        EXPECT_EQ(0, gSchedule.actionKind) << c.kind;
        EXPECT_EQ(0, gSchedule.wakeEnabled) << c.kind;
        EXPECT_EQ(-1, gSchedule.wakeYear) << c.kind;
    }
}

TEST_F(ActionsTest, RefusedLockReportsWithoutOwner) {
    probe::Reset("lock");
    testwin::BoxWatcher boxes;
    LockStation();
    const auto seen = boxes.Boxes();
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ("Nepodařilo se zamknout stanici !\nChyba : ER-ZPC01-001", seen[0].text);
    EXPECT_EQ(nullptr, seen[0].owner);
}
