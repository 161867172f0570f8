// Scheduling as a user meets it: "Načasovat akci" opens the dialog, which is
// filled in through its controls; what it reports, what fires and when.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "driver.h"

using e2e::BoxText;
using e2e::Click;
using e2e::Press;
using e2e::Program;
using e2e::ScratchDir;
using e2e::SettingsFile;
using e2e::Text;
using e2e::Ticked;
using Lines = std::vector<std::string>;

namespace {

const WPARAM kCommandSchedule = 40006;
const WPARAM kCommandCancelAction = 40009;

// Controls of the scheduling dialog.
const int kOk = 1000;
const int kReminder = 1014, kMonitorOff = 1030, kHibernate = 1015, kStandby = 1016, kLock = 1001;
const int kActionUsesSeconds = 1022, kActionCountdown = 1023, kApplyImmediately = 1042;
const int kPollStepButton = 1013, kWakeEnabled = 1041;
const int kWakeUsesSeconds = 1024, kWakeCountdown = 1026;
const int kActionFields[6] = {1005, 1007, 1008, 1009, 1010, 1011};
const int kWakeFields[6] = {1006, 1012, 1017, 1018, 1019, 1020};
const int kActionRadios[9] = {1001, 1002, 1003, 1004, 1014, 1015, 1016, 1030, 1045};

// The program with its window up and the given settings.
struct Running : e2e::Session {
    using Session::Session;
    // Opens the scheduling dialog.
    HWND Schedule() const { return OpenDialog(kCommandSchedule, "Načasovat akci"); }
    // The text of the next "Chyba" box, answered.
    std::string Error() const { return AnswerBox("Chyba"); }
};

void Type(HWND dialog, const int (&ids)[6], const char* const (&texts)[6]) {
    for (int i = 0; i < 6; ++i) e2e::SetText(dialog, ids[i], texts[i]);
}

std::string Group(HWND dialog, const int (&ids)[6]) {
    std::string line;
    for (int id : ids) line += (line.empty() ? "" : " ") + Text(dialog, id);
    return line;
}

std::string Now(bool withSecond, int addDays = 0) {
    SYSTEMTIME t;
    GetLocalTime(&t);
    FILETIME f;
    SystemTimeToFileTime(&t, &f);
    ULARGE_INTEGER u = {{f.dwLowDateTime, f.dwHighDateTime}};
    u.QuadPart += static_cast<ULONGLONG>(addDays) * 864000000000ULL;
    f = {u.LowPart, u.HighPart};
    FileTimeToSystemTime(&f, &t);
    char text[64];
    wsprintfA(text, "%.4d %.2d %.2d %.2d %.2d %.2d", t.wYear, t.wMonth, t.wDay, t.wHour,
              t.wMinute, withSecond ? t.wSecond : 0);
    return text;
}

// A reminder as a countdown of `seconds`, given to the second.
void ScheduleReminderIn(HWND dialog, const char* seconds) {
    Click(dialog, kReminder);
    Click(dialog, kActionUsesSeconds);
    Click(dialog, kActionCountdown);
    Type(dialog, kActionFields, {"0000", "00", "00", "00", "00", seconds});
    Press(dialog, kOk);
}

// A standby applied at once, with a wake-up as a countdown of `seconds` from
// now; confirmed.
void ScheduleStandbyWakingIn(HWND dialog, const char* seconds) {
    Click(dialog, kWakeEnabled);
    Click(dialog, kStandby);
    Click(dialog, kApplyImmediately);
    Click(dialog, kWakeUsesSeconds);
    Click(dialog, kWakeCountdown);
    Type(dialog, kWakeFields, {"0000", "00", "00", "00", "00", seconds});
    Press(dialog, kOk);
}

// Waits until the probe log has `count` lines, and returns them.
Lines WaitForRequests(const Program& program, size_t count, DWORD timeoutMs) {
    Lines requests = program.Requests();
    for (DWORD waited = 0; requests.size() < count && waited < timeoutMs; waited += 50) {
        Sleep(50);
        requests = program.Requests();
    }
    return requests;
}

}  // namespace

