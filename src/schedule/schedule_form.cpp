// The scheduling dialog's conversions, checks and commit; see schedule_form.h.
#include "schedule/schedule_form.h"

namespace {

// The dialog reads each field into a buffer of this many characters.
constexpr std::size_t kFieldBuffer = 10;

constexpr int32_t kSecondsPerDay = 86400;

int32_t ReadField(const Text& text) {
    char buffer[kFieldBuffer] = {};
    const std::size_t length = text.size() < kFieldBuffer - 1 ? text.size() : kFieldBuffer - 1;
    for (std::size_t i = 0; i < length; ++i) buffer[i] = text[i];
    return ParseDecimal(buffer);
}

Text ShowField(int32_t value, bool year) {
    return Text().appendNumber(value, year ? 4 : 2);
}

// The message of each code, one letter per code from 001 on: D date, T time,
// B wake before action, M over a month, L over 31 days, Z below zero, C
// countdown over a day, A no action.  An N run reads DDDTTT.
constexpr char kMessageOfCode[] =
    "DT" "DDDTTT" "DT"                                          // 1023, 1026
    "DDDTTT" "DT" "DDDTTT" "DT" "BBBBBB" "MLZ"                  // 1043 ticked
    "DDDTTT" "DT" "DDDTTT" "DT"                                 // 1043 unticked
    "DDDTTT" "DT" "C" "DDDTTT" "DT" "BBBBBB" "MLZ" "DT" "BBBBBB" "MLZ" "A";  // OK
static_assert(sizeof kMessageOfCode - 1 == form_code::kLast, "one letter per code");

const char* MessageText(char kind) {
    switch (kind) {
        case 'D':
            return "Chyba - špatně vyplněný datum !";
        case 'T':
            return "Chyba - špatně vyplněný čas !";
        case 'B':
            return "Chyba - Čas oživení nesmí být menší než čas použití akce !";
        case 'M':
            return "Chyba - Datumu : Čas oživení nesmí být delší než 1 měsíc !";
        case 'L':
            return "Chyba - Datumu : Čas oživení nesmí být delší než 31 dní !";
        case 'Z':
            return "Chyba - Datumu : Čas oživení nesmí být menší než 0 sekund !";
        case 'C':
            return "Chyba - Datumu : Odpočítávání nesmí být delší než den !";
        default:
            return "Chyba - Akce : není vybrána žádná z možností !";
    }
}

DateTime WithSecond(DateTime t, int32_t usesSeconds, int32_t second) {
    t.second = usesSeconds == 1 ? second : 0;
    return t;
}

// Days, hours, minutes and seconds as one amount; months and years are refused
// before this is used.  64 bits, as a relative offset is taken as typed.
int64_t AmountInSeconds(const DateTime& d) {
    return static_cast<int64_t>(d.day) * kSecondsPerDay + static_cast<int64_t>(d.hour) * 3600 +
           static_cast<int64_t>(d.minute) * 60 + d.second;
}

FormChange Refuse(const ScheduleEdit& edit, int32_t code, int32_t boxChecked) {
    FormChange change;
    change.error = code;
    change.edit = edit;
    change.boxChecked = boxChecked;
    return change;
}

FormChange Show(const ScheduleEdit& edit, const DateTime& shown, int32_t usesSeconds,
                int32_t boxChecked) {
    FormChange change;
    change.edit = edit;
    change.boxChecked = boxChecked;
    change.shown = shown;
    change.texts = ShowFieldGroup(shown, usesSeconds);
    return change;
}

ConfirmResult RefuseConfirm(const ScheduleEdit& edit, int32_t code) {
    ConfirmResult result;
    result.error = code;
    result.edit = edit;
    return result;
}

// The action time as OK and 1043 take it: a countdown is counted from now.
// Returns 0 or the code of the failed check.
int32_t FormActionTime(const DateTime& now, const ScheduleEdit& edit, const DateTime& read,
                       int32_t negativeFirst, int32_t dateFirst, DateTime* action) {
    DateTime a = read;
    if (edit.editActionIsCountdown == 1) {
        if (const int32_t code = CheckNotNegative(a, negativeFirst)) {
            return code;
        }
        a = CalendarSum(now, a);
    }
    *action = a;
    return CheckDateAndTime(a, dateFirst);
}

}  // namespace

DateTime ReadFieldGroup(const FieldGroupTexts& texts, int32_t usesSeconds) {
    DateTime value;
    value.year = ReadField(texts.year);
    value.month = ReadField(texts.month);
    value.day = ReadField(texts.day);
    value.hour = ReadField(texts.hour);
    value.minute = ReadField(texts.minute);
    // The seconds field is not even looked at when seconds are off.
    value.second = usesSeconds == 1 ? ReadField(texts.second) : 0;
    return value;
}

