// The suspension thread's wake-up, in process.  The probe records the requests; its timer is
// real (armed without resume) and its suspension returns at once, so the thread
// waits off the due time exactly as after an early wake-up.
#include <gtest/gtest.h>


#include "actions/action_kind.h"
#include "actions/actions.h"
#include "actions/suspend_thread.h"
#include "base/ids.h"
#include "base/os_level.h"
#include "power_probe.h"
#include "schedule/schedule_state.h"
#include "test_window.h"

using Lines = std::vector<std::string>;

namespace {

// Timers and sleeps may end up to a tick before the millisecond count says.
constexpr DWORD kTickSlack = 50;

struct WakeDone {
    bool arrived;
    WPARAM report;
    LPARAM ticket;
    DWORD afterMs;  // since the action was executed
};

class WakeThreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        probe::Reset();
        gSchedule = ScheduleState{};
    }

    void TearDown() override {
        // A test that stopped early still lets its thread end before the next.
        if (running_) {
            const WakeDone done = WaitForWakeDone(30000);
            if (done.arrived) FinishSuspension(window_.Handle(), done.report, done.ticket);
        }
        gSchedule = ScheduleState{};
        gOsVersion = {0, 0};
        probe::Reset();
    }

    // A committed hibernate or standby with a wake-up, whose time has come.
    void ExecuteWithWakeUp(int32_t kind, int32_t delaySeconds) {
        gSchedule.actionKind = kind;
        gSchedule.actionYear = 2026;
        gSchedule.actionMonth = 12;
        gSchedule.actionDay = 24;
        gSchedule.wakeEnabled = 1;
        gSchedule.wakeYear = 2026;
        gSchedule.wakeDelaySeconds = delaySeconds;
        started_ = GetTickCount();
        running_ = true;
        ExecuteScheduledAction(window_.Handle());
    }

    // The thread's report, read from the stand-in window's queue within `boundMs`.
    WakeDone WaitForWakeDone(DWORD boundMs) {
        WPARAM report = 0;
        LPARAM ticket = 0;
        const DWORD waited = GetTickCount() - started_;
        if (!testwin::TakeSuspensionDone(window_.Handle(), boundMs > waited ? boundMs - waited : 0,
                                         &report, &ticket)) {
            return {false, 0, 0, 0};
        }
        running_ = false;
        return {true, report, ticket, GetTickCount() - started_};
    }

    // The requests once there are `count` of them (or after 5 s).
    static Lines RequestsOnceThereAre(size_t count) {
        const DWORD start = GetTickCount();
        Lines requests = probe::Requests();
        while (requests.size() < count && GetTickCount() - start < 5000) {
            Sleep(10);
            requests = probe::Requests();
        }
        return requests;
    }

    testwin::StandInMainWindow window_;
    DWORD started_ = 0;
    bool running_ = false;
};

}  // namespace

TEST_F(WakeThreadTest, StandbyWaitsOffTheDueTimeThenTheMainThreadClears) {
    ExecuteWithWakeUp(kActionStandby, 5);
    // Clamped on the main thread, before the thread runs; nothing else changes.
    EXPECT_EQ(10, gSchedule.wakeDelaySeconds);
    EXPECT_EQ(kActionStandby, gSchedule.actionKind);
    EXPECT_EQ(2026, gSchedule.actionYear);
    EXPECT_EQ(0, gSchedule.timerStage);
    EXPECT_EQ(1, gSchedule.warningShown) << "no warning after the hand-over";
    EXPECT_EQ(0, window_.DestroyMessages());
    EXPECT_EQ((Lines{"StartSuspensionThread()", "CreateWakeTimer()", "ArmWakeTimer(-100000000)",
                     "EnableShutdownPrivilege()", "Suspend(0,1,0)"}),
              RequestsOnceThereAre(5));

    const WakeDone done = WaitForWakeDone(25000);
    ASSERT_TRUE(done.arrived);
    EXPECT_GE(done.afterMs + kTickSlack, 13000u) << "the due time, then three seconds";
    EXPECT_LT(done.afterMs, 20000u);
    EXPECT_EQ((Lines{"StartSuspensionThread()", "CreateWakeTimer()", "ArmWakeTimer(-100000000)",
                     "EnableShutdownPrivilege()", "Suspend(0,1,0)", "ArmWakeTimer(0)",
                     "StayAwake(0x3)"}),
              probe::Requests());
    EXPECT_EQ(kActionStandby, gSchedule.actionKind) << "pending until the main thread clears";
    EXPECT_EQ(10, gSchedule.wakeDelaySeconds);

    SetTimer(window_.Handle(), IDT_CLOCK, 100000, nullptr);
    FinishSuspension(window_.Handle(), done.report, done.ticket);
    EXPECT_FALSE(KillTimer(window_.Handle(), IDT_CLOCK)) << "the clock stops with the schedule";
    EXPECT_EQ(0, gSchedule.actionKind);
    EXPECT_EQ(-1, gSchedule.actionYear);
    EXPECT_EQ(0, gSchedule.wakeEnabled);
    EXPECT_EQ(0, gSchedule.wakeDelaySeconds);
}

