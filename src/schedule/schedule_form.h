// The arithmetic behind the scheduling dialog: reading and showing its two
// field groups, the conversions of check boxes 1023, 1026 and 1043, and the
// checks and the record of OK.
//
// Platform-free and pure: "now", the field contents, the working copy of the
// flags and the states of the boxes come in as arguments, and every handler
// returns either an ER-DPT01 code or what the dialog is to show and keep.  The
// dialog procedure moves texts and check states between the controls and
// these functions, shows ScheduleErrorText for a code, and writes the records.
//
// Every handler comes twice: with the groups as typed (FieldGroupTexts, read
// the way the dialog reads them) and with the numbers already read, which is
// the form that can also carry the negative values the N checks guard against.
#pragma once

#include <array>
#include <cstdint>

#include "base/ids.h"
#include "base/text.h"
#include "schedule/calendar.h"
#include "schedule/schedule_state.h"

// The six texts of a field group, year to second.
struct FieldGroupTexts {
    Text year;
    Text month;
    Text day;
    Text hour;
    Text minute;
    Text second;
};

// Reads a group as the dialog does: every text through a 10-character buffer
// and ParseDecimal; the second is 0 unless usesSeconds is 1.
DateTime ReadFieldGroup(const FieldGroupTexts& texts, int32_t usesSeconds);

// "%.4d" for the year, "%.2d" for the rest; the seconds field shows 00 unless
// usesSeconds is 1.
FieldGroupTexts ShowFieldGroup(const DateTime& value, int32_t usesSeconds);

// ER-DPT01 codes, numbered in the order the handlers check.  Where a name
// stands for a run, the run is: N year, month, day, hour, minute, second
// (six codes); B the same six; date D then time T (two codes); span M, L, Z
// (three codes).
namespace form_code {
constexpr int32_t kToCountdownDate = 1;             // 1023, D T
constexpr int32_t kToDateNegative = 3;              // 1023, N
constexpr int32_t kWakeToCountdownDate = 9;         // 1026, D T
constexpr int32_t kFromActionActionNegative = 11;   // 1043 ticked, N
constexpr int32_t kFromActionActionDate = 17;       // D T
constexpr int32_t kFromActionWakeNegative = 19;     // N
constexpr int32_t kFromActionWakeDate = 25;         // D T
constexpr int32_t kFromActionWakeBefore = 27;       // B
constexpr int32_t kFromActionSpan = 33;             // M L Z
constexpr int32_t kFromNowActionNegative = 36;      // 1043 unticked, N
constexpr int32_t kFromNowActionDate = 42;          // D T
constexpr int32_t kFromNowWakeNegative = 44;        // N
constexpr int32_t kFromNowWakeDate = 50;            // D T
constexpr int32_t kConfirmActionNegative = 52;      // OK, N
constexpr int32_t kConfirmActionDate = 58;          // D T
constexpr int32_t kConfirmCountdownOverDay = 60;    // C
constexpr int32_t kConfirmWakeNegative = 61;        // N
constexpr int32_t kConfirmWakeDate = 67;            // D T
constexpr int32_t kConfirmWakeBefore = 69;          // B
constexpr int32_t kConfirmWakeSpan = 75;            // M L Z
constexpr int32_t kConfirmRelativeWakeDate = 78;    // D T
constexpr int32_t kConfirmRelativeWakeBefore = 80;  // B
constexpr int32_t kConfirmRelativeWakeSpan = 86;    // M L Z
constexpr int32_t kConfirmNoAction = 89;            // A
constexpr int32_t kLast = 89;
}  // namespace form_code

// The whole message box text for a code 1..89, the sentence, a line break and
// "Chyba : ER-DPT01-058" for 058; empty for any other code.
Text ScheduleErrorText(int32_t code);

// The single checks; each returns 0 or the code of its failing case, counted
// from `first` as listed above.
int32_t CheckNotNegative(const DateTime& value, int32_t first);
int32_t CheckDateAndTime(const DateTime& value, int32_t first);
int32_t CheckWakeNotBefore(const DateTime& wake, const DateTime& action, int32_t first);
// M, L, Z on a difference; on success *seconds gets its amount in seconds.
int32_t CheckWakeSpan(const DateTime& difference, int32_t first, int32_t* seconds);

