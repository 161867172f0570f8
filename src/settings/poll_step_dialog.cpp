#include "settings/poll_step_dialog.h"

#include "base/ids.h"
#include "base/wide_text.h"
#include "schedule/schedule_state.h"

namespace {

// Indexed by the step: 0 is the cascade, 1..12 the fixed steps.
constexpr int kStepButtons[13] = {IDC_STEP_CASCADE, IDC_STEP_1S,  IDC_STEP_2S,  IDC_STEP_3S,
                                  IDC_STEP_4S,      IDC_STEP_5S,  IDC_STEP_6S,  IDC_STEP_10S,
                                  IDC_STEP_12S,     IDC_STEP_15S, IDC_STEP_20S, IDC_STEP_30S,
                                  IDC_STEP_60S};

void Accept(HWND dialog) {
    // The fixed steps are asked first, the cascade last.
    for (int i = 1; i <= 13; ++i) {
        const int step = i % 13;
        if (IsDlgButtonChecked(dialog, kStepButtons[step]) == BST_CHECKED) {
            gScheduleEdit.editPollStep = step;
            EndDialog(dialog, 1);
            return;
        }
    }
    MessageBoxCp(dialog, "Chyba - Akce : není vybrána žádná z možností !\nChyba : ER-DPTS01-001",
                "Chyba", MB_ICONERROR);
}

}  // namespace

INT_PTR CALLBACK PollStepDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        // The step in force, not one proposed earlier in the same scheduling run.
        if (gSchedule.pollStep >= 0 && gSchedule.pollStep <= 12) {
            CheckDlgButton(dialog, kStepButtons[gSchedule.pollStep], BST_CHECKED);
        }
    } else if (message == WM_COMMAND) {
        switch (LOWORD(wParam)) {
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