TEST_F(WakeThreadTest, HibernateGetsTheLongerLeadAndATimerNotArmedIsNotWaitedFor) {
    probe::Reset("arm");
    ExecuteWithWakeUp(kActionHibernate, 20);
    EXPECT_EQ(30, gSchedule.wakeDelaySeconds);

    const WakeDone done = WaitForWakeDone(10000);
    ASSERT_TRUE(done.arrived);
    EXPECT_GE(done.afterMs + kTickSlack, 3000u);
    EXPECT_LT(done.afterMs, 8000u) << "no wait for a 30 s timer that was never set";
    EXPECT_EQ((Lines{"StartSuspensionThread()", "CreateWakeTimer()", "ArmWakeTimer(-300000000)",
                     "EnableShutdownPrivilege()", "Suspend(1,1,0)", "StayAwake(0x3)"}),
              probe::Requests());
    FinishSuspension(window_.Handle(), done.report, done.ticket);
    EXPECT_EQ(0, gSchedule.actionKind);
}

TEST_F(WakeThreadTest, TimerThatCannotBeMadeDoesNotHoldTheWakeUpBack) {
    probe::Reset("timer");
    ExecuteWithWakeUp(kActionStandby, 600);

    const WakeDone done = WaitForWakeDone(10000);
    ASSERT_TRUE(done.arrived);
    EXPECT_GE(done.afterMs + kTickSlack, 3000u);
    EXPECT_LT(done.afterMs, 8000u);
    EXPECT_EQ((Lines{"StartSuspensionThread()", "CreateWakeTimer()", "EnableShutdownPrivilege()",
                     "Suspend(0,1,0)", "StayAwake(0x3)"}),
              probe::Requests())
        << "the suspension goes ahead without a wake-up";
    EXPECT_EQ(600, gSchedule.wakeDelaySeconds);
    FinishSuspension(window_.Handle(), done.report, done.ticket);
    EXPECT_EQ(0, gSchedule.actionKind);
}

// Only a call under way holds the next suspension back, until it returns;
// a wake-up's wait for its timer after that holds nothing back, and the
// wake-up, once over, clears nothing it was not given.
TEST_F(WakeThreadTest, RequestsDuringTheWakeUpsWaitGoAhead) {
    const auto suspends = [] {
        Lines found;
        for (const std::string& r : probe::Requests())
            if (r.rfind("Suspend(", 0) == 0) found.push_back(r);
        return found;
    };
    const auto finishNext = [this] {
        WPARAM report = 0;
        LPARAM ticket = 0;
        ASSERT_TRUE(testwin::TakeSuspensionDone(window_.Handle(), 5000, &report, &ticket));
        FinishSuspension(window_.Handle(), report, ticket);
    };
    ExecuteWithWakeUp(kActionStandby, 10);
    ASSERT_EQ(5u, RequestsOnceThereAre(5).size());
    // "Hibernovat" (the pending schedule cleared first), then a standby
    // scheduled meanwhile: each waits for the call before it to return.
    ClearSchedule(window_.Handle());
    SuspendFromWindow(window_.Handle(), kActionHibernate, "refused");
    gSchedule.actionKind = kActionStandby;
    gSchedule.actionYear = 2026;
    ExecuteScheduledAction(window_.Handle());
    EXPECT_EQ(Lines{"Suspend(0,1,0)"}, suspends());
    finishNext();  // the wake-up's call returned, then the hibernate's
    finishNext();
    EXPECT_EQ((Lines{"Suspend(0,1,0)", "Suspend(1,0,1)", "Suspend(0,0,1)"}), suspends());

    gSchedule.actionKind = kActionLock;  // committed after the standby
    const WakeDone done = WaitForWakeDone(20000);
    ASSERT_TRUE(done.arrived);
    FinishSuspension(window_.Handle(), done.report, done.ticket);
    EXPECT_EQ(kActionLock, gSchedule.actionKind);
}

TEST_F(WakeThreadTest, ScheduleCommittedWhileAsleepIsSpared) {
    probe::Reset("timer");
    ExecuteWithWakeUp(kActionStandby, 10);
    // Meanwhile the user cancels and commits a new schedule.
    ClearSchedule(window_.Handle());
    gSchedule.actionKind = kActionLock;
    gSchedule.actionYear = 2027;

    const WakeDone done = WaitForWakeDone(10000);
    ASSERT_TRUE(done.arrived);
    const uint32_t clearings = gScheduleClearings;
    FinishSuspension(window_.Handle(), done.report, done.ticket);
    EXPECT_EQ(kActionLock, gSchedule.actionKind);
    EXPECT_EQ(2027, gSchedule.actionYear);
    EXPECT_EQ(clearings, gScheduleClearings) << "not even an empty clearing";
}

// Windows 2000 and XP take a timed wake-up for an unattended one unless told
// a user is present, which they hold only continuously; later versions refuse
// that flag, and so does any system that does not know it.
TEST_F(WakeThreadTest, OnWindows2000AndXpTheWakeUpSaysAUserIsPresent) {
    const struct {
        OsVersion version;
        const char* refused;
        const char* lastTwo;
    } cases[] = {
        {{5, 1}, "timer", "StayAwake(0x80000007) StayAwake(0x80000000)"},
        {{5, 0}, "timer,awake", "StayAwake(0x80000007) StayAwake(0x3)"},
        {{6, 1}, "timer", "Suspend(0,1,0) StayAwake(0x3)"},
    };
    for (const auto& c : cases) {
        probe::Reset(c.refused);
        gOsVersion = c.version;
        ExecuteWithWakeUp(kActionStandby, 10);
        const WakeDone done = WaitForWakeDone(10000);
        ASSERT_TRUE(done.arrived);
        const Lines requests = probe::Requests();
        EXPECT_EQ(c.lastTwo, requests[requests.size() - 2] + " " + requests.back()) << c.version.major;
        FinishSuspension(window_.Handle(), done.report, done.ticket);
    }
}
