// The scheduling and polling-step dialogs made in process: their templates,
// what they show on opening, the enabling rules of their boxes and buttons,
// and what OK commits.  Message boxes are answered by a watcher.
#include <gtest/gtest.h>

#include <cstdio>

#include <string>
#include <vector>

#include "actions/action_kind.h"
#include "app/main_window.h"
#include "base/ids.h"
#include "base/os_level.h"
#include "power_probe.h"
#include "schedule/calendar_clock.h"
#include "schedule/schedule_dialog.h"
#include "schedule/schedule_state.h"
#include "settings/poll_step_dialog.h"
#include "settings/settings_file.h"
#include "test_window.h"

namespace {

const int kActionFields[6] = {IDC_ACTION_YEAR, IDC_ACTION_MONTH,  IDC_ACTION_DAY,
                              IDC_ACTION_HOUR, IDC_ACTION_MINUTE, IDC_ACTION_SECOND};
const int kWakeFields[6] = {IDC_WAKE_YEAR, IDC_WAKE_MONTH,  IDC_WAKE_DAY,
                            IDC_WAKE_HOUR, IDC_WAKE_MINUTE, IDC_WAKE_SECOND};
const int kActionRadios[9] = {IDC_ACTION_REMINDER, IDC_ACTION_SCREEN_SAVER, IDC_ACTION_MONITOR_OFF,
                              IDC_ACTION_STANDBY,  IDC_ACTION_LOCK,         IDC_ACTION_LOG_OFF,
                              IDC_ACTION_RESTART,  IDC_ACTION_HIBERNATE,    IDC_ACTION_POWER_OFF};

std::string Format(const DateTime& t, bool withSecond) {
    char text[64];
    wsprintfA(text, "%.4d %.2d %.2d %.2d %.2d %.2d", t.year, t.month, t.day, t.hour, t.minute,
              withSecond ? t.second : 0);
    return text;
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        probe::Reset();
        gSchedule = ScheduleState{};
        gScheduleEdit = ScheduleEdit{};
        gSettings = Settings{};
        gOsLevel = 220;
        gInstance = GetModuleHandleA(nullptr);
    }
    void TearDown() override {
        if (dialog_ != nullptr) DestroyWindow(dialog_);
        gSchedule = ScheduleState{};
    }

    // The dialog, modeless, as the procedure sees it on opening, given the
    // main window (a stand-in's, if any).
    HWND Open(int templateId = IDD_SCHEDULE) {
        dialog_ = CreateDialogParamA(gInstance, MAKEINTRESOURCEA(templateId), nullptr,
                                     templateId == IDD_SCHEDULE ? ScheduleDialog : PollStepDialog,
                                     reinterpret_cast<LPARAM>(gMainWindow));
        ShowWindow(dialog_, SW_SHOWNA);
        return dialog_;
    }
    std::string Text(int id) const {
        char text[256] = {};
        GetDlgItemTextA(dialog_, id, text, sizeof text);
        return text;
    }
    // A group's six fields as one line, year first.
    std::string Group(const int (&ids)[6]) const {
        std::string line;
        for (int id : ids) line += (line.empty() ? "" : " ") + Text(id);
        return line;
    }
    void Type(const int (&ids)[6], const char* const (&texts)[6]) const {
        for (int i = 0; i < 6; ++i) SetDlgItemTextA(dialog_, ids[i], texts[i]);
    }
    bool Ticked(int id) const { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }
    bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(dialog_, id)) != FALSE; }
    bool ReadOnly(int id) const {
        return (GetWindowLongA(GetDlgItem(dialog_, id), GWL_STYLE) & ES_READONLY) != 0;
    }
    // As a user's click: the box flips, then its handler runs.
    void Click(int id) const { SendDlgItemMessageA(dialog_, id, BM_CLICK, 0, 0); }
    bool Ended() const { return !IsWindowVisible(dialog_); }

    HWND dialog_ = nullptr;
};

using ScheduleDialogTest = DialogTest;
using PollStepDialogTest = DialogTest;

struct Control {
    int id;
    const char* text;
    RECT units;  // x, y, width, height in dialog units
    DWORD style;  // bits that must be set
    bool disabled;
};