TEST(ScheduleDialog, FirstOpeningShowsNowAndNothingChosen) {
    Running run(SettingsFile(0, 0, 1, 0, 0));
    ASSERT_NE(nullptr, run.main);
    const std::string before = Now(false);
    HWND dialog = run.Schedule();
    ASSERT_NE(nullptr, dialog);
    const std::string after = Now(false);
    const std::string shown = Group(dialog, kActionFields);
    EXPECT_TRUE(shown == before || shown == after) << shown;
    EXPECT_EQ(shown, Group(dialog, kWakeFields));
    EXPECT_EQ("00", Text(dialog, 1011));
    for (int id : kActionRadios) EXPECT_FALSE(Ticked(dialog, id)) << id;
    for (int id : kWakeFields) EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, id))) << id;
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, kPollStepButton)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, kWakeEnabled)));
    EXPECT_FALSE(GetWindowLongA(dialog, GWL_STYLE) & WS_SYSMENU);
    EXPECT_EQ(run.main, GetWindow(dialog, GW_OWNER));

    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);  // Escape
    ASSERT_TRUE(e2e::Settle(dialog));
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_TRUE(run.Cancel(dialog));
    EXPECT_EQ(0u, run.program.Close());
    EXPECT_EQ(Lines{}, run.program.Requests());
}

// The action date is checked before the choice of an action, and OK keeps
// the dialog open after each refusal.
TEST(ScheduleDialog, OkRefusesABadDateThenAMissingAction) {
    Running run(SettingsFile(0, 0, 1, 0, 0));
    HWND dialog = run.Schedule();
    ASSERT_NE(nullptr, dialog);
    Type(dialog, kActionFields, {"2031", "04", "31", "12", "00", "00"});
    Press(dialog, kOk);
    EXPECT_EQ("Chyba - špatně vyplněný datum !\nChyba : ER-DPT01-058", run.Error());
    e2e::SetText(dialog, 1008, "30");
    Press(dialog, kOk);
    EXPECT_EQ("Chyba - Akce : není vybrána žádná z možností !\nChyba : ER-DPT01-089", run.Error());
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_TRUE(run.Cancel(dialog));
    EXPECT_EQ(0u, run.program.Close());
}

// One countdown timer cannot wait off more than a day.
TEST(ScheduleDialog, CountdownSettingRefusesADayAhead) {
    Running run(SettingsFile(0, 1, 1, 0, 0));
    HWND dialog = run.Schedule();
    ASSERT_NE(nullptr, dialog);
    Click(dialog, kLock);
    const std::string tomorrow = Now(false, 1);
    e2e::SetText(dialog, 1005, tomorrow.substr(0, 4).c_str());
    e2e::SetText(dialog, 1007, tomorrow.substr(5, 2).c_str());
    e2e::SetText(dialog, 1008, tomorrow.substr(8, 2).c_str());
    e2e::SetText(dialog, 1009, "23");
    e2e::SetText(dialog, 1010, "59");
    Press(dialog, kOk);
    EXPECT_EQ("Chyba - Datumu : Odpočítávání nesmí být delší než den !\nChyba : ER-DPT01-060",
              run.Error());
    EXPECT_TRUE(run.Cancel(dialog));
    EXPECT_EQ(0u, run.program.Close());
    EXPECT_EQ(Lines{}, run.program.Requests());
}

