#include "schedule/schedule_dialog.h"

#include "actions/actions.h"
#include "base/ids.h"
#include "base/os_level.h"
#include "base/wide_text.h"
#include "schedule/calendar_clock.h"
#include "schedule/schedule_form.h"
#include "schedule/schedule_state.h"
#include "settings/poll_step_dialog.h"
#include "settings/settings_file.h"

namespace {

// The main window, handed in when the dialog opens: a pending schedule that
// OK replaces is cleared there, with its timers.
HWND mainWindow = nullptr;

// Year to second.
constexpr int kActionFields[6] = {IDC_ACTION_YEAR, IDC_ACTION_MONTH,  IDC_ACTION_DAY,
                                  IDC_ACTION_HOUR, IDC_ACTION_MINUTE, IDC_ACTION_SECOND};
constexpr int kWakeFields[6] = {IDC_WAKE_YEAR, IDC_WAKE_MONTH,  IDC_WAKE_DAY,
                                IDC_WAKE_HOUR, IDC_WAKE_MINUTE, IDC_WAKE_SECOND};

// With a wake-up only hibernate and standby can be chosen.
constexpr int kActionsWithoutWakeUp[] = {IDC_ACTION_LOCK,    IDC_ACTION_LOG_OFF,
                                         IDC_ACTION_RESTART, IDC_ACTION_POWER_OFF,
                                         IDC_ACTION_REMINDER, IDC_ACTION_MONITOR_OFF,
                                         IDC_ACTION_SCREEN_SAVER};

// The choices the capability level allows, as the main window enables its
// actions.  Only ever enables.
void EnableChoicesByLevel(HWND dialog) {
    static const struct {
        int32_t threshold;
        int controls[5];
    } kSteps[] = {
        {kThresholdBasic,
         {IDC_ACTION_REMINDER, IDC_ACTION_RESTART, IDC_ACTION_POWER_OFF, IDC_ACTION_MONITOR_OFF,
          IDC_ACTION_SCREEN_SAVER}},
        {kThresholdSession, {IDC_ACTION_LOCK, IDC_ACTION_LOG_OFF}},
        {kThresholdSuspend, {IDC_ACTION_HIBERNATE, IDC_ACTION_STANDBY, IDC_WAKE_ENABLED}},
    };
    for (const auto& step : kSteps) {
        if (gOsLevel < step.threshold) break;
        for (int id : step.controls) {
            if (id != 0) EnableWindow(GetDlgItem(dialog, id), TRUE);
        }
    }
}

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void Check(HWND dialog, int id, bool ticked) {
    CheckDlgButton(dialog, id, ticked ? BST_CHECKED : BST_UNCHECKED);
}

void Enable(HWND dialog, int id, bool enabled) { EnableWindow(GetDlgItem(dialog, id), enabled); }

void SetReadOnly(HWND dialog, int id, bool readOnly) {
    SendDlgItemMessageA(dialog, id, EM_SETREADONLY, readOnly, 0);
}

// Runs a box's handler exactly as a click would, after the caller has set it.
void Run(HWND dialog, int id) { SendMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(id), 1); }

// The six texts of a group, year to second.
Text FieldGroupTexts::*const kParts[6] = {
    &FieldGroupTexts::year, &FieldGroupTexts::month,  &FieldGroupTexts::day,
    &FieldGroupTexts::hour, &FieldGroupTexts::minute, &FieldGroupTexts::second};

// Through a buffer of 10, as the fields have always been read.
FieldGroupTexts ReadTexts(HWND dialog, const int (&ids)[6]) {
    FieldGroupTexts texts;
    for (int i = 0; i < 6; ++i) {
        char buffer[10] = {};
        GetDlgItemTextA(dialog, ids[i], buffer, sizeof buffer);
        texts.*kParts[i] = buffer;
    }
    return texts;
}

void ShowTexts(HWND dialog, const int (&ids)[6], const FieldGroupTexts& texts) {
    for (int i = 0; i < 6; ++i) {
        SetDlgItemTextA(dialog, ids[i], (texts.*kParts[i]).c_str());
    }
}