// Every control that has an id, with the style bits that make it what it is.
const Control kScheduleControls[] = {
    {IDC_OK, "OK", {400, 151, 50, 14}, BS_DEFPUSHBUTTON | WS_TABSTOP, false},
    {IDC_CANCEL, "Cancel", {7, 151, 50, 14}, WS_TABSTOP, false},
    {IDC_ACTION_LOCK, "Zamknout", {15, 63, 48, 10}, BS_AUTORADIOBUTTON, true},
    {IDC_ACTION_LOG_OFF, "Odhlásit se", {15, 75, 51, 10}, BS_AUTORADIOBUTTON, true},
    {IDC_ACTION_RESTART, "Restartovat", {15, 87, 53, 10}, BS_AUTORADIOBUTTON, true},
    {IDC_ACTION_POWER_OFF, "Vypnout", {15, 113, 42, 10}, BS_AUTORADIOBUTTON, true},
    {IDC_ACTION_YEAR, "", {144, 42, 40, 12}, ES_NUMBER | ES_AUTOHSCROLL | WS_TABSTOP, false},
    {IDC_ACTION_MONTH, "", {144, 55, 40, 12}, ES_NUMBER | WS_TABSTOP, false},
    {IDC_ACTION_DAY, "", {144, 67, 40, 12}, ES_NUMBER | WS_TABSTOP, false},
    {IDC_ACTION_HOUR, "", {232, 42, 40, 12}, ES_NUMBER | WS_TABSTOP, false},
    {IDC_ACTION_MINUTE, "", {232, 55, 40, 12}, ES_NUMBER | WS_TABSTOP, false},
    {IDC_ACTION_SECOND, "", {232, 67, 40, 12}, ES_NUMBER | ES_READONLY | WS_TABSTOP, false},
    {IDC_ACTION_USES_SECONDS, "Používat sekundy", {116, 86, 73, 10}, BS_AUTOCHECKBOX | BS_LEFTTEXT | WS_TABSTOP, false},
    {IDC_POLL_STEP_BUTTON, "nastavení", {208, 86, 50, 11}, WS_TABSTOP, true},
    {IDC_ACTION_COUNTDOWN, "pro odpočet zašrtni pro datum nezaškrtávej", {112, 106, 153, 10}, BS_AUTOCHECKBOX | WS_TABSTOP, false},
    {IDC_ACTION_REMINDER, "Upozornění", {15, 17, 53, 10}, BS_AUTORADIOBUTTON, true},
    {IDC_ACTION_HIBERNATE, "Hibernovat", {15, 100, 51, 10}, BS_AUTORADIOBUTTON, true},
    {IDC_ACTION_STANDBY, "Úsporný režim", {15, 52, 60, 10}, BS_AUTORADIOBUTTON, true},
    {IDC_WAKE_ENABLED, "Povolit oživení", {13, 132, 62, 10}, BS_AUTOCHECKBOX | WS_TABSTOP, true},
    {IDC_APPLY_IMMEDIATELY, "Použít akci ihned", {118, 24, 71, 10}, BS_AUTOCHECKBOX | WS_TABSTOP, false},
    {IDC_WAKE_YEAR, "", {317, 38, 40, 12}, ES_NUMBER, true},
    {IDC_WAKE_MONTH, "", {317, 51, 40, 12}, ES_NUMBER, true},
    {IDC_WAKE_DAY, "", {317, 64, 40, 12}, ES_NUMBER, true},
    {IDC_WAKE_HOUR, "", {405, 38, 40, 12}, ES_NUMBER, true},
    {IDC_WAKE_MINUTE, "", {405, 51, 40, 12}, ES_NUMBER, true},
    {IDC_WAKE_SECOND, "", {405, 64, 40, 12}, ES_NUMBER | ES_READONLY, true},
    {IDC_WAKE_USES_SECONDS, "Používat sekundy", {317, 82, 73, 10}, BS_AUTOCHECKBOX | BS_LEFTTEXT, true},
    {IDC_WAKE_COUNTDOWN, "pro odpočet zašrtni pro datum nezaškrtávej", {287, 96, 153, 8}, BS_AUTOCHECKBOX, true},
    {IDC_WAKE_FROM_ACTION, "od času použití akce zaškrtni        od systémového času nezaškrtávej", {303, 108, 127, 17}, BS_AUTOCHECKBOX | BS_MULTILINE, true},
    {IDC_ACTION_MONITOR_OFF, "Vypnout monitor", {15, 40, 67, 10}, BS_AUTORADIOBUTTON, true},
    {IDC_ACTION_SCREEN_SAVER, "Spořič obrazovky", {15, 28, 71, 10}, BS_AUTORADIOBUTTON, true},
};