// The reminder comes on time, by the one countdown timer and by the cascade,
// and leaves nothing scheduled behind it.
TEST(ScheduleDialog, ReminderComesOnTimeAndLeavesNothingScheduled) {
    for (int useCountdown : {1, 0}) {
        SCOPED_TRACE(useCountdown);
        Running run(SettingsFile(0, useCountdown, 1, 0, 0));
        HWND dialog = run.Schedule();
        ASSERT_NE(nullptr, dialog);
        ScheduleReminderIn(dialog, "03");
        ASSERT_TRUE(e2e::WaitUntilGone(dialog));
        const DWORD confirmed = GetTickCount();
        HWND box = run.program.WaitForBox("Upozornění", 8000);
        const DWORD late = GetTickCount() - confirmed;
        ASSERT_NE(nullptr, box);
        EXPECT_EQ("Časované upozornění od programu Halvexor !", BoxText(box));
        EXPECT_EQ(run.main, GetWindow(box, GW_OWNER));
        // Three seconds from confirmation, less what had passed of the
        // confirming second, plus the hand-overs.
        EXPECT_GE(late, 1900u);
        EXPECT_LE(late, 4800u);
        Press(box, IDOK);
        ASSERT_TRUE(e2e::WaitUntilGone(box));

        dialog = run.Schedule();
        ASSERT_NE(nullptr, dialog);
        for (int id : kActionRadios) EXPECT_FALSE(Ticked(dialog, id)) << id;
        EXPECT_FALSE(Ticked(dialog, kActionCountdown));
        EXPECT_TRUE(run.Cancel(dialog));
        EXPECT_EQ(0u, run.program.Close());
    }
}

TEST(ScheduleDialog, ApplyImmediatelyActsAsTheDialogCloses) {
    Running run(SettingsFile(1, 0, 1, 0, 0));
    HWND dialog = run.Schedule();
    ASSERT_NE(nullptr, dialog);
    Click(dialog, kMonitorOff);
    Click(dialog, kApplyImmediately);
    EXPECT_EQ("0000 00 00 00 00 00", Group(dialog, kActionFields));
    Press(dialog, kOk);
    ASSERT_TRUE(e2e::WaitUntilGone(dialog));
    Lines requests;
    for (int i = 0; i < 40 && requests.empty(); ++i) {
        Sleep(50);
        requests = run.program.Requests();
    }
    EXPECT_EQ(Lines{"Broadcast(0xF170,2)"}, requests);
    EXPECT_EQ(0u, run.program.Close());
}

// Cancelling a pending schedule stops its timers: nothing comes after.
TEST(ScheduleDialog, CancelledScheduleNeverFires) {
    Running run(SettingsFile(0, 1, 1, 0, 0));
    HWND dialog = run.Schedule();
    ASSERT_NE(nullptr, dialog);
    ScheduleReminderIn(dialog, "03");
    ASSERT_TRUE(e2e::WaitUntilGone(dialog));
    PostMessageA(run.main, WM_COMMAND, kCommandCancelAction, 0);
    EXPECT_EQ(nullptr, run.program.WaitForBox("Upozornění", 5000));
    EXPECT_EQ(0u, run.program.Close());
}

// A pending schedule with the clock hidden leaves the program asleep between
// its ticks: a cascade an hour ahead waits off its hours with one timer.
TEST(ScheduleDialog, PendingScheduleUsesNoProcessorBetweenTicks) {
    Running run(SettingsFile(0, 0, 0, 0, 0));
    HWND dialog = run.Schedule();
    ASSERT_NE(nullptr, dialog);
    Click(dialog, kStandby);
    Click(dialog, kActionUsesSeconds);
    Click(dialog, kActionCountdown);
    Type(dialog, kActionFields, {"0000", "00", "00", "01", "00", "00"});
    Press(dialog, kOk);
    ASSERT_TRUE(e2e::WaitUntilGone(dialog));
    // The measure starts once the cascade's hand-overs (0.5 + 0.25 + 0.25 s)
    // are over and only the hour timer is left.
    Sleep(1500);
    // The start-up's own time shows the measure works.  32-bit Wine reports
    // none for some runs of a program, all their life: nothing to measure.
    const double before = run.program.CpuMs();
    if (before <= 0.0) {
        run.program.Close();
        GTEST_SKIP() << "Wine reports no processor time for this run of the program";
    }
    Sleep(5000);
    const double used = run.program.CpuMs() - before;
    std::printf("processor time over 5 s with a pending schedule: %.1f ms\n", used);
    EXPECT_LT(used, 50.0);
    EXPECT_EQ(Lines{}, run.program.Requests());
    EXPECT_EQ(0u, run.program.Close());
}