void ReportInputError(HWND dialog, int32_t code) {
    MessageBoxCp(dialog, ScheduleErrorText(code).c_str(), "Chyba", MB_ICONERROR);
}

void UntickOtherActions(HWND dialog, int ticked) {
    for (int32_t id : kActionRadioIds) {
        if (id != ticked) Check(dialog, id, false);
    }
}

void InitDialog(HWND dialog) {
    const ScheduleState& s = gSchedule;
    ScheduleEdit& edit = gScheduleEdit;

    EnableChoicesByLevel(dialog);
    for (int id : kActionFields) SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, 2, 0);
    for (int id : kWakeFields) SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, 2, 0);
    SendDlgItemMessageA(dialog, IDC_ACTION_YEAR, EM_LIMITTEXT, 4, 0);
    SendDlgItemMessageA(dialog, IDC_WAKE_YEAR, EM_LIMITTEXT, 4, 0);

    if (s.actionKind >= 1 && s.actionKind <= static_cast<int32_t>(kActionRadioIds.size())) {
        Check(dialog, kActionRadioIds[static_cast<size_t>(s.actionKind - 1)], true);
    }
    edit.editPollStep = s.pollStep;
    edit.editApplyImmediately = s.applyImmediately;
    if (s.applyImmediately != 0) {
        Check(dialog, IDC_APPLY_IMMEDIATELY, true);
        Run(dialog, IDC_APPLY_IMMEDIATELY);
    }
    if (s.wakeEnabled == 1) {
        Check(dialog, IDC_WAKE_ENABLED, true);
        Run(dialog, IDC_WAKE_ENABLED);
        if (s.wakeUsesSeconds == 1) {
            Check(dialog, IDC_WAKE_USES_SECONDS, true);
            SetReadOnly(dialog, IDC_WAKE_SECOND, false);
        }
        if (s.wakeIsCountdown == 1) {
            Check(dialog, IDC_WAKE_COUNTDOWN, true);
            Enable(dialog, IDC_WAKE_FROM_ACTION, true);
        }
        if (s.wakeRelativeToAction == 1) Check(dialog, IDC_WAKE_FROM_ACTION, true);
    }
    edit.editWakeEnabled = s.wakeEnabled;
    if (s.actionUsesSeconds == 1) {
        Check(dialog, IDC_ACTION_USES_SECONDS, true);
        if (gSettings.useCountdown != 1) Enable(dialog, IDC_POLL_STEP_BUTTON, true);
        SetReadOnly(dialog, IDC_ACTION_SECOND, false);
    }
    edit.editWakeUsesSeconds = s.wakeUsesSeconds;
    edit.editActionUsesSeconds = s.actionUsesSeconds;
    if (s.actionIsCountdown == 1) Check(dialog, IDC_ACTION_COUNTDOWN, true);
    edit.editActionIsCountdown = s.actionIsCountdown;
    edit.editWakeIsCountdown = s.wakeIsCountdown;
    edit.editWakeRelativeToAction = s.wakeRelativeToAction;

    // The clock is read once; a pending countdown shows what remains of it now.
    const OpeningValues values = OpeningFieldValues(LocalNow(), s);
    ShowTexts(dialog, kActionFields, ShowFieldGroup(values.action, s.actionUsesSeconds));
    ShowTexts(dialog, kWakeFields, ShowFieldGroup(values.wake, s.wakeUsesSeconds));
}

void OnActionRadio(HWND dialog, int id) {
    if (!Checked(dialog, id)) return;
    if (id == IDC_ACTION_REMINDER) {
        // A reminder is never applied at once.
        Enable(dialog, IDC_APPLY_IMMEDIATELY, false);
        UntickOtherActions(dialog, id);
        Check(dialog, IDC_APPLY_IMMEDIATELY, false);
        Run(dialog, IDC_APPLY_IMMEDIATELY);
    } else {
        Enable(dialog, IDC_APPLY_IMMEDIATELY, true);
        UntickOtherActions(dialog, id);
    }
}