void ExpectControl(HWND dialog, const Control& c) {
    SCOPED_TRACE(c.id);
    HWND control = GetDlgItem(dialog, c.id);
    ASSERT_NE(nullptr, control);
    // Position and size are mapped each on its own, as the dialog manager does.
    RECT expected = c.units;
    MapDialogRect(dialog, &expected);
    expected.right += expected.left;
    expected.bottom += expected.top;
    RECT actual;
    GetWindowRect(control, &actual);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
    EXPECT_EQ(expected.left, actual.left);
    EXPECT_EQ(expected.top, actual.top);
    EXPECT_EQ(expected.right, actual.right);
    EXPECT_EQ(expected.bottom, actual.bottom);
    // (A dialog turns an edit's border into a sunken edge.)
    const DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
    EXPECT_EQ(c.style, style & c.style);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_EQ(c.disabled, (style & WS_DISABLED) != 0);
    char text[128] = {};
    GetWindowTextA(control, text, sizeof text);
    if (c.text[0] != '\0') {
        EXPECT_STREQ(c.text, text);
    }
}

}  // namespace

// The template as made, before the procedure enables anything: at level 0
// nothing is enabled by level.
TEST_F(ScheduleDialogTest, TemplateHasEveryControlWhereItBelongs) {
    gOsLevel = 0;
    HWND dialog = Open();
    ASSERT_NE(nullptr, dialog);
    char caption[64] = {};
    GetWindowTextA(dialog, caption, sizeof caption);
    EXPECT_STREQ("Načasovat akci", caption);
    const DWORD style = static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE));
    EXPECT_FALSE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_CAPTION);
    RECT size = {0, 0, 457, 172};
    MapDialogRect(dialog, &size);
    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(size.right, client.right);
    EXPECT_EQ(size.bottom, client.bottom);
    for (const Control& c : kScheduleControls) ExpectControl(dialog, c);
    // With the three group boxes and the thirteen texts.
    int children = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        ++children;
    }
    EXPECT_EQ(47, children);
    // The fields take 4 digits for a year, 2 for the rest.
    EXPECT_EQ(4, SendDlgItemMessageA(dialog, IDC_ACTION_YEAR, EM_GETLIMITTEXT, 0, 0));
    EXPECT_EQ(4, SendDlgItemMessageA(dialog, IDC_WAKE_YEAR, EM_GETLIMITTEXT, 0, 0));
    EXPECT_EQ(2, SendDlgItemMessageA(dialog, IDC_ACTION_SECOND, EM_GETLIMITTEXT, 0, 0));
    EXPECT_EQ(2, SendDlgItemMessageA(dialog, IDC_WAKE_MONTH, EM_GETLIMITTEXT, 0, 0));
}

TEST_F(ScheduleDialogTest, FirstOpeningShowsTheClockAndNothingTicked) {
    const DateTime before = LocalNow();
    Open();
    const DateTime after = LocalNow();
    const std::string action = Group(kActionFields);
    EXPECT_TRUE(action == Format(before, false) || action == Format(after, false)) << action;
    EXPECT_EQ(action, Group(kWakeFields));
    for (int id : kActionRadios) EXPECT_FALSE(Ticked(id)) << id;
    for (int id : kActionRadios) EXPECT_TRUE(Enabled(id)) << id;
    for (int id : kWakeFields) EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Enabled(IDC_WAKE_ENABLED));
    EXPECT_FALSE(Enabled(IDC_POLL_STEP_BUTTON));
    EXPECT_FALSE(Ticked(IDC_ACTION_COUNTDOWN));
    EXPECT_TRUE(ReadOnly(IDC_ACTION_SECOND));
    EXPECT_EQ(gSchedule.pollStep, gScheduleEdit.editPollStep);
}