FieldGroupTexts ShowFieldGroup(const DateTime& value, int32_t usesSeconds) {
    FieldGroupTexts texts;
    texts.year = ShowField(value.year, true);
    texts.month = ShowField(value.month, false);
    texts.day = ShowField(value.day, false);
    texts.hour = ShowField(value.hour, false);
    texts.minute = ShowField(value.minute, false);
    texts.second = ShowField(usesSeconds == 1 ? value.second : 0, false);
    return texts;
}

Text ScheduleErrorText(int32_t code) {
    if (code < 1 || code > form_code::kLast) {
        return Text();
    }
    Text text = MessageText(kMessageOfCode[code - 1]);
    return (text += "\nChyba : ER-DPT01-").appendNumber(code, 3);
}

int32_t CheckNotNegative(const DateTime& value, int32_t first) {
    for (int32_t c = kComponentYear; c <= kComponentSecond; ++c) {
        if (CalendarField(value, c) < 0) {
            return first + c - kComponentYear;
        }
    }
    return 0;
}

int32_t CheckDateAndTime(const DateTime& value, int32_t first) {
    if (IsValidDate(value.year, value.month, value.day) == 0) {
        return first;
    }
    if (IsValidTime(value.hour, value.minute, value.second) == 0) {
        return first + 1;
    }
    return 0;
}

int32_t CheckWakeNotBefore(const DateTime& wake, const DateTime& action, int32_t first) {
    // The first component in which the two differ decides; equal times pass.
    for (int32_t c = kComponentYear; c <= kComponentSecond; ++c) {
        const int32_t w = CalendarField(wake, c);
        const int32_t a = CalendarField(action, c);
        if (w != a) {
            return w < a ? first + c - kComponentYear : 0;
        }
    }
    return 0;
}

int32_t CheckWakeSpan(const DateTime& difference, int32_t first, int32_t* seconds) {
    if (static_cast<int64_t>(difference.year) + difference.month > 0) {
        return first;
    }
    const int64_t amount = AmountInSeconds(difference);
    if (amount > MaxWakeDelaySeconds) {
        return first + 1;
    }
    if (amount < 0) {
        return first + 2;
    }
    *seconds = static_cast<int32_t>(amount);
    return 0;
}

FormChange FlipActionForm(const DateTime& now, const ScheduleEdit& edit,
                          const DateTime& action, int32_t boxTicked) {
    const int32_t wasCountdown = edit.editActionIsCountdown;
    // A countdown is not held to calendar ranges: the sum carries 90 minutes
    // over into 1 hour 30 minutes.
    const int32_t code = wasCountdown == 1
                             ? CheckNotNegative(action, form_code::kToDateNegative)
                             : CheckDateAndTime(action, form_code::kToCountdownDate);
    if (code != 0) {
        return Refuse(edit, code, wasCountdown == 1 ? 1 : 0);
    }
    const DateTime shown =
        wasCountdown == 1 ? CalendarSum(now, action) : CalendarDifference(action, now);
    const int32_t ticked = boxTicked != 0 ? 1 : 0;
    FormChange change = Show(edit, shown, edit.editActionUsesSeconds, ticked);
    change.edit.editActionIsCountdown = ticked;
    return change;
}

FormChange FlipActionForm(const DateTime& now, const ScheduleEdit& edit,
                          const FieldGroupTexts& action, int32_t boxTicked) {
    return FlipActionForm(now, edit, ReadFieldGroup(action, edit.editActionUsesSeconds),
                          boxTicked);
}

FormChange FlipWakeForm(const DateTime& now, const ScheduleEdit& edit,
                        const DateTime& action, const DateTime& wake, int32_t boxTicked) {
    const int32_t wasCountdown = edit.editWakeIsCountdown;
    ScheduleEdit next = edit;
    DateTime w = wake;
    if (wasCountdown != 1) {
        if (const int32_t code = CheckDateAndTime(w, form_code::kWakeToCountdownDate)) {
            return Refuse(edit, code, 0);
        }
    } else if (edit.editWakeRelativeToAction == 1) {
        // The offset from the action time becomes a countdown from now first.
        DateTime a = action;
        if (edit.editActionIsCountdown == 1) {
            a = CalendarSum(now, a);
        }
        a = WithSecond(a, edit.editActionUsesSeconds, a.second);
        if (CheckDateAndTime(a, 1) != 0) {
            // A broken action time is not worth a message here; now stands in.
            a = WithSecond(now, edit.editActionUsesSeconds, now.second);
        }
        DateTime s = CalendarSum(w, a);
        s = WithSecond(s, edit.editWakeUsesSeconds, s.second);
        w = CalendarDifference(s, now);
        next.editWakeRelativeToAction = 0;
    }
    const DateTime shown = wasCountdown == 1 ? CalendarSum(now, w) : CalendarDifference(w, now);
    const int32_t ticked = boxTicked != 0 ? 1 : 0;
    FormChange change = Show(next, shown, edit.editWakeUsesSeconds, ticked);
    change.disableFromAction = wasCountdown == 1;
    change.enableFromAction = ticked == 1;
    change.edit.editWakeIsCountdown = ticked;
    return change;
}