// The action time becomes a zero countdown, the moment of confirmation.
void OnApplyImmediately(HWND dialog) {
    const bool ticked = Checked(dialog, IDC_APPLY_IMMEDIATELY);
    gScheduleEdit.editApplyImmediately = ticked ? 1 : 0;
    for (int id : kActionFields) Enable(dialog, id, !ticked);
    Enable(dialog, IDC_ACTION_USES_SECONDS, !ticked);
    Enable(dialog, IDC_ACTION_COUNTDOWN, !ticked);
    if (!ticked) return;  // contents and boxes stay as they are
    Check(dialog, IDC_ACTION_USES_SECONDS, false);
    Run(dialog, IDC_ACTION_USES_SECONDS);
    SetDlgItemTextA(dialog, IDC_ACTION_YEAR, "0000");
    for (int i = 1; i < 6; ++i) SetDlgItemTextA(dialog, kActionFields[i], "00");
    Check(dialog, IDC_ACTION_COUNTDOWN, true);
    gScheduleEdit.editActionIsCountdown = 1;
}

void OnActionUsesSeconds(HWND dialog) {
    const bool ticked = Checked(dialog, IDC_ACTION_USES_SECONDS);
    // The polling step is of no use to a countdown.
    Enable(dialog, IDC_POLL_STEP_BUTTON, ticked && gSettings.useCountdown != 1);
    SetReadOnly(dialog, IDC_ACTION_SECOND, !ticked);
    gScheduleEdit.editActionUsesSeconds = ticked ? 1 : 0;
}

void OnWakeUsesSeconds(HWND dialog) {
    const bool ticked = Checked(dialog, IDC_WAKE_USES_SECONDS);
    SetReadOnly(dialog, IDC_WAKE_SECOND, !ticked);
    gScheduleEdit.editWakeUsesSeconds = ticked ? 1 : 0;
}

void EnableWakeGroup(HWND dialog, bool enabled) {
    for (int id : kWakeFields) Enable(dialog, id, enabled);
    Enable(dialog, IDC_WAKE_USES_SECONDS, enabled);
    Enable(dialog, IDC_WAKE_COUNTDOWN, enabled);
}

void OnWakeEnabled(HWND dialog) {
    if (Checked(dialog, IDC_WAKE_ENABLED)) {
        gScheduleEdit.editWakeEnabled = 1;
        Enable(dialog, IDC_APPLY_IMMEDIATELY, true);
        for (int id : kActionsWithoutWakeUp) {
            Enable(dialog, id, false);
            Check(dialog, id, false);
        }
        EnableWakeGroup(dialog, true);
        return;
    }
    // The actions come back by level; none is ticked again.
    EnableChoicesByLevel(dialog);
    gScheduleEdit.editWakeEnabled = 0;
    EnableWakeGroup(dialog, false);
    Check(dialog, IDC_WAKE_USES_SECONDS, false);
    if (Checked(dialog, IDC_WAKE_COUNTDOWN)) {
        Check(dialog, IDC_WAKE_COUNTDOWN, false);
        Run(dialog, IDC_WAKE_COUNTDOWN);
    }
    Run(dialog, IDC_WAKE_USES_SECONDS);
}

// Shows a form handler's outcome: the new texts of its group, or its error
// with the flipped box put back.
bool Apply(HWND dialog, int box, const FormChange& change, const int (&group)[6]) {
    if (change.error != 0) {
        ReportInputError(dialog, change.error);
        Check(dialog, box, change.boxChecked != 0);
        return false;
    }
    ShowTexts(dialog, group, change.texts);
    gScheduleEdit = change.edit;
    return true;
}

void OnActionCountdown(HWND dialog) {
    Apply(dialog, IDC_ACTION_COUNTDOWN,
          FlipActionForm(LocalNow(), gScheduleEdit, ReadTexts(dialog, kActionFields),
                         Checked(dialog, IDC_ACTION_COUNTDOWN)),
          kActionFields);
}

