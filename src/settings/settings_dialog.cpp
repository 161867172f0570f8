#include "settings/settings_dialog.h"

#include "base/ids.h"
#include "base/text.h"
#include "schedule/calendar.h"
#include "schedule/schedule_state.h"
#include "settings/settings_file.h"
#include "settings/settings_store.h"

namespace {

void InitDialog(HWND dialog) {
    if (gSettings.askConfirmation == 1) CheckDlgButton(dialog, IDC_SET_ASK, BST_CHECKED);
    if (gSettings.useCountdown == 1) CheckDlgButton(dialog, IDC_SET_COUNTDOWN, BST_CHECKED);
    if (gSettings.showClock == 1) CheckDlgButton(dialog, IDC_SET_CLOCK, BST_CHECKED);
    if (gSettings.warnBeforeAction == 1) {
        CheckDlgButton(dialog, IDC_SET_WARN, BST_CHECKED);
    } else {
        EnableWindow(GetDlgItem(dialog, IDC_SET_WARN_SECONDS), FALSE);
    }
    SetDlgItemTextA(dialog, IDC_SET_WARN_SECONDS,
                    Text().appendNumber(gSettings.warningSeconds).c_str());
    SendDlgItemMessageA(dialog, IDC_SET_WARN_SECONDS, EM_LIMITTEXT, 4, 0);
    // The trigger style cannot change under a pending schedule.
    if (gSchedule.actionKind != 0) {
        EnableWindow(GetDlgItem(dialog, IDC_SET_COUNTDOWN), FALSE);
    }
}

int32_t Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED ? 1 : 0; }

// A disabled box or field is read all the same, so it keeps its value.
void Accept(HWND dialog) {
    gSettings.askConfirmation = Checked(dialog, IDC_SET_ASK);
    gSettings.useCountdown = Checked(dialog, IDC_SET_COUNTDOWN);
    gSettings.showClock = Checked(dialog, IDC_SET_CLOCK);
    gSettings.warnBeforeAction = Checked(dialog, IDC_SET_WARN);
    // Four digits at most, as the field allows: a longer text put there by
    // other means must not store a lead the next start would refuse.
    char seconds[5] = {};
    GetDlgItemTextA(dialog, IDC_SET_WARN_SECONDS, seconds, sizeof seconds);
    gSettings.warningSeconds = ParseDecimal(seconds);
    // A failed save has shown its error; the new values apply until the end.
    SaveSettings();
    EndDialog(dialog, 1);
}

}  // namespace

INT_PTR CALLBACK SettingsDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        InitDialog(dialog);
    } else if (message == WM_COMMAND) {
        switch (LOWORD(wParam)) {
            case IDC_SET_WARN:
                EnableWindow(GetDlgItem(dialog, IDC_SET_WARN_SECONDS),
                             IsDlgButtonChecked(dialog, IDC_SET_WARN) == BST_CHECKED);
                break;
            case IDC_OK:
                Accept(dialog);
                break;
            case IDC_CANCEL:
                EndDialog(dialog, 2);
                break;
            default:
                break;  // Escape's IDCANCEL too
        }
    }
    return 0;
}