TEST_F(ScheduleDialogTest, ActionsAreEnabledByLevel) {
    struct Case {
        int32_t level;
        std::vector<int> enabled;
    } cases[] = {
        {99, {}},
        {100, {IDC_ACTION_REMINDER, IDC_ACTION_SCREEN_SAVER, IDC_ACTION_MONITOR_OFF,
               IDC_ACTION_RESTART, IDC_ACTION_POWER_OFF}},
        {200, {IDC_ACTION_REMINDER, IDC_ACTION_SCREEN_SAVER, IDC_ACTION_MONITOR_OFF,
               IDC_ACTION_RESTART, IDC_ACTION_POWER_OFF, IDC_ACTION_LOCK, IDC_ACTION_LOG_OFF}},
    };
    for (const Case& c : cases) {
        gOsLevel = c.level;
        Open();
        for (int id : kActionRadios) {
            bool expected = false;
            for (int on : c.enabled) expected = expected || on == id;
            EXPECT_EQ(expected, Enabled(id)) << c.level << " " << id;
        }
        EXPECT_FALSE(Enabled(IDC_WAKE_ENABLED)) << c.level;
        DestroyWindow(dialog_);
        dialog_ = nullptr;
    }
}

// A pending countdown shows what is left of it now; one whose time has
// passed shows zeros.
TEST_F(ScheduleDialogTest, PendingCountdownShowsTheRemainingTime) {
    DateTime now = LocalNow();
    gSchedule.actionKind = kActionReminder;
    gSchedule.actionIsCountdown = 1;
    gSchedule.actionUsesSeconds = 1;
    SetActionTime(gSchedule, CalendarSum(now, DateTime{0, 0, 0, 2, 0, 30}));
    const DWORD before = GetTickCount();
    Open();
    // 2:00:30 less the whole seconds that passed, however loaded the machine.
    const int passed = static_cast<int>((GetTickCount() - before) / 1000) + 1;
    const std::string shown = Group(kActionFields);
    int hours = -1, minutes = -1, seconds = -1;
    ASSERT_EQ(3, std::sscanf(shown.c_str(), "0000 00 00 %d %d %d", &hours, &minutes, &seconds)) << shown;
    const int remaining = hours * 3600 + minutes * 60 + seconds;
    EXPECT_LE(remaining, 7230) << shown;
    EXPECT_GE(remaining, 7230 - passed) << shown;
    EXPECT_TRUE(Ticked(IDC_ACTION_COUNTDOWN));
    EXPECT_TRUE(Ticked(IDC_ACTION_REMINDER));
    EXPECT_TRUE(Ticked(IDC_ACTION_USES_SECONDS));
    EXPECT_FALSE(ReadOnly(IDC_ACTION_SECOND));
    EXPECT_TRUE(Enabled(IDC_POLL_STEP_BUTTON));
    EXPECT_EQ(1, gScheduleEdit.editActionIsCountdown);
    DestroyWindow(dialog_);

    gSchedule.actionYear = now.year - 1;
    Open();
    EXPECT_EQ("0000 00 00 00 00 00", Group(kActionFields));
}

// A pending standby with a wake-up counted from the action shows the offset;
// the boxes of the wake group come back as they were committed.
TEST_F(ScheduleDialogTest, PendingWakeUpFromTheActionShowsItsOffset) {
    gSchedule.actionKind = kActionStandby;
    // The action's second counts though the action has no seconds; the wake
    // second is neither shown nor used without seconds.
    SetActionTime(gSchedule, DateTime{2031, 3, 31, 23, 50, 40});
    SetWakeTime(gSchedule, DateTime{2031, 4, 1, 1, 5, 59});
    gSchedule.wakeEnabled = 1;
    gSchedule.wakeIsCountdown = 1;
    gSchedule.wakeRelativeToAction = 1;
    Open();
    EXPECT_EQ("2031 03 31 23 50 00", Group(kActionFields));
    EXPECT_EQ("0000 00 00 01 14 00", Group(kWakeFields));
    EXPECT_TRUE(Ticked(IDC_ACTION_STANDBY));
    EXPECT_TRUE(Ticked(IDC_WAKE_ENABLED));
    EXPECT_TRUE(Ticked(IDC_WAKE_COUNTDOWN));
    EXPECT_TRUE(Ticked(IDC_WAKE_FROM_ACTION));
    EXPECT_TRUE(Enabled(IDC_WAKE_FROM_ACTION));
    EXPECT_TRUE(Enabled(IDC_WAKE_YEAR));
    EXPECT_FALSE(Enabled(IDC_ACTION_LOCK));
    EXPECT_TRUE(Enabled(IDC_ACTION_HIBERNATE));
    EXPECT_EQ(1, gScheduleEdit.editWakeEnabled);
    EXPECT_EQ(1, gScheduleEdit.editWakeRelativeToAction);
}

