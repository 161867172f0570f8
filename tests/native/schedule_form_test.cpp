// The scheduling dialog's conversions, checks and commit, against a fixed clock.
// The randomized test at the end runs 200000 cases.
#include "schedule/schedule_form.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "text_print.h"

namespace {

const DateTime kNow{2024, 5, 15, 10, 20, 30};

DateTime At(int32_t y, int32_t mo, int32_t d, int32_t h, int32_t mi, int32_t s) {
    return DateTime{y, mo, d, h, mi, s};
}

std::array<int32_t, 6> F(const DateTime& t) {
    return {t.year, t.month, t.day, t.hour, t.minute, t.second};
}

std::array<int32_t, 11> F(const ScheduleEdit& e) {
    return {e.editPollStep,          e.editActionKind,        e.editActionUsesSeconds,
            e.editWakeUsesSeconds,   e.editWakeEnabled,       e.editApplyImmediately,
            e.editActionIsCountdown, e.editWakeIsCountdown,   e.editWakeRelativeToAction,
            e.editCountdownSeconds,  e.editWakeDelaySeconds};
}

// A valid countdown with field i made negative, as only the number API can carry.
DateTime NegativeAt(int i) {
    int32_t f[6] = {0, 0, 0, 1, 0, 0};
    f[i] = -1;
    return At(f[0], f[1], f[2], f[3], f[4], f[5]);
}

// The same date-time moved one unit earlier in component i.
DateTime EarlierAt(DateTime t, int i) {
    int32_t* f[6] = {&t.year, &t.month, &t.day, &t.hour, &t.minute, &t.second};
    --*f[i];
    return t;
}

ScheduleEdit Edit(std::function<void(ScheduleEdit&)> set = nullptr) {
    ScheduleEdit e;
    e.editActionUsesSeconds = 1;
    e.editWakeUsesSeconds = 1;
    if (set) set(e);
    return e;
}

ScheduleEdit WakeEdit(int32_t wakeCountdown, int32_t relative) {
    return Edit([&](ScheduleEdit& e) {
        e.editWakeEnabled = 1;
        e.editWakeIsCountdown = wakeCountdown;
        e.editWakeRelativeToAction = relative;
    });
}

ActionRadioStates Radio(int32_t kind) {
    ActionRadioStates r{};
    if (kind >= 1) r[static_cast<size_t>(kind - 1)] = true;
    return r;
}

const ScheduleEdit kActionCountdown = Edit([](ScheduleEdit& e) { e.editActionIsCountdown = 1; });
const DateTime kAction = At(2025, 6, 15, 12, 30, 40);

int32_t Flip1023(const ScheduleEdit& e, const DateTime& a) {
    return FlipActionForm(kNow, e, a, e.editActionIsCountdown == 1 ? 0 : 1).error;
}
int32_t Tick1043(const ScheduleEdit& e, const DateTime& a, const DateTime& w) {
    return FlipWakeOrigin(kNow, e, a, w, 1).error;
}
int32_t Untick1043(const ScheduleEdit& e, const DateTime& a, const DateTime& w) {
    return FlipWakeOrigin(kNow, e, a, w, 0).error;
}
int32_t Ok(const ScheduleEdit& e, const DateTime& a, const DateTime& w, int32_t useCountdown = 0,
           int32_t kind = 6) {
    return ConfirmSchedule(kNow, e, a, w, useCountdown, Radio(kind)).error;
}
int32_t Span(const DateTime& d, int32_t first) {
    int32_t seconds = 0;
    return CheckWakeSpan(d, first, &seconds);
}

// Seconds since 0000-01-01 00:00:00, every fourth year leap: an independent
// measure for the delays.
int64_t Serial(const DateTime& t) {
    static const int kLength[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int64_t days = 365 * static_cast<int64_t>(t.year) + (t.year + 3) / 4;
    for (int m = 1; m < t.month; ++m) days += (m == 2 && t.year % 4 == 0) ? 29 : kLength[m - 1];
    days += t.day - 1;
    return days * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

struct CodeCase {
    int32_t code;
    std::function<int32_t()> run;
};

std::vector<CodeCase> AllCodeCases() {
    using namespace form_code;
    std::vector<CodeCase> c;
    const ScheduleEdit plain = Edit();
    const ScheduleEdit wakeCd = Edit([](ScheduleEdit& e) { e.editWakeIsCountdown = 1; });
    const DateTime tomorrow = At(2024, 5, 16, 10, 0, 0);
    const DateTime zero = At(0, 0, 0, 0, 0, 0);
    // 1023
    c.push_back({1, [=] { return Flip1023(plain, At(2024, 2, 30, 10, 0, 0)); }});
    c.push_back({2, [=] { return Flip1023(plain, At(2024, 5, 16, 24, 0, 0)); }});
    for (int i = 0; i < 6; ++i) {
        c.push_back({3 + i, [=] { return Flip1023(kActionCountdown, NegativeAt(i)); }});
    }
    // 1026
    c.push_back({9, [=] { return FlipWakeForm(kNow, plain, kNow, At(2023, 2, 29, 0, 0, 0), 1).error; }});
    c.push_back({10, [=] { return FlipWakeForm(kNow, plain, kNow, At(2024, 6, 1, 0, 60, 0), 1).error; }});
    // 1043 ticked
    for (int i = 0; i < 6; ++i) {
        c.push_back({11 + i, [=] { return Tick1043(kActionCountdown, NegativeAt(i), zero); }});
        c.push_back({19 + i, [=] { return Tick1043(wakeCd, tomorrow, NegativeAt(i)); }});
        c.push_back({27 + i, [=] { return Tick1043(plain, kAction, EarlierAt(kAction, i)); }});
    }
    c.push_back({17, [=] { return Tick1043(plain, At(2024, 4, 31, 0, 0, 0), tomorrow); }});
    c.push_back({18, [=] { return Tick1043(plain, At(2024, 5, 16, 0, 0, 60), tomorrow); }});
    c.push_back({25, [=] { return Tick1043(wakeCd, tomorrow, At(8000, 0, 0, 0, 0, 0)); }});
    c.push_back({26, [=] { return Tick1043(plain, tomorrow, At(2024, 5, 17, 24, 0, 0)); }});
    c.push_back({33, [=] { return Tick1043(plain, At(2024, 5, 20, 12, 0, 0), At(2024, 6, 20, 12, 0, 0)); }});
    // Two valid times are never more than 30 days 23:59:59 apart short of a
    // month, nor negative: L and Z of this site stand behind M only.
    c.push_back({34, [=] { return Span(At(0, 0, 31, 0, 0, 1), kFromActionSpan); }});
    c.push_back({35, [=] { return Span(At(0, 0, 0, 0, 0, -1), kFromActionSpan); }});
    // 1043 unticked
    for (int i = 0; i < 6; ++i) {
        c.push_back({36 + i, [=] { return Untick1043(kActionCountdown, NegativeAt(i), zero); }});
        c.push_back({44 + i, [=] { return Untick1043(wakeCd, tomorrow, NegativeAt(i)); }});
    }
    c.push_back({42, [=] { return Untick1043(plain, At(10000, 1, 1, 0, 0, 0), zero); }});
    c.push_back({43, [=] { return Untick1043(plain, At(2024, 5, 16, 0, 60, 0), zero); }});
    c.push_back({50, [=] { return Untick1043(wakeCd, At(9999, 12, 31, 23, 0, 0), At(0, 0, 0, 2, 0, 0)); }});
    c.push_back({51, [=] { return Untick1043(plain, tomorrow, At(2024, 5, 17, 24, 0, 0)); }});
    // OK
    const ScheduleEdit wakeAbs = WakeEdit(0, 0);
    const ScheduleEdit wakeFromNow = WakeEdit(1, 0);
    const ScheduleEdit wakeRel = WakeEdit(1, 1);
    for (int i = 0; i < 6; ++i) {
        c.push_back({52 + i, [=] { return Ok(kActionCountdown, NegativeAt(i), zero); }});
        c.push_back({61 + i, [=] { return Ok(wakeFromNow, tomorrow, NegativeAt(i)); }});
        c.push_back({69 + i, [=] { return Ok(wakeAbs, kAction, EarlierAt(kAction, i)); }});
    }
    c.push_back({58, [=] { return Ok(plain, At(2023, 2, 29, 0, 0, 0), zero); }});
    c.push_back({59, [=] { return Ok(plain, At(2024, 5, 16, 0, 0, 60), zero); }});
    c.push_back({60, [=] { return Ok(plain, At(2024, 5, 16, 10, 20, 30), zero, 1); }});
    c.push_back({67, [=] { return Ok(wakeAbs, tomorrow, At(2024, 13, 1, 0, 0, 0)); }});
    c.push_back({68, [=] { return Ok(wakeAbs, tomorrow, At(2024, 5, 17, 0, 60, 0)); }});
    c.push_back({75, [=] { return Ok(wakeAbs, tomorrow, At(2024, 6, 16, 10, 0, 0)); }});
    c.push_back({76, [=] { return Ok(wakeRel, tomorrow, At(0, 0, 40, 0, 0, 0)); }});
    c.push_back({77, [=] { return Ok(wakeRel, tomorrow, At(0, 0, -1, 0, 0, 0)); }});
    c.push_back({78, [=] { return Ok(wakeRel, At(9999, 12, 31, 23, 0, 0), At(0, 0, 0, 2, 0, 0)); }});
    // Offsets the fields cannot hold: minus one second plus one minute leaves
    // the second at -1; minus a month lands before the action, or, from 31
    // March, in February and spills back into early March.
    c.push_back({79, [=] { return Ok(wakeRel, At(2024, 5, 16, 0, 0, 0), At(0, 0, 0, 0, 1, -1)); }});
    const DateTime march31 = At(2024, 3, 31, 12, 30, 40);
    c.push_back({80, [=] { return Ok(wakeRel, kAction, At(-1, 1, 0, 0, 0, 0)); }});
    c.push_back({81, [=] { return Ok(wakeRel, kAction, At(0, -1, 0, 0, 0, 0)); }});
    c.push_back({82, [=] { return Ok(wakeRel, march31, At(0, -1, 0, 0, 0, 0)); }});
    c.push_back({83, [=] { return Ok(wakeRel, march31, At(0, -1, 29, -1, 0, 0)); }});
    c.push_back({84, [=] { return Ok(wakeRel, march31, At(0, -1, 29, 0, -1, 0)); }});
    c.push_back({85, [=] { return Ok(wakeRel, march31, At(0, -1, 29, 0, 0, -1)); }});
    // Action 20 days ahead, wake 30 days after it: more than a month from now.
    c.push_back({86, [=] { return Ok(wakeRel, At(2024, 6, 4, 10, 20, 30), At(0, 0, 30, 0, 0, 0)); }});
    // As for 034 and 035: from a valid clock reading these stand behind M only.
    c.push_back({87, [=] { return Span(At(0, 0, 31, 0, 0, 1), kConfirmRelativeWakeSpan); }});
    c.push_back({88, [=] { return Span(At(0, 0, 0, 0, -1, 0), kConfirmRelativeWakeSpan); }});
    c.push_back({89, [=] { return Ok(wakeAbs, tomorrow, tomorrow, 0, 0); }});
    return c;
}

}  // namespace

TEST(ScheduleForm, EveryErrorCodeArisesFromItsSituation) {
    std::set<int32_t> seen;
    for (const CodeCase& c : AllCodeCases()) {
        EXPECT_EQ(c.run(), c.code) << "ER-DPT01-" << c.code;
        seen.insert(c.code);
    }
    EXPECT_EQ(seen.size(), 89u);
    EXPECT_EQ(*seen.begin(), 1);
    EXPECT_EQ(*seen.rbegin(), 89);
}

TEST(ScheduleForm, LargestReachableSpansPassTheDayChecks) {
    // 30 days 23:59:59 is the most a difference short of a month can hold.
    const FormChange c = FlipWakeOrigin(kNow, Edit(), At(2024, 1, 1, 0, 0, 0),
                                        At(2024, 1, 31, 23, 59, 59), 1);
    ASSERT_EQ(c.error, 0);
    EXPECT_EQ(F(c.shown), F(At(0, 0, 30, 23, 59, 59)));
    EXPECT_EQ(Span(At(0, 0, 31, 0, 0, 0), form_code::kFromActionSpan), 0) << "31 days pass";
}

TEST(ScheduleForm, MessagesCarryTheirTextAndCode) {
    const struct {
        int32_t code;
        const char* text;
    } cases[] = {
        {58, "Chyba - špatně vyplněný datum !\nChyba : ER-DPT01-058"},
        {5, "Chyba - špatně vyplněný datum !\nChyba : ER-DPT01-005"},
        {55, "Chyba - špatně vyplněný čas !\nChyba : ER-DPT01-055"},
        {71, "Chyba - Čas oživení nesmí být menší než čas použití akce !\nChyba : ER-DPT01-071"},
        {75, "Chyba - Datumu : Čas oživení nesmí být delší než 1 měsíc !\nChyba : ER-DPT01-075"},
        {76, "Chyba - Datumu : Čas oživení nesmí být delší než 31 dní !\nChyba : ER-DPT01-076"},
        {88, "Chyba - Datumu : Čas oživení nesmí být menší než 0 sekund !\nChyba : ER-DPT01-088"},
        {60, "Chyba - Datumu : Odpočítávání nesmí být delší než den !\nChyba : ER-DPT01-060"},
        {89, "Chyba - Akce : není vybrána žádná z možností !\nChyba : ER-DPT01-089"},
    };
    for (const auto& c : cases) EXPECT_EQ(ScheduleErrorText(c.code), c.text);
    EXPECT_EQ(ScheduleErrorText(0), "");
    EXPECT_EQ(ScheduleErrorText(90), "");
}

TEST(ScheduleForm, FieldGroupsReadAndShowAsTheDialogDoes) {
    const DateTime read = ReadFieldGroup({"", "007", "12ab", " 5", "-5", "42"}, 1);
    EXPECT_EQ(F(read), F(At(0, 7, 12, 0, 0, 42)));
    EXPECT_EQ(ReadFieldGroup({"2024", "1", "1", "1", "1", "42"}, 0).second, 0);
    // The 10-character buffer keeps nine digits, so no field reads negative.
    EXPECT_EQ(ReadFieldGroup({"4294967295", "", "", "", "", ""}, 0).year, 429496729);

    const FieldGroupTexts t = ShowFieldGroup(At(5, 3, 7, 9, 0, 45), 1);
    EXPECT_EQ(std::tie(t.year, t.month, t.day, t.hour, t.minute, t.second),
              std::make_tuple("0005", "03", "07", "09", "00", "45"));
    EXPECT_EQ(ShowFieldGroup(At(12024, 1, 1, 0, 0, 45), 0).second, "00");
    EXPECT_EQ(ShowFieldGroup(At(12024, 1, 1, 0, 0, 45), 0).year, "12024");
}

TEST(ScheduleForm, ActionCountdownTurnsIntoDateAndBack) {
    const ScheduleEdit minutes = Edit([](ScheduleEdit& e) {
        e.editActionUsesSeconds = 0;
        e.editActionIsCountdown = 1;
    });
    // 25 hours: tomorrow one hour later; seconds off show 00.
    FormChange c = FlipActionForm(kNow, minutes, FieldGroupTexts{"0000", "00", "00", "25", "00", "17"}, 0);
    ASSERT_EQ(c.error, 0);
    EXPECT_EQ(F(c.shown), F(At(2024, 5, 16, 11, 20, 30)));
    EXPECT_EQ(std::tie(c.texts.day, c.texts.hour, c.texts.second), std::make_tuple("16", "11", "00"));
    EXPECT_EQ(c.edit.editActionIsCountdown, 0);
    EXPECT_EQ(c.boxChecked, 0);
    // 90 minutes carry into an hour and a half.
    EXPECT_EQ(F(FlipActionForm(kNow, minutes, At(0, 0, 0, 0, 90, 0), 0).shown),
              F(At(2024, 5, 15, 11, 50, 30)));

    // A month from 31 January: 2 March in a leap year, 3 March otherwise;
    // a second from New Year's Eve's last one is New Year.
    const DateTime month = At(0, 1, 0, 0, 0, 0);
    EXPECT_EQ(F(FlipActionForm(At(2024, 1, 31, 8, 0, 0), kActionCountdown, month, 0).shown),
              F(At(2024, 3, 2, 8, 0, 0)));
    EXPECT_EQ(F(FlipActionForm(At(2023, 1, 31, 8, 0, 0), kActionCountdown, month, 0).shown),
              F(At(2023, 3, 3, 8, 0, 0)));
    EXPECT_EQ(F(FlipActionForm(At(2023, 12, 31, 23, 59, 59), kActionCountdown,
                               At(0, 0, 0, 0, 0, 1), 0).shown),
              F(At(2024, 1, 1, 0, 0, 0)));

    // A date turns into the time left, zeros once it has passed.
    c = FlipActionForm(kNow, Edit(), At(2024, 6, 1, 0, 0, 0), 1);
    ASSERT_EQ(c.error, 0);
    EXPECT_EQ(F(c.shown), F(At(0, 0, 16, 13, 39, 30)));
    EXPECT_EQ(c.edit.editActionIsCountdown, 1);
    EXPECT_EQ(F(FlipActionForm(kNow, Edit(), At(2024, 5, 15, 10, 20, 29), 1).shown), F(At(0, 0, 0, 0, 0, 0)));
    EXPECT_EQ(FlipActionForm(kNow, Edit(), At(2024, 2, 29, 0, 0, 0), 1).error, 0) << "leap day";
}

TEST(ScheduleForm, RefusedFlipPutsTheBoxBackAndKeepsTheFlags) {
    const ScheduleEdit e = Edit([](ScheduleEdit& x) { x.editWakeRelativeToAction = 1; });
    FormChange c = FlipActionForm(kNow, e, FieldGroupTexts{"2024", "02", "31", "10", "00", "00"}, 1);
    EXPECT_EQ(c.error, 1);
    EXPECT_EQ(c.boxChecked, 0);
    EXPECT_EQ(F(c.edit), F(e));
    c = FlipActionForm(kNow, kActionCountdown, NegativeAt(3), 0);
    EXPECT_EQ(c.boxChecked, 1);
    EXPECT_EQ(F(c.edit), F(kActionCountdown));
    c = FlipWakeOrigin(kNow, e, At(2024, 5, 20, 0, 0, 0), At(2024, 5, 19, 0, 0, 0), 1);
    EXPECT_EQ(c.error, form_code::kFromActionWakeBefore + 2);
    EXPECT_EQ(c.boxChecked, 0);
    c = FlipWakeOrigin(kNow, e, At(2024, 4, 31, 0, 0, 0), kNow, 0);
    EXPECT_EQ(c.boxChecked, 1);
    EXPECT_EQ(F(c.edit), F(e));
}

TEST(ScheduleForm, WakeCountdownFromActionAndBack) {
    const ScheduleEdit fromNow = WakeEdit(1, 0);
    // Action in 2 hours, wake countdown 2 h 10 min from now: 10 minutes after.
    FormChange c = FlipWakeOrigin(kNow, fromNow, At(2024, 5, 15, 12, 20, 30), At(0, 0, 0, 2, 10, 0), 1);
    ASSERT_EQ(c.error, 0);
    EXPECT_EQ(F(c.shown), F(At(0, 0, 0, 0, 10, 0)));
    EXPECT_EQ(c.edit.editWakeRelativeToAction, 1);
    EXPECT_EQ(c.boxChecked, 1);

    c = FlipWakeOrigin(kNow, c.edit, At(2024, 5, 15, 12, 20, 30), c.shown, 0);
    ASSERT_EQ(c.error, 0);
    EXPECT_EQ(F(c.shown), F(At(0, 0, 0, 2, 10, 0)));
    EXPECT_EQ(c.edit.editWakeRelativeToAction, 0);
}

TEST(ScheduleForm, WakeFormFlip) {
    // A date becomes the time left and enables 1043.
    FormChange c = FlipWakeForm(kNow, WakeEdit(0, 0), kNow, At(2024, 5, 16, 10, 20, 30), 1);
    ASSERT_EQ(c.error, 0);
    EXPECT_EQ(F(c.shown), F(At(0, 0, 1, 0, 0, 0)));
    EXPECT_FALSE(c.disableFromAction);
    EXPECT_TRUE(c.enableFromAction);
    EXPECT_EQ(c.edit.editWakeIsCountdown, 1);

    // An offset from the action becomes a date by way of now; 1043 goes.
    const ScheduleEdit rel = WakeEdit(1, 1);
    c = FlipWakeForm(kNow, rel, At(2024, 5, 15, 12, 0, 0), At(0, 0, 0, 0, 10, 5), 0);
    ASSERT_EQ(c.error, 0);
    EXPECT_EQ(F(c.shown), F(At(2024, 5, 15, 12, 10, 5)));
    EXPECT_TRUE(c.disableFromAction);
    EXPECT_FALSE(c.enableFromAction);
    EXPECT_EQ(c.edit.editWakeRelativeToAction, 0);
    EXPECT_EQ(c.edit.editWakeIsCountdown, 0);

    // A broken action time gives way to now without a message; without
    // seconds now's second is dropped too.
    const ScheduleEdit noSeconds = Edit([&](ScheduleEdit& e) {
        e = rel;
        e.editActionUsesSeconds = 0;
    });
    c = FlipWakeForm(kNow, noSeconds, At(2024, 2, 30, 12, 0, 0), At(0, 0, 0, 0, 10, 5), 0);
    ASSERT_EQ(c.error, 0);
    EXPECT_EQ(F(c.shown), F(At(2024, 5, 15, 10, 30, 5)));
}

TEST(ScheduleForm, ConfirmCommitsTheWholeRecord) {
    // Countdown of 25 hours without seconds: the second of confirmation stays.
    ScheduleEdit e = Edit([](ScheduleEdit& x) {
        x.editActionUsesSeconds = 0;
        x.editActionIsCountdown = 1;
        x.editPollStep = 7;
        x.editWakeDelaySeconds = 123;
    });
    ConfirmResult r = ConfirmSchedule(kNow, e, FieldGroupTexts{"0000", "00", "00", "25", "00", "59"},
                                      FieldGroupTexts{}, 0, Radio(4));
    ASSERT_EQ(r.error, 0);
    const ScheduleState& s = r.record;
    EXPECT_EQ(std::tie(s.actionKind, s.actionYear, s.actionMonth, s.actionDay, s.actionHour,
                       s.actionMinute, s.actionSecond),
              std::make_tuple(4, 2024, 5, 16, 11, 20, 30));
    EXPECT_EQ(std::tie(s.actionUsesSeconds, s.actionIsCountdown, s.pollStep, s.wakeEnabled,
                       s.wakeYear, s.wakeDelaySeconds),
              std::make_tuple(0, 1, 0, 0, -1, 123));
    EXPECT_EQ(r.edit.editPollStep, 0) << "the polling step needs seconds";
    EXPECT_EQ(r.edit.editActionKind, 4);

    // The first ticked radio button wins; a step is kept with seconds.
    e.editActionUsesSeconds = 1;
    ActionRadioStates radios{};
    radios[8] = radios[2] = true;
    r = ConfirmSchedule(kNow, e, At(0, 0, 0, 0, 0, 0), kNow, 0, radios);
    EXPECT_EQ(r.record.actionKind, 3);
    EXPECT_EQ(r.record.pollStep, 7);
    EXPECT_EQ(F(At(r.record.actionYear, r.record.actionMonth, r.record.actionDay,
                   r.record.actionHour, r.record.actionMinute, r.record.actionSecond)),
              F(kNow)) << "a zero countdown is the moment of confirmation";

    // The live record keeps its timer stage and warning flag.
    ScheduleState live;
    live.timerStage = 3;
    live.warningShown = 1;
    CommitSchedule(live, r.record);
    EXPECT_EQ(std::tie(live.actionKind, live.timerStage, live.warningShown), std::make_tuple(3, 3, 1));
}

TEST(ScheduleForm, CountdownModeAcceptsUnderADay) {
    const auto confirm = [](const DateTime& a) {
        return ConfirmSchedule(kNow, Edit(), a, kNow, 1, Radio(1));
    };
    ConfirmResult r = confirm(At(2024, 5, 16, 10, 20, 29));
    ASSERT_EQ(r.error, 0);
    EXPECT_EQ(r.record.countdownSeconds, 86399);
    EXPECT_EQ(confirm(At(2024, 5, 16, 10, 20, 30)).error, 60);
    r = confirm(At(2024, 5, 1, 0, 0, 0));
    ASSERT_EQ(r.error, 0) << "a past time is taken";
    EXPECT_EQ(r.record.countdownSeconds, 0);
    // Without countdown mode the old value rides along untouched.
    ScheduleEdit e = Edit();
    e.editCountdownSeconds = 55;
    EXPECT_EQ(ConfirmSchedule(kNow, e, At(2030, 1, 1, 0, 0, 0), kNow, 0, Radio(1)).record.countdownSeconds, 55);
}

TEST(ScheduleForm, WakeDelays) {
    const DateTime action = At(2024, 5, 15, 12, 20, 30);
    // Same time as the action: delay 0.
    ConfirmResult r = ConfirmSchedule(kNow, WakeEdit(0, 0), action, action, 0, Radio(6));
    ASSERT_EQ(r.error, 0);
    EXPECT_EQ(r.record.wakeDelaySeconds, 0);
    // 31 January to 29 February 2024 is 29 days; 1 March is the next month
    // but one, refused although only 30 days away.
    const DateTime jan31 = At(2024, 1, 31, 0, 0, 0);
    const DateTime jan1 = At(2024, 1, 1, 0, 0, 0);
    r = ConfirmSchedule(jan1, WakeEdit(0, 0), jan31, At(2024, 2, 29, 0, 0, 0), 0, Radio(7));
    ASSERT_EQ(r.error, 0);
    EXPECT_EQ(r.record.wakeDelaySeconds, 29 * 86400);
    EXPECT_EQ(ConfirmSchedule(jan1, WakeEdit(0, 0), jan31, At(2024, 3, 1, 0, 0, 0), 0, Radio(7)).error, 75);

    // Wake countdown from now.
    r = ConfirmSchedule(kNow, WakeEdit(1, 0), action, At(0, 0, 1, 0, 0, 0), 0, Radio(6));
    ASSERT_EQ(r.error, 0);
    EXPECT_EQ(r.record.wakeDelaySeconds, 22 * 3600);
    EXPECT_EQ(r.record.wakeDay, 16);

    // Relative: action 2 hours ahead, offset 10 minutes.  The wake-up thread
    // counts from the action, so the delay is the 10 minutes and the stored
    // wake time is 12:30:30.
    r = ConfirmSchedule(kNow, WakeEdit(1, 1), action, At(0, 0, 0, 0, 10, 0), 0, Radio(6));
    ASSERT_EQ(r.error, 0);
    EXPECT_EQ(r.record.wakeDelaySeconds, 600);
    EXPECT_EQ(std::tie(r.record.wakeHour, r.record.wakeMinute, r.record.wakeSecond),
              std::make_tuple(12, 30, 30));
    EXPECT_EQ(r.record.wakeRelativeToAction, 1);
}

TEST(ScheduleForm, NoActionChosenComesAfterEveryTimeCheck) {
    const DateTime tomorrow = At(2024, 5, 16, 10, 0, 0);
    EXPECT_EQ(Ok(WakeEdit(0, 0), tomorrow, At(2024, 5, 16, 9, 0, 0), 0, 0), 72);
    EXPECT_EQ(Ok(WakeEdit(0, 0), tomorrow, tomorrow, 1, 0), 89);
    EXPECT_EQ(Ok(Edit(), At(2024, 2, 30, 0, 0, 0), tomorrow, 0, 0), 58);
    EXPECT_EQ(Ok(Edit(), At(2100, 2, 29, 0, 0, 0), tomorrow, 0, 1), 0) << "no century rule";
}

// ---------------------------------------------------------------------------
// Randomized: 200000 cases of random texts, flags, boxes, countdown mode and
// radio buttons on a random clock, through every handler and, after a form
// change, through OK as well.

namespace {

struct Random {
    std::mt19937 engine{20240515u};
    int32_t Below(int32_t n) { return static_cast<int32_t>(engine() % static_cast<uint32_t>(n)); }
    bool OneIn(int32_t n) { return Below(n) == 0; }
};

std::string Number(int32_t value, int width) {
    std::string s = std::to_string(value);
    while (static_cast<int>(s.size()) < width) s.insert(s.begin(), '0');
    return s;
}

std::string Junk(Random& r, int width) {
    static const char* const kJunk[] = {"", "0000", "9999", "00", "99", "a1", " 7", "-3",
                                        "1x", "+5", "0", "007", "\xE8", "59", "60", "24"};
    if (r.OneIn(2)) return kJunk[r.Below(16)];
    std::string s;
    for (int i = 1 + r.Below(width); i > 0; --i) s += static_cast<char>('0' + r.Below(10));
    return s;
}

FieldGroupTexts Group(Random& r, const DateTime& plausible) {
    const int32_t f[6] = {plausible.year, plausible.month, plausible.day,
                          plausible.hour, plausible.minute, plausible.second};
    std::string t[6];
    for (int i = 0; i < 6; ++i) {
        t[i] = r.OneIn(6) ? Junk(r, i == 0 ? 4 : 2) : Number(f[i], i == 0 ? 4 : 2);
    }
    return {t[0].c_str(), t[1].c_str(), t[2].c_str(), t[3].c_str(), t[4].c_str(), t[5].c_str()};
}

// Countdown-like or date-like values around `base`.
DateTime Plausible(Random& r, const DateTime& base, bool countdown) {
    if (countdown) {
        return At(r.OneIn(20) ? r.Below(3) : 0, r.OneIn(10) ? r.Below(3) : 0, r.Below(33),
                  r.Below(30), r.Below(70), r.Below(70));
    }
    return CalendarSum(base, At(0, r.OneIn(10) ? 1 : 0, r.Below(35), r.Below(24), r.Below(60),
                                r.Below(60)));
}

bool IsNegativeCode(int32_t code) {
    for (int32_t first : {3, 11, 19, 36, 44, 52, 61}) {
        if (code >= first && code < first + 6) return true;
    }
    return false;
}

bool Valid(const DateTime& t) {
    return IsValidDate(t.year, t.month, t.day) == 1 && IsValidTime(t.hour, t.minute, t.second) == 1;
}

// What the random cases reached, so that a generator gone stale shows.
struct Reach {
    int commits = 0;
    int wakeCommits = 0;
    int relativeCommits = 0;
    std::set<int32_t> codes;
};

void CheckConfirm(Reach& reach, const DateTime& now, const ScheduleEdit& e, const FieldGroupTexts& a,
                  const FieldGroupTexts& w, int32_t useCountdown, const ActionRadioStates& radios) {
    const ConfirmResult r = ConfirmSchedule(now, e, a, w, useCountdown, radios);
    reach.codes.insert(r.error);
    if (r.error != 0) {
        ASSERT_GE(r.error, form_code::kConfirmActionDate);
        ASSERT_LE(r.error, form_code::kConfirmNoAction);
        ASSERT_FALSE(IsNegativeCode(r.error)) << "typed text never reads negative";
        ASSERT_NE(r.error, 87);
        ASSERT_NE(r.error, 88);
        ASSERT_EQ(F(r.edit), F(e));
        return;
    }
    const ScheduleState& s = r.record;
    ++reach.commits;
    reach.wakeCommits += s.wakeEnabled;
    reach.relativeCommits += s.wakeEnabled * s.wakeRelativeToAction;
    const DateTime action = At(s.actionYear, s.actionMonth, s.actionDay, s.actionHour,
                               s.actionMinute, s.actionSecond);
    ASSERT_TRUE(Valid(action));
    size_t first = 0;
    while (!radios[first]) ++first;
    ASSERT_EQ(s.actionKind, static_cast<int32_t>(first) + 1);
    ASSERT_EQ(std::make_tuple(s.actionUsesSeconds, s.actionIsCountdown, s.applyImmediately,
                              s.wakeEnabled, s.wakeUsesSeconds, s.wakeIsCountdown,
                              s.wakeRelativeToAction),
              std::make_tuple(e.editActionUsesSeconds, e.editActionIsCountdown,
                              e.editApplyImmediately, e.editWakeEnabled, e.editWakeUsesSeconds,
                              e.editWakeIsCountdown, e.editWakeRelativeToAction));
    ASSERT_EQ(s.pollStep, e.editActionUsesSeconds == 1 ? e.editPollStep : 0);
    if (e.editActionIsCountdown == 1) {
        ASSERT_GE(Serial(action), Serial(now));
    }
    const int64_t ahead = Serial(action) - Serial(now);
    if (useCountdown == 1) {
        ASSERT_LT(ahead, 86400);
        ASSERT_EQ(s.countdownSeconds, ahead > 0 ? ahead : 0);
    } else {
        ASSERT_EQ(s.countdownSeconds, e.editCountdownSeconds);
    }
    if (s.wakeEnabled == 1) {
        const DateTime wake = At(s.wakeYear, s.wakeMonth, s.wakeDay, s.wakeHour, s.wakeMinute,
                                 s.wakeSecond);
        ASSERT_TRUE(Valid(wake));
        ASSERT_GE(s.wakeDelaySeconds, 0);
        ASSERT_LE(s.wakeDelaySeconds, MaxWakeDelaySeconds);
        ASSERT_EQ(s.wakeDelaySeconds, Serial(wake) - Serial(action)) << "delay runs from the action";
    } else {
        ASSERT_EQ(F(At(s.wakeYear, s.wakeMonth, s.wakeDay, s.wakeHour, s.wakeMinute, s.wakeSecond)),
                  F(At(-1, 0, 0, 0, 0, 0)));
        ASSERT_EQ(s.wakeDelaySeconds, e.editWakeDelaySeconds);
    }
    ASSERT_EQ(std::make_tuple(s.timerStage, s.warningShown), std::make_tuple(0, 0));
}

void CheckChange(Reach& reach, const FormChange& c, const ScheduleEdit& e, int32_t lowest, int32_t highest,
                 int32_t refusedBox, int32_t usesSeconds) {
    reach.codes.insert(c.error);
    if (c.error != 0) {
        ASSERT_GE(c.error, lowest);
        ASSERT_LE(c.error, highest);
        ASSERT_FALSE(IsNegativeCode(c.error));
        ASSERT_EQ(c.boxChecked, refusedBox);
        ASSERT_EQ(F(c.edit), F(e));
        return;
    }
    for (int32_t v : F(c.shown)) ASSERT_GE(v, 0);
    if (c.shown.year <= 9999) {
        DateTime back = ReadFieldGroup(c.texts, usesSeconds);
        DateTime expected = c.shown;
        if (usesSeconds != 1) expected.second = 0;
        ASSERT_EQ(F(back), F(expected));
    }
}

}  // namespace

TEST(ScheduleFormRandom, EveryCaseCommitsOrRefusesCleanly) {
    Random r;
    Reach reach;
    for (int n = 0; n < 200000; ++n) {
        SCOPED_TRACE(n);
        DateTime today = r.OneIn(50) ? At(9999, 12, 31, 23, 59, r.Below(60))
                                     : At(1990 + r.Below(50), 1 + r.Below(12), 1, r.Below(24),
                                          r.Below(60), r.Below(60));
        if (today.year != 9999) today.day = 1 + r.Below(DaysInMonth(today.month, today.year));
        ScheduleEdit e;
        e.editPollStep = r.Below(13);
        e.editActionUsesSeconds = r.Below(2);
        e.editWakeUsesSeconds = r.Below(2);
        e.editWakeEnabled = r.Below(2);
        e.editApplyImmediately = r.Below(2);
        e.editActionIsCountdown = r.Below(2);
        e.editWakeIsCountdown = r.Below(2);
        e.editWakeRelativeToAction = e.editWakeIsCountdown == 1 ? r.Below(2) : 0;
        e.editCountdownSeconds = r.Below(86400);
        e.editWakeDelaySeconds = r.Below(MaxWakeDelaySeconds);
        const DateTime actionValue = Plausible(r, today, e.editActionIsCountdown == 1);
        const FieldGroupTexts action = Group(r, actionValue);
        const bool wakeOffset = e.editWakeIsCountdown == 1;
        const FieldGroupTexts wake = Group(r, Plausible(r, e.editActionIsCountdown ? today : actionValue, wakeOffset));
        const int32_t useCountdown = r.Below(2);
        ActionRadioStates radios{};
        if (!r.OneIn(10)) radios[static_cast<size_t>(r.Below(9))] = true;
        if (r.OneIn(10)) radios[static_cast<size_t>(r.Below(9))] = true;

        FormChange c;
        switch (r.Below(8)) {
            case 0: {
                const int32_t box = 1 - e.editActionIsCountdown;
                c = FlipActionForm(today, e, action, box);
                CheckChange(reach, c, e, 1, 2, e.editActionIsCountdown, e.editActionUsesSeconds);
                if (c.error == 0 && e.editActionIsCountdown == 1 && c.shown.year <= 9999) {
                    ASSERT_TRUE(Valid(c.shown)) << "a countdown always lands on a real time";
                }
                if (c.error == 0) {
                    CheckConfirm(reach, today, c.edit, c.texts, wake, useCountdown, radios);
                }
                break;
            }
            case 1:
                c = FlipWakeForm(today, e, action, wake, 1 - e.editWakeIsCountdown);
                CheckChange(reach, c, e, 9, 10, 0, e.editWakeUsesSeconds);
                if (c.error == 0) CheckConfirm(reach, today, c.edit, action, c.texts, useCountdown, radios);
                break;
            case 2:
            case 3: {
                const int32_t ticked = r.Below(2);
                c = FlipWakeOrigin(today, e, action, wake, ticked);
                CheckChange(reach, c, e, ticked ? 17 : 42, ticked ? 33 : 51, 1 - ticked, e.editWakeUsesSeconds);
                if (c.error == 0) CheckConfirm(reach, today, c.edit, action, c.texts, useCountdown, radios);
                break;
            }
            default:
                CheckConfirm(reach, today, e, action, wake, useCountdown, radios);
                break;
        }
        if (HasFatalFailure()) return;
    }
    // About a quarter commit; most refusals come from junk texts and late wake-ups.
    EXPECT_GT(reach.commits, 20000);
    EXPECT_GT(reach.wakeCommits, 5000);
    EXPECT_GT(reach.relativeCommits, 1000);
    EXPECT_GE(reach.codes.size(), 30u);
}

// On opening, a stored countdown is recomputed against the clock; a wake-up
// counted from the action shows its offset, with the action's stored second.
TEST(ScheduleForm, OpeningShowsTheClockTheDateOrWhatRemains) {
    ScheduleState s;
    OpeningValues v = OpeningFieldValues(kNow, s);
    EXPECT_EQ(F(v.action), F(kNow));
    EXPECT_EQ(F(v.wake), F(kNow));

    s.actionKind = 7;
    SetActionTime(s, At(2024, 5, 31, 23, 59, 45));
    EXPECT_EQ(F(OpeningFieldValues(kNow, s).action), F(At(2024, 5, 31, 23, 59, 45)));
    s.actionIsCountdown = 1;  // second not used: counted to 23:59:00
    EXPECT_EQ(F(OpeningFieldValues(kNow, s).action), F(At(0, 0, 16, 13, 38, 30)));
    s.actionUsesSeconds = 1;
    EXPECT_EQ(F(OpeningFieldValues(kNow, s).action), F(At(0, 0, 16, 13, 39, 15)));
    s.actionYear = 2023;  // passed
    EXPECT_EQ(F(OpeningFieldValues(kNow, s).action), F(At(0, 0, 0, 0, 0, 0)));
    s.actionYear = 2024;
    s.actionUsesSeconds = 0;

    SetWakeTime(s, At(2024, 6, 1, 0, 30, 10));
    EXPECT_EQ(F(OpeningFieldValues(kNow, s).wake), F(At(2024, 6, 1, 0, 30, 10)));
    s.wakeIsCountdown = 1;
    EXPECT_EQ(F(OpeningFieldValues(kNow, s).wake), F(At(0, 0, 16, 14, 9, 30)));
    s.wakeRelativeToAction = 1;  // 00:30:00 - 23:59:45 across the month end
    EXPECT_EQ(F(OpeningFieldValues(kNow, s).wake), F(At(0, 0, 0, 0, 30, 15)));
}