void OnWakeCountdown(HWND dialog) {
    const FormChange change =
        FlipWakeForm(LocalNow(), gScheduleEdit, ReadTexts(dialog, kActionFields),
                     ReadTexts(dialog, kWakeFields), Checked(dialog, IDC_WAKE_COUNTDOWN));
    if (!Apply(dialog, IDC_WAKE_COUNTDOWN, change, kWakeFields)) return;
    if (change.disableFromAction) {
        Enable(dialog, IDC_WAKE_FROM_ACTION, false);
        Check(dialog, IDC_WAKE_FROM_ACTION, false);
    }
    if (change.enableFromAction) Enable(dialog, IDC_WAKE_FROM_ACTION, true);
}

void OnWakeFromAction(HWND dialog) {
    Apply(dialog, IDC_WAKE_FROM_ACTION,
          FlipWakeOrigin(LocalNow(), gScheduleEdit, ReadTexts(dialog, kActionFields),
                         ReadTexts(dialog, kWakeFields), Checked(dialog, IDC_WAKE_FROM_ACTION)),
          kWakeFields);
}

// Either nothing changes but an error box, or the pending schedule is
// cleared, the new one committed in one step and the dialog ends with 1.
void OnOk(HWND dialog) {
    ActionRadioStates radios{};
    for (size_t i = 0; i < kActionRadioIds.size(); ++i) {
        radios[i] = Checked(dialog, kActionRadioIds[i]);
    }
    const ConfirmResult result =
        ConfirmSchedule(LocalNow(), gScheduleEdit, ReadTexts(dialog, kActionFields),
                        ReadTexts(dialog, kWakeFields), gSettings.useCountdown, radios);
    if (result.error != 0) {
        ReportInputError(dialog, result.error);
        return;
    }
    gScheduleEdit = result.edit;
    if (gSchedule.actionKind != 0) {
        ClearSchedule(mainWindow);
    }
    CommitSchedule(gSchedule, result.record);
    EndDialog(dialog, 1);
}

}  // namespace

INT_PTR CALLBACK ScheduleDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        mainWindow = reinterpret_cast<HWND>(lParam);
        InitDialog(dialog);
        return 0;
    }
    if (message != WM_COMMAND) return 0;
    const int id = LOWORD(wParam);
    switch (id) {
        case IDC_ACTION_LOCK:
        case IDC_ACTION_LOG_OFF:
        case IDC_ACTION_RESTART:
        case IDC_ACTION_POWER_OFF:
        case IDC_ACTION_REMINDER:
        case IDC_ACTION_HIBERNATE:
        case IDC_ACTION_STANDBY:
        case IDC_ACTION_MONITOR_OFF:
        case IDC_ACTION_SCREEN_SAVER:
            OnActionRadio(dialog, id);
            break;
        case IDC_APPLY_IMMEDIATELY:
            OnApplyImmediately(dialog);
            break;
        case IDC_ACTION_USES_SECONDS:
            OnActionUsesSeconds(dialog);
            break;
        case IDC_WAKE_USES_SECONDS:
            OnWakeUsesSeconds(dialog);
            break;
        case IDC_WAKE_ENABLED:
            OnWakeEnabled(dialog);
            break;
        case IDC_ACTION_COUNTDOWN:
            OnActionCountdown(dialog);
            break;
        case IDC_WAKE_COUNTDOWN:
            OnWakeCountdown(dialog);
            break;
        case IDC_WAKE_FROM_ACTION:
            OnWakeFromAction(dialog);
            break;
        case IDC_POLL_STEP_BUTTON:
            // Its result does not matter: it can only have changed editPollStep.
            // From the program's own module, which holds the templates.
            DialogBoxParamW(GetModuleHandleA(nullptr), MAKEINTRESOURCEW(IDD_POLL_STEP), dialog,
                            PollStepDialog, 0);
            break;
        case IDC_CANCEL:
            EndDialog(dialog, 2);
            break;
        case IDC_OK:
            OnOk(dialog);
            break;
        default:
            break;  // Escape's IDCANCEL and the fields' own notifications
    }
    return 0;
}