FormChange FlipWakeForm(const DateTime& now, const ScheduleEdit& edit,
                        const FieldGroupTexts& action, const FieldGroupTexts& wake,
                        int32_t boxTicked) {
    return FlipWakeForm(now, edit, ReadFieldGroup(action, edit.editActionUsesSeconds),
                        ReadFieldGroup(wake, edit.editWakeUsesSeconds), boxTicked);
}

FormChange FlipWakeOrigin(const DateTime& now, const ScheduleEdit& edit,
                          const DateTime& action, const DateTime& wake, int32_t boxTicked) {
    const bool fromAction = boxTicked != 0;
    // A refused flip puts the box back where it was.
    const int32_t previous = fromAction ? 0 : 1;
    DateTime a{};
    DateTime w = wake;
    if (fromAction) {
        int32_t code = FormActionTime(now, edit, action, form_code::kFromActionActionNegative,
                                      form_code::kFromActionActionDate, &a);
        if (code == 0 && edit.editWakeIsCountdown == 1) {
            code = CheckNotNegative(w, form_code::kFromActionWakeNegative);
            if (code == 0) {
                w = CalendarSum(now, w);
            }
        }
        if (code == 0) {
            code = CheckDateAndTime(w, form_code::kFromActionWakeDate);
        }
        if (code == 0) {
            code = CheckWakeNotBefore(w, a, form_code::kFromActionWakeBefore);
        }
        DateTime offset{};
        int32_t seconds = 0;
        if (code == 0) {
            offset = CalendarDifference(w, a);
            code = CheckWakeSpan(offset, form_code::kFromActionSpan, &seconds);
        }
        if (code != 0) {
            return Refuse(edit, code, previous);
        }
        FormChange change = Show(edit, offset, edit.editWakeUsesSeconds, 1);
        change.edit.editWakeRelativeToAction = 1;
        return change;
    }
    int32_t code = FormActionTime(now, edit, action, form_code::kFromNowActionNegative,
                                  form_code::kFromNowActionDate, &a);
    if (code == 0 && edit.editWakeIsCountdown == 1) {
        code = CheckNotNegative(w, form_code::kFromNowWakeNegative);
        if (code == 0) {
            w = CalendarSum(w, a);
        }
    }
    if (code == 0) {
        code = CheckDateAndTime(w, form_code::kFromNowWakeDate);
    }
    if (code != 0) {
        return Refuse(edit, code, previous);
    }
    FormChange change = Show(edit, CalendarDifference(w, now), edit.editWakeUsesSeconds, 0);
    change.edit.editWakeRelativeToAction = 0;
    return change;
}

FormChange FlipWakeOrigin(const DateTime& now, const ScheduleEdit& edit,
                          const FieldGroupTexts& action, const FieldGroupTexts& wake,
                          int32_t boxTicked) {
    return FlipWakeOrigin(now, edit, ReadFieldGroup(action, edit.editActionUsesSeconds),
                          ReadFieldGroup(wake, edit.editWakeUsesSeconds), boxTicked);
}