// What 1023, 1026 or 1043 leaves behind.  On error only `error` and
// `boxChecked` matter: `edit` is the one passed in and the fields stay as
// they are.
struct FormChange {
    int32_t error = 0;       // 0, or the code to report
    ScheduleEdit edit{};     // the working copy afterwards
    int32_t boxChecked = 0;  // the state to leave the handled box in
    DateTime shown{};        // the group's new values (no error)
    FieldGroupTexts texts;   // the same, as the group is to show them
    // 1026 only, applied in this order: disable and untick 1043, enable 1043.
    bool disableFromAction = false;
    bool enableFromAction = false;
};

// 1023 flipped: the action group changes form.  `boxTicked` is the state of
// 1023 now, after the click; the direction comes from editActionIsCountdown.
FormChange FlipActionForm(const DateTime& now, const ScheduleEdit& edit,
                          const DateTime& action, int32_t boxTicked);
FormChange FlipActionForm(const DateTime& now, const ScheduleEdit& edit,
                          const FieldGroupTexts& action, int32_t boxTicked);

// 1026 flipped: the wake group changes form; a countdown from the action time
// is turned into a date by way of a countdown from now.
FormChange FlipWakeForm(const DateTime& now, const ScheduleEdit& edit,
                        const DateTime& action, const DateTime& wake, int32_t boxTicked);
FormChange FlipWakeForm(const DateTime& now, const ScheduleEdit& edit,
                        const FieldGroupTexts& action, const FieldGroupTexts& wake,
                        int32_t boxTicked);

// 1043 flipped: the wake countdown runs from the action time (ticked) or from
// now (unticked).  The wake group gets the new countdown.
FormChange FlipWakeOrigin(const DateTime& now, const ScheduleEdit& edit,
                          const DateTime& action, const DateTime& wake, int32_t boxTicked);
FormChange FlipWakeOrigin(const DateTime& now, const ScheduleEdit& edit,
                          const FieldGroupTexts& action, const FieldGroupTexts& wake,
                          int32_t boxTicked);

// The action radio buttons in the order OK looks at them; the ActionKind of
// entry i is i + 1.
constexpr std::array<int32_t, 9> kActionRadioIds = {
    IDC_ACTION_LOCK,      IDC_ACTION_LOG_OFF,   IDC_ACTION_RESTART,
    IDC_ACTION_POWER_OFF, IDC_ACTION_REMINDER,  IDC_ACTION_HIBERNATE,
    IDC_ACTION_STANDBY,   IDC_ACTION_MONITOR_OFF, IDC_ACTION_SCREEN_SAVER};
// Ticked states, indexed like kActionRadioIds.
using ActionRadioStates = std::array<bool, 9>;

// What OK leaves behind: an error, or the working copy with the kind and the
// two delays computed and the record to commit.
struct ConfirmResult {
    int32_t error = 0;
    ScheduleEdit edit{};
    // Every field but timerStage and warningShown, which keep their 0 here;
    // CommitSchedule writes it into the live record.
    ScheduleState record;
};

// OK.  Nothing is written anywhere: the caller clears a pending schedule and
// then commits `record` only when `error` is 0.  The wake delay counts from
// the moment of the action: wake minus action, or the offset of a wake-up
// relative to the action.  Without a wake-up the record holds no wake time
// (wakeYear -1).
ConfirmResult ConfirmSchedule(const DateTime& now, const ScheduleEdit& edit,
                              const DateTime& action, const DateTime& wake,
                              int32_t useCountdown, const ActionRadioStates& radios);
ConfirmResult ConfirmSchedule(const DateTime& now, const ScheduleEdit& edit,
                              const FieldGroupTexts& action, const FieldGroupTexts& wake,
                              int32_t useCountdown, const ActionRadioStates& radios);

// Writes every field of `record` into `target` except timerStage and
// warningShown, which belong to the timers and the status display.
void CommitSchedule(ScheduleState& target, const ScheduleState& record);

// What the two groups hold when the dialog opens, before ShowFieldGroup with
// the record's uses-seconds flags: the clock for a group with no stored time,
// the stored time for a date, and for a countdown the time remaining at `now`
// (or, for a wake-up counted from the action, its offset from the action).
struct OpeningValues {
    DateTime action;
    DateTime wake;
};
OpeningValues OpeningFieldValues(const DateTime& now, const ScheduleState& schedule);
