// The wall clock moves under a pending schedule, and the program is told as
// Windows tells it: WM_TIMECHANGE, or a resume.  The schedule must go off at
// its clock time all the same, never early and without long waits left over.
//
// Runs with libfaketime preloaded (see the e2e_clock_tests block of
// CMakeLists.txt): the file named by FAKETIME_TIMESTAMP_FILE holds an offset
// ("+120", "-120") that this test and the program it starts see at their next
// read of the clock, while window timers and GetTickCount stay on real time.
// Wine sends neither message when the clock moves, so the test posts them.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "driver.h"

using e2e::BoxText;
using e2e::Click;
using e2e::Press;
using e2e::SettingsFile;
using e2e::Text;

namespace {

const WPARAM kCommandSchedule = 40006;
const int kOk = 1000;
const int kReminder = 1014, kLock = 1001, kActionUsesSeconds = 1022, kPollStepButton = 1013;
const int kStep10s = 1016;
const int kActionFields[6] = {1005, 1007, 1008, 1009, 1010, 1011};
const char kReminderText[] = "Časované upozornění od programu Halvexor !";
const char kMissedText[] = "Naplánovaná akce nebyla provedena, v určený čas byl počítač uspán !";

// Long enough for the cascade's hand-overs (500 + 3 * 250 ms of timers) to
// have armed the stage that waits off the largest unit.
const DWORD kHandOversMs = 2500;

// The offset file as this Windows process names it: Wine shows the host's
// root as drive Z:.  Empty when the test was started without the preload.
std::string OffsetFile() {
    const char* unixPath = std::getenv("FAKETIME_TIMESTAMP_FILE");
    if (unixPath == nullptr || *unixPath != '/') return "";
    std::string path = std::string("Z:") + unixPath;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

// Moves the clock to `seconds` from the real time (not from the last move).
void SetClockOffset(int seconds) {
    std::ofstream out(OffsetFile(), std::ios::binary | std::ios::trunc);
    out << (seconds < 0 ? "" : "+") << seconds << "\n";
}

// The local clock this process reads, in milliseconds on a linear scale.
int64_t ClockMs() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    FILETIME f;
    SystemTimeToFileTime(&t, &f);
    return static_cast<int64_t>((static_cast<uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime) /
           10000;
}

SYSTEMTIME FromClockMs(int64_t ms) {
    const uint64_t ticks = static_cast<uint64_t>(ms) * 10000;
    FILETIME f = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME t;
    FileTimeToSystemTime(&f, &t);
    return t;
}

// The program with its window up, the clock where it really is.
struct ClockTest : ::testing::Test {
    void SetUp() override {
        ASSERT_FALSE(OffsetFile().empty()) << "FAKETIME_TIMESTAMP_FILE is not set: run through CTest";
        SetClockOffset(0);
    }
    void TearDown() override { SetClockOffset(0); }
};

// Schedules the reminder (or `choice`) at the whole second `aheadSeconds` after the clock's
// current one, typed as a date and time to the second, watched by the
// cascade or by a fixed step of 10 s; confirmed.  Returns the action time.
int64_t ScheduleReminderAt(const e2e::Session& run, int aheadSeconds, bool fixedStep,
                           int choice = kReminder) {
    HWND dialog = run.OpenDialog(kCommandSchedule, "Načasovat akci");
    if (dialog == nullptr) return -1;
    Click(dialog, choice);
    Click(dialog, kActionUsesSeconds);
    if (fixedStep) {
        Press(dialog, kPollStepButton);
        HWND steps = run.program.WaitForWindow("#32770", "Nastavení");
        if (steps == nullptr) return -1;
        Click(steps, kStep10s);
        Press(steps, kOk);
        if (!e2e::WaitUntilGone(steps)) return -1;
    }
    const int64_t action = ClockMs() / 1000 * 1000 + aheadSeconds * 1000LL;
    const SYSTEMTIME t = FromClockMs(action);
    const int values[6] = {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
    for (int i = 0; i < 6; ++i) {
        char text[8];
        wsprintfA(text, i == 0 ? "%.4d" : "%.2d", values[i]);
        e2e::SetText(dialog, kActionFields[i], text);
    }
    Press(dialog, kOk);
    return e2e::WaitUntilGone(dialog) ? action : -1;
}

// Answers the reminder box and closes the program.
void Dismiss(e2e::Session& run, HWND box, const char* text = kReminderText) {
    EXPECT_EQ(text, BoxText(box));
    Press(box, IDOK);
    EXPECT_TRUE(e2e::WaitUntilGone(box));
    EXPECT_EQ(0u, run.program.Close());
}

}  // namespace

// The preload reaches the program: its scheduling dialog opens with the moved
// date in its fields.
TEST_F(ClockTest, TheProgramReadsTheMovedClock) {
    e2e::Session run(SettingsFile(0, 0, 0, 0, 0));
    ASSERT_NE(nullptr, run.main);
    const int64_t before = ClockMs();
    SetClockOffset(2 * 86400);
    const int64_t after = ClockMs();
    ASSERT_GE(after - before, 2 * 86400000LL - 60000) << "the preload does not move this clock";
    const SYSTEMTIME expected = FromClockMs(after);
    HWND dialog = run.OpenDialog(kCommandSchedule, "Načasovat akci");
    ASSERT_NE(nullptr, dialog);
    char day[8];
    wsprintfA(day, "%.2d", expected.wDay);
    EXPECT_EQ(day, Text(dialog, kActionFields[2]));
    EXPECT_TRUE(run.Cancel(dialog));
    EXPECT_EQ(0u, run.program.Close());
}

// A move forward while a stage waits, told by either message: the reminder
// comes at its clock time (at once when the move went past it), at most two
// seconds late; without the new look it would come when the running stage
// ends, minutes or an hour later.  The countdown style is an elapsed time
// from the confirmation and keeps it.
TEST_F(ClockTest, AMoveForwardIsNoticedAtTheMessage) {
    struct Case {
        const char* name;
        int useCountdown;
        bool fixedStep;
        int aheadSeconds, moveSeconds;
        UINT message;
        WPARAM wParam;
        int action = kReminder;
    } cases[] = {
        {"cascade, minute stage, +2 min", 0, false, 125, 120, WM_TIMECHANGE, 0},
        {"cascade, hour stage, +1 h", 0, false, 3605, 3600, WM_TIMECHANGE, 0},
        {"cascade, hour stage, +1 h, resume", 0, false, 3605, 3600, WM_POWERBROADCAST,
         PBT_APMRESUMEAUTOMATIC},
        {"cascade, minute stage, slept past it", 0, false, 125, 300, WM_POWERBROADCAST,
         PBT_APMRESUMESUSPEND},
        // A lock the machine slept through is not carried out late; a box says so.
        {"cascade, lock, slept two minutes past it", 0, false, 90, 210, WM_POWERBROADCAST,
         PBT_APMRESUMEAUTOMATIC, kLock},
        // 2000 and XP after a suspension nobody was asked about
        {"cascade, hour stage, critical resume", 0, false, 3605, 3600, WM_POWERBROADCAST,
         PBT_APMRESUMECRITICAL},
        {"fixed step 10 s, +2 min past it", 0, true, 60, 120, WM_TIMECHANGE, 0},
        {"countdown, +2 min", 1, false, 8, 120, WM_TIMECHANGE, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetClockOffset(0);
        e2e::Session run(SettingsFile(0, c.useCountdown, 0, 0, 0));
        ASSERT_NE(nullptr, run.main);
        const int64_t action = ScheduleReminderAt(run, c.aheadSeconds, c.fixedStep, c.action);
        ASSERT_GE(action, 0);
        const DWORD confirmed = GetTickCount();
        Sleep(kHandOversMs);
        ASSERT_EQ(nullptr, run.program.WaitForBox("Upozornění", 0));

        SetClockOffset(c.moveSeconds);
        const int64_t told = ClockMs();
        PostMessageA(run.main, c.message, c.wParam, 0);
        HWND box = run.program.WaitForBox("Upozornění", 15000);
        const int64_t seen = ClockMs();
        const DWORD elapsed = GetTickCount() - confirmed;
        if (box == nullptr) {
            ADD_FAILURE() << "no reminder";
            continue;  // the next case still tells its own story
        }
        if (c.useCountdown == 1) {
            // The countdown was taken at the confirmation, to the whole second.
            std::printf("%s: %lu ms after the confirmation\n", c.name, elapsed);
            EXPECT_GE(elapsed, c.aheadSeconds * 1000u - 1200u);
            EXPECT_LE(elapsed, c.aheadSeconds * 1000u + 1500u);
        } else {
            const int64_t due = action > told ? action : told;
            std::printf("%s: %lld ms after its due time\n", c.name,
                        static_cast<long long>(seen - due));
            EXPECT_GE(seen, action);
            EXPECT_LE(seen - due, 2000);
        }
        Dismiss(run, box, c.action == kLock ? kMissedText : kReminderText);
        EXPECT_TRUE(run.program.Requests().empty()) << "no lock";
    }
}

// The clock set back two minutes in the last stage: nothing goes off at the
// old time, and the program waits the two minutes off with a timer instead
// of looking every second; a later move forward is taken from the message.
TEST_F(ClockTest, AMoveBackNeverFiresEarlyNorLooksEverySecond) {
    e2e::Session run(SettingsFile(0, 0, 0, 0, 0));
    ASSERT_NE(nullptr, run.main);
    const int64_t action = ScheduleReminderAt(run, 6, false);
    ASSERT_GE(action, 0);
    Sleep(kHandOversMs);

    SetClockOffset(-120);
    PostMessageA(run.main, WM_TIMECHANGE, 0, 0);
    // Past the old due time, which is now two minutes before the action.
    EXPECT_EQ(nullptr, run.program.WaitForBox("Upozornění", 5000));
    ASSERT_LT(ClockMs(), action);

    // The clock back where it was, the action time passed, but no message: a
    // program looking every second would go off now; one stage timer of two
    // minutes does not look.
    SetClockOffset(0);
    EXPECT_EQ(nullptr, run.program.WaitForBox("Upozornění", 3000));

    const int64_t told = ClockMs();
    PostMessageA(run.main, WM_TIMECHANGE, 0, 0);
    HWND box = run.program.WaitForBox("Upozornění", 5000);
    const int64_t seen = ClockMs();
    ASSERT_NE(nullptr, box);
    std::printf("set back, then told of the move forward: %lld ms after the message\n",
                static_cast<long long>(seen - told));
    EXPECT_GE(seen, action);
    EXPECT_LE(seen - told, 2000);
    Dismiss(run, box);
}

// With the countdown timer the action comes when its time has elapsed, the
// clock moved or not; the clock panel and the warning count to that moment
// too, so an hour set back (the end of summer time) loses no warning and an
// hour forward brings none early.
TEST_F(ClockTest, TheCountdownsWarningFollowsItsTimerWhenTheClockMoves) {
    for (int move : {-3600, 3600}) {
        SCOPED_TRACE(move);
        SetClockOffset(0);
        e2e::Session run(SettingsFile(0, 1, 1, 1, 5));
        ASSERT_NE(nullptr, run.main);
        ASSERT_GE(ScheduleReminderAt(run, 12, false), 0);
        SetClockOffset(move);
        PostMessageA(run.main, WM_TIMECHANGE, 0, 0);
        HWND warning = run.program.WaitForBox("Upozornění", 15000);
        const DWORD warned = GetTickCount();
        ASSERT_NE(nullptr, warning);
        EXPECT_EQ(0u, BoxText(warning).find("Akce bude provedena za ")) << BoxText(warning);
        Press(warning, IDOK);
        ASSERT_TRUE(e2e::WaitUntilGone(warning));
        HWND reminder = run.program.WaitForBox("Upozornění", 15000);
        const DWORD lead = GetTickCount() - warned;
        ASSERT_NE(nullptr, reminder);
        std::printf("clock moved %+d s: the warning %lu ms before the action\n", move, lead);
        EXPECT_LE(lead, 5600u) << "not earlier than its lead of 5 s";
        Dismiss(run, reminder);
    }
}