// The wake-up's own suspension request, the clamped delay armed on a resume
// timer, the wait for its due time, then the pause; the schedule stays
// pending until the main window clears it about three seconds after the due
// time, and the pause costs no processor time.  The warning before the
// action, due all that time, never comes: it would come after the request.
TEST(WakeUp, StandbyArmsTheTimerSuspendsAndClearsAfterTheDueTime) {
    Running run(SettingsFile(0, 0, 1, 1, 5));
    HWND dialog = run.Schedule();
    ASSERT_NE(nullptr, dialog);
    ScheduleStandbyWakingIn(dialog, "04");  // taken up to the shortest delay, 10 s
    ASSERT_TRUE(e2e::WaitUntilGone(dialog));
    const DWORD confirmed = GetTickCount();
    EXPECT_EQ((Lines{"StartSuspensionThread()", "CreateWakeTimer()", "ArmWakeTimer(-100000000)",
                     "EnableShutdownPrivilege()", "Suspend(0,1,0)"}),
              WaitForRequests(run.program, 5, 2000));

    // The timer is set once more when its due time has come, and the machine
    // is told to stay awake.
    const Lines requests = WaitForRequests(run.program, 7, 14000);
    const DWORD due = GetTickCount() - confirmed;
    ASSERT_EQ(7u, requests.size());
    EXPECT_EQ("ArmWakeTimer(0)", requests[5]);
    EXPECT_EQ("StayAwake(0x3)", requests[6]);
    EXPECT_GE(due, 9500u);
    EXPECT_LE(due, 11500u);

    const double before = run.program.CpuMs();
    Sleep(1800);
    const double used = run.program.CpuMs() - before;
    std::printf("processor time over 1.8 s of the pause: %.1f ms\n", used);
    EXPECT_LT(used, 30.0);

    // Still pending during the pause: the dialog shows the standby.
    dialog = run.Schedule();
    ASSERT_NE(nullptr, dialog);
    EXPECT_TRUE(Ticked(dialog, kStandby));
    ASSERT_TRUE(run.Cancel(dialog));

    // Cleared about three seconds after the due time.
    DWORD cleared = 0;
    while (cleared == 0 && GetTickCount() - confirmed < 20000) {
        Sleep(250);
        dialog = run.Schedule();
        ASSERT_NE(nullptr, dialog);
        if (!Ticked(dialog, kStandby)) cleared = GetTickCount() - confirmed;
        ASSERT_TRUE(run.Cancel(dialog));
    }
    EXPECT_GE(cleared, due + 2500);
    EXPECT_LE(cleared, due + 4500);
    EXPECT_EQ(7u, run.program.Requests().size());
    EXPECT_EQ(nullptr, run.program.WaitForBox("Upozornění", 0));
    EXPECT_EQ(0u, run.program.Close());
}

// Windows 2000 and XP ask every top-level window before a suspension that is
// not forced, and wait up to 20 s for one that does not answer: the window
// answers at once whichever way the suspension was asked for.  (A wake-up's
// suspension is forced, so nobody is asked; the window still answers.)
TEST(Suspension, WindowAnswersTheSystemsQueryOnEveryPath) {
    const char* const paths[] = {"Hibernovat button", "Úsporný režim menu item",
                                 "scheduled hibernate", "scheduled standby with a wake-up"};
    for (int path = 0; path < 4; ++path) {
        SCOPED_TRACE(paths[path]);
        Running run(SettingsFile(0, 0, 0, 0, 0));
        ASSERT_NE(nullptr, run.main);
        if (path == 0) PostMessageA(GetDlgItem(run.main, 40012), BM_CLICK, 0, 0);
        if (path == 1) PostMessageA(run.main, WM_COMMAND, 40014, 0);
        HWND dialog = path >= 2 ? run.Schedule() : nullptr;
        if (path == 2) {
            Click(dialog, kHibernate);
            Click(dialog, kApplyImmediately);
            Press(dialog, kOk);
        }
        if (path == 3) ScheduleStandbyWakingIn(dialog, "30");
        // The thread, the privilege, the query, the request; a wake-up arms
        // its timer instead of being asked.
        const Lines requests = WaitForRequests(run.program, path == 3 ? 5 : 4, 10000);
        ASSERT_EQ(path == 3 ? 5u : 4u, requests.size());
        EXPECT_EQ(path == 0 || path == 2 ? "Suspend(1,0,1)" : path == 1 ? "Suspend(0,0,1)" : "Suspend(0,1,0)",
                  requests.back());
        unsigned ms = 99999;
        std::printf("%s: %s\n", paths[path], path == 3 ? "(none)" : requests[2].c_str());
        if (path < 3) {
            EXPECT_EQ(1, std::sscanf(requests[2].c_str(), "QuerySuspend(answered in %u ms)", &ms));
            EXPECT_LT(ms, 1000u);
        }
        EXPECT_TRUE(e2e::Settle(run.main, 1000));
        EXPECT_EQ(nullptr, run.program.WaitForBox("Chyba", 500));
        EXPECT_EQ(0u, run.program.Close());
    }
}