TEST_F(ScheduleDialogTest, ApplyImmediatelyMakesAZeroCountdownAndAReminderUndoesIt) {
    Open();
    Click(IDC_ACTION_USES_SECONDS);
    ASSERT_TRUE(Enabled(IDC_POLL_STEP_BUTTON));
    Click(IDC_ACTION_MONITOR_OFF);
    Click(IDC_APPLY_IMMEDIATELY);
    EXPECT_EQ("0000 00 00 00 00 00", Group(kActionFields));
    EXPECT_TRUE(Ticked(IDC_ACTION_COUNTDOWN));
    EXPECT_FALSE(Ticked(IDC_ACTION_USES_SECONDS));
    EXPECT_FALSE(Enabled(IDC_POLL_STEP_BUTTON));
    for (int id : kActionFields) EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_FALSE(Enabled(IDC_ACTION_COUNTDOWN));
    EXPECT_EQ(1, gScheduleEdit.editApplyImmediately);
    EXPECT_EQ(1, gScheduleEdit.editActionIsCountdown);
    EXPECT_EQ(0, gScheduleEdit.editActionUsesSeconds);

    Click(IDC_ACTION_REMINDER);
    EXPECT_FALSE(Ticked(IDC_ACTION_MONITOR_OFF));
    EXPECT_FALSE(Ticked(IDC_APPLY_IMMEDIATELY));
    EXPECT_FALSE(Enabled(IDC_APPLY_IMMEDIATELY));
    EXPECT_EQ(0, gScheduleEdit.editApplyImmediately);
    for (int id : kActionFields) EXPECT_TRUE(Enabled(id)) << id;
    // The zero countdown stays, now editable.
    EXPECT_EQ("0000 00 00 00 00 00", Group(kActionFields));
    EXPECT_TRUE(Ticked(IDC_ACTION_COUNTDOWN));

    Click(IDC_ACTION_LOCK);
    EXPECT_FALSE(Ticked(IDC_ACTION_REMINDER));
    EXPECT_TRUE(Enabled(IDC_APPLY_IMMEDIATELY));
}

TEST_F(ScheduleDialogTest, WakeUpLeavesOnlyHibernateAndStandby) {
    Open();
    Click(IDC_ACTION_LOCK);
    Click(IDC_WAKE_ENABLED);
    EXPECT_FALSE(Ticked(IDC_ACTION_LOCK));
    for (int id : kActionRadios) {
        const bool suspends = id == IDC_ACTION_HIBERNATE || id == IDC_ACTION_STANDBY;
        EXPECT_EQ(suspends, Enabled(id)) << id;
    }
    for (int id : kWakeFields) EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_TRUE(Enabled(IDC_WAKE_COUNTDOWN));
    EXPECT_FALSE(Enabled(IDC_WAKE_FROM_ACTION));
    Click(IDC_ACTION_STANDBY);
    Click(IDC_WAKE_USES_SECONDS);
    EXPECT_FALSE(ReadOnly(IDC_WAKE_SECOND));
    Click(IDC_WAKE_COUNTDOWN);
    EXPECT_TRUE(Enabled(IDC_WAKE_FROM_ACTION));
    EXPECT_EQ("0000 00 00 00 00 00", Group(kWakeFields));

    // Unticking brings the other actions back, ticks none of them, keeps
    // standby, and turns the wake fields back into a date.
    Click(IDC_WAKE_ENABLED);
    for (int id : kActionRadios) EXPECT_TRUE(Enabled(id)) << id;
    for (int id : kActionRadios) EXPECT_EQ(id == IDC_ACTION_STANDBY, Ticked(id)) << id;
    EXPECT_FALSE(Ticked(IDC_WAKE_COUNTDOWN));
    EXPECT_FALSE(Ticked(IDC_WAKE_USES_SECONDS));
    EXPECT_TRUE(ReadOnly(IDC_WAKE_SECOND));
    EXPECT_FALSE(Enabled(IDC_WAKE_FROM_ACTION));
    EXPECT_EQ(0, gScheduleEdit.editWakeEnabled);
    EXPECT_EQ(0, gScheduleEdit.editWakeIsCountdown);
    EXPECT_EQ(0, gScheduleEdit.editWakeUsesSeconds);
    EXPECT_NE("0000", Text(IDC_WAKE_YEAR));
}