ConfirmResult ConfirmSchedule(const DateTime& now, const ScheduleEdit& edit,
                              const DateTime& action, const DateTime& wake,
                              int32_t useCountdown, const ActionRadioStates& radios) {
    ScheduleEdit next = edit;

    // With "Použít akci ihned" the group holds a zero countdown, so a is now.
    DateTime a{};
    if (const int32_t code = FormActionTime(now, edit, action, form_code::kConfirmActionNegative,
                                            form_code::kConfirmActionDate, &a)) {
        return RefuseConfirm(edit, code);
    }
    // A time in the past is taken; it simply fires at once.

    if (useCountdown == 1) {
        const DateTime r = CalendarDifference(a, now);
        if (static_cast<int64_t>(r.year) + r.month + r.day > 0) {
            return RefuseConfirm(edit, form_code::kConfirmCountdownOverDay);
        }
        next.editCountdownSeconds = r.second + 60 * r.minute + 3600 * r.hour;
    }

    DateTime w = wake;
    if (edit.editWakeEnabled == 1) {
        const bool relative = edit.editWakeRelativeToAction == 1;
        DateTime d = w;  // a relative wake-up holds its offset from the action as typed
        if (!relative) {
            if (edit.editWakeIsCountdown == 1) {
                if (const int32_t code =
                        CheckNotNegative(w, form_code::kConfirmWakeNegative)) {
                    return RefuseConfirm(edit, code);
                }
                w = CalendarSum(now, w);
            }
            int32_t code = CheckDateAndTime(w, form_code::kConfirmWakeDate);
            if (code == 0) {
                code = CheckWakeNotBefore(w, a, form_code::kConfirmWakeBefore);
            }
            if (code != 0) {
                return RefuseConfirm(edit, code);
            }
            d = CalendarDifference(w, a);
        }
        int32_t delay = 0;
        if (const int32_t code = CheckWakeSpan(d, form_code::kConfirmWakeSpan, &delay)) {
            return RefuseConfirm(edit, code);
        }
        if (relative) {
            w = CalendarSum(d, a);
            int32_t code = CheckDateAndTime(w, form_code::kConfirmRelativeWakeDate);
            if (code == 0) {
                code = CheckWakeNotBefore(w, a, form_code::kConfirmRelativeWakeBefore);
            }
            int32_t untilWake = 0;  // checked only, see below
            if (code == 0) {
                code = CheckWakeSpan(CalendarDifference(w, now),
                                     form_code::kConfirmRelativeWakeSpan, &untilWake);
            }
            if (code != 0) {
                return RefuseConfirm(edit, code);
            }
            // The delay runs from the moment of the action, so it stays the
            // offset; taking the larger of it and the time from now would add
            // the wait for the action to the wake-up a second time.
        }
        next.editWakeDelaySeconds = delay;
    }

    next.editActionKind = 0;
    for (std::size_t i = 0; i < radios.size(); ++i) {
        if (radios[i]) {
            next.editActionKind = static_cast<int32_t>(i) + 1;
            break;
        }
    }
    if (next.editActionKind == 0) {
        return RefuseConfirm(edit, form_code::kConfirmNoAction);
    }

    // The polling step applies only to times given to the second.
    if (next.editActionUsesSeconds == 0) {
        next.editPollStep = 0;
    }

    ConfirmResult result;
    result.edit = next;
    ScheduleState& r = result.record;
    r.actionKind = next.editActionKind;
    SetActionTime(r, a);
    r.actionUsesSeconds = next.editActionUsesSeconds;
    r.actionIsCountdown = next.editActionIsCountdown;
    r.applyImmediately = next.editApplyImmediately;
    r.pollStep = next.editPollStep;
    r.countdownSeconds = next.editCountdownSeconds;
    r.wakeEnabled = next.editWakeEnabled;
    r.wakeUsesSeconds = next.editWakeUsesSeconds;
    r.wakeIsCountdown = next.editWakeIsCountdown;
    r.wakeRelativeToAction = next.editWakeRelativeToAction;
    r.wakeDelaySeconds = next.editWakeDelaySeconds;
    if (next.editWakeEnabled == 1) {
        SetWakeTime(r, w);
    }
    // Without a wake-up no wake time was read or checked, so none is stored
    // (wakeYear -1): the next opening shows the current time, not a stale one.
    return result;
}

ConfirmResult ConfirmSchedule(const DateTime& now, const ScheduleEdit& edit,
                              const FieldGroupTexts& action, const FieldGroupTexts& wake,
                              int32_t useCountdown, const ActionRadioStates& radios) {
    return ConfirmSchedule(now, edit, ReadFieldGroup(action, edit.editActionUsesSeconds),
                           ReadFieldGroup(wake, edit.editWakeUsesSeconds), useCountdown,
                           radios);
}

void CommitSchedule(ScheduleState& target, const ScheduleState& record) {
    const int32_t timerStage = target.timerStage;
    const int32_t warningShown = target.warningShown;
    target = record;
    target.timerStage = timerStage;
    target.warningShown = warningShown;
}

OpeningValues OpeningFieldValues(const DateTime& now, const ScheduleState& schedule) {
    const ScheduleState& s = schedule;
    const DateTime action = ActionTime(s);
    const DateTime wake = WakeTime(s);
    OpeningValues values{now, now};
    if (s.actionYear != -1) {
        values.action = s.actionIsCountdown == 0
                            ? action
                            : CalendarDifference(WithSecond(action, s.actionUsesSeconds, action.second), now);
    }
    if (s.wakeYear != -1) {
        const DateTime w = WithSecond(wake, s.wakeUsesSeconds, wake.second);
        if (s.wakeIsCountdown == 0) {
            values.wake = wake;
        } else if (s.wakeRelativeToAction == 0) {
            values.wake = CalendarDifference(w, now);
        } else {
            // The action's second as stored, whatever its uses-seconds flag.
            values.wake = CalendarDifference(w, action);
        }
    }
    return values;
}