// A wake-up's suspension that the system refuses is reported as a refused
// one without a wake-up is, in front; nothing is left pending and the
// program goes on.
TEST(WakeUp, RefusedSuspensionIsReportedAndTheProgramGoesOn) {
    Running run(SettingsFile(0, 0, 1, 0, 0), "suspend");
    HWND dialog = run.Schedule();
    ASSERT_NE(nullptr, dialog);
    ScheduleStandbyWakingIn(dialog, "30");
    HWND box = run.program.WaitForBox("Chyba", 5000);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ("Chyba - nelze systém uvést do stavu úsporného režimu !\nChyba : ER-PA01-002",
              BoxText(box));
    EXPECT_EQ(run.main, GetWindow(box, GW_OWNER));
    EXPECT_NE(0, GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST);
    Press(box, IDOK);
    ASSERT_TRUE(e2e::WaitUntilGone(box));
    EXPECT_EQ((Lines{"StartSuspensionThread()", "CreateWakeTimer()", "ArmWakeTimer(-300000000)",
                     "EnableShutdownPrivilege()", "Suspend(0,1,0)"}),
              run.program.Requests());
    dialog = run.Schedule();
    ASSERT_NE(nullptr, dialog);
    EXPECT_FALSE(Ticked(dialog, kStandby)) << "nothing pending";
    ASSERT_TRUE(run.Cancel(dialog));
    EXPECT_EQ(0u, run.program.Close());
}

// The clock timer feeds the status display: with the warning on, it is given
// once, some seconds before the action, and the action still comes on time.
TEST(ScheduleDialog, WarningComesOnceBeforeTheAction) {
    Running run(SettingsFile(0, 0, 1, 1, 4));
    HWND dialog = run.Schedule();
    ASSERT_NE(nullptr, dialog);
    ScheduleReminderIn(dialog, "07");
    ASSERT_TRUE(e2e::WaitUntilGone(dialog));
    const DWORD confirmed = GetTickCount();
    HWND warning = run.program.WaitForBox("Upozornění", 8000);
    ASSERT_NE(nullptr, warning);
    const DWORD warned = GetTickCount() - confirmed;
    EXPECT_EQ(0u, BoxText(warning).find("Akce bude provedena za ")) << BoxText(warning);
    EXPECT_NE(0, GetWindowLongA(warning, GWL_EXSTYLE) & WS_EX_TOPMOST) << "in front of every window";
    EXPECT_GE(warned, 1500u);
    EXPECT_LE(warned, 5000u);
    Press(warning, IDOK);
    ASSERT_TRUE(e2e::WaitUntilGone(warning));
    HWND reminder = run.program.WaitForBox("Upozornění", 8000);
    ASSERT_NE(nullptr, reminder);
    EXPECT_EQ("Časované upozornění od programu Halvexor !", BoxText(reminder));
    EXPECT_NE(0, GetWindowLongA(reminder, GWL_EXSTYLE) & WS_EX_TOPMOST);
    Press(reminder, IDOK);
    ASSERT_TRUE(e2e::WaitUntilGone(reminder));
    EXPECT_EQ(nullptr, run.program.WaitForBox("Upozornění", 1500));
    EXPECT_EQ(0u, run.program.Close());
}