TEST_F(ScheduleDialogTest, CountdownSettingKeepsThePollingStepButtonOff) {
    gSettings.useCountdown = 1;
    Open();
    Click(IDC_ACTION_USES_SECONDS);
    EXPECT_FALSE(ReadOnly(IDC_ACTION_SECOND));
    EXPECT_FALSE(Enabled(IDC_POLL_STEP_BUTTON));
    Click(IDC_ACTION_USES_SECONDS);
    EXPECT_TRUE(ReadOnly(IDC_ACTION_SECOND));
    EXPECT_EQ(0, gScheduleEdit.editActionUsesSeconds);
}

// A flip the fields cannot take is reported and the box put back.
TEST_F(ScheduleDialogTest, FailedConversionRestoresTheBox) {
    testwin::BoxWatcher boxes;
    Open();
    Type(kActionFields, {"2027", "02", "31", "10", "00", "00"});
    Click(IDC_ACTION_COUNTDOWN);
    EXPECT_FALSE(Ticked(IDC_ACTION_COUNTDOWN));
    EXPECT_EQ("2027 02 31 10 00 00", Group(kActionFields));
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ("Chyba", boxes.Boxes()[0].caption);
    EXPECT_EQ("Chyba - špatně vyplněný datum !\nChyba : ER-DPT01-001", boxes.Boxes()[0].text);
    EXPECT_EQ(dialog_, boxes.Boxes()[0].owner);

    // A date in the past becomes a zero countdown, and back a date of now.
    Type(kActionFields, {"2001", "01", "01", "00", "00", "00"});
    Click(IDC_ACTION_COUNTDOWN);
    EXPECT_TRUE(Ticked(IDC_ACTION_COUNTDOWN));
    EXPECT_EQ("0000 00 00 00 00 00", Group(kActionFields));
    Click(IDC_ACTION_COUNTDOWN);
    EXPECT_EQ(Format(LocalNow(), false).substr(0, 10), Group(kActionFields).substr(0, 10));
    EXPECT_EQ(1u, boxes.Boxes().size());
}

TEST_F(ScheduleDialogTest, OkReportsInCheckOrderAndCommitsNothing) {
    testwin::BoxWatcher boxes;
    Open();
    Type(kActionFields, {"2027", "04", "31", "10", "00", "00"});
    Click(IDC_OK);  // no action ticked either, but the date comes first
    Type(kActionFields, {"2027", "04", "30", "10", "00", "00"});
    Click(IDC_OK);
    const auto seen = boxes.Boxes();
    ASSERT_EQ(2u, seen.size());
    EXPECT_EQ("Chyba - špatně vyplněný datum !\nChyba : ER-DPT01-058", seen[0].text);
    EXPECT_EQ("Chyba - Akce : není vybrána žádná z možností !\nChyba : ER-DPT01-089", seen[1].text);
    EXPECT_FALSE(Ended());
    EXPECT_EQ(0, gSchedule.actionKind);
}

// OK clears the pending schedule with its timers and commits the new one.
TEST_F(ScheduleDialogTest, OkReplacesThePendingSchedule) {
    testwin::StandInMainWindow window;
    gSchedule.actionKind = kActionReminder;
    gSchedule.actionYear = 2030;
    gSchedule.actionMonth = 1;
    gSchedule.actionDay = 1;
    gSchedule.pollStep = 4;
    gSchedule.timerStage = 2;
    gSchedule.warningShown = 1;
    SetTimer(window.Handle(), 2, 100000, nullptr);
    Open();
    Click(IDC_ACTION_REMINDER);  // the pending one is ticked already
    Click(IDC_ACTION_POWER_OFF);
    Type(kActionFields, {"2031", "12", "31", "23", "59", "00"});
    Click(IDC_OK);
    EXPECT_TRUE(Ended());
    EXPECT_EQ(kActionPowerOff, gSchedule.actionKind);
    EXPECT_EQ(2031, gSchedule.actionYear);
    EXPECT_EQ(59, gSchedule.actionMinute);
    EXPECT_EQ(0, gSchedule.timerStage);
    EXPECT_EQ(0, gSchedule.pollStep);  // no seconds, so the cascade
    EXPECT_EQ(-1, gSchedule.wakeYear);
    // The old stage timer is gone.
    EXPECT_FALSE(KillTimer(window.Handle(), 2));
}

TEST_F(ScheduleDialogTest, EscapeDoesNothingAndCancelEndsWithoutCommitting) {
    Open();
    Click(IDC_ACTION_LOCK);
    SendMessageA(dialog_, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(Ended());
    Click(IDC_CANCEL);
    EXPECT_TRUE(Ended());
    EXPECT_EQ(0, gSchedule.actionKind);
}

TEST_F(PollStepDialogTest, ShowsTheStepInForceAndProposesTheChosenOne) {
    const int buttons[13] = {IDC_STEP_CASCADE, IDC_STEP_1S,  IDC_STEP_2S,  IDC_STEP_3S, IDC_STEP_4S,
                             IDC_STEP_5S,      IDC_STEP_6S,  IDC_STEP_10S, IDC_STEP_12S,
                             IDC_STEP_15S,     IDC_STEP_20S, IDC_STEP_30S, IDC_STEP_60S};
    for (int step = 0; step <= 12; ++step) {
        gSchedule.pollStep = 3;
        gScheduleEdit.editPollStep = 12;  // proposed earlier, not shown
        Open(IDD_POLL_STEP);
        EXPECT_TRUE(Ticked(IDC_STEP_3S)) << step;
        Click(buttons[step]);
        EXPECT_FALSE(Ticked(IDC_STEP_3S) && step != 3) << step;
        Click(IDC_OK);
        EXPECT_TRUE(Ended()) << step;
        EXPECT_EQ(step, gScheduleEdit.editPollStep);
        EXPECT_EQ(3, gSchedule.pollStep);
        DestroyWindow(dialog_);
        dialog_ = nullptr;
    }
}

TEST_F(PollStepDialogTest, NothingCheckedIsAnErrorAndCancelKeepsTheProposal) {
    testwin::BoxWatcher boxes;
    gSchedule.pollStep = 13;  // out of range: no button is checked
    gScheduleEdit.editPollStep = 5;
    Open(IDD_POLL_STEP);
    char caption[32] = {};
    GetWindowTextA(dialog_, caption, sizeof caption);
    EXPECT_STREQ("Nastavení", caption);
    EXPECT_FALSE(GetWindowLongA(dialog_, GWL_STYLE) & WS_SYSMENU);
    Click(IDC_OK);
    // The watcher takes this dialog for a box too (its texts have id 0xFFFF).
    std::vector<testwin::SeenBox> errors;
    for (const auto& box : boxes.Boxes()) {
        if (box.caption == "Chyba") errors.push_back(box);
    }
    ASSERT_EQ(1u, errors.size());
    EXPECT_EQ("Chyba - Akce : není vybrána žádná z možností !\nChyba : ER-DPTS01-001",
              errors[0].text);
    EXPECT_EQ(dialog_, errors[0].owner);
    EXPECT_FALSE(Ended());
    SendMessageA(dialog_, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(Ended());
    Click(IDC_STEP_10S);
    Click(IDC_CANCEL);
    EXPECT_TRUE(Ended());
    EXPECT_EQ(5, gScheduleEdit.editPollStep);
}
