#include "app/commands.h"

#include <windows.h>
#include <shellapi.h>

#include "actions/action_kind.h"
#include "actions/actions.h"
#include "app/ids.h"
#include "app/main_window.h"
#include "app/wide_text.h"
#include "dialogs/info_dialogs.h"
#include "schedule/schedule_dialog.h"
#include "schedule/schedule_state.h"
#include "schedule/trigger_timers.h"
#include "settings/settings_dialog.h"
#include "settings/settings_file.h"

namespace {

bool Ask(const char* question) {
    return MessageBoxCp(gMainWindow, question, "Halvexor", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// An immediate action: the question when the settings ask for one, the
// pending schedule cleared first whatever follows, then the primitive once.
struct ConfirmedAction {
    int id;
    const char* question;
    void (*run)(bool asked);
};

// Hibernate and standby are reported when the suspension thread comes back
// refused; the refusal's text tells whether the question had been asked.
void Hibernate(bool asked) {
    SuspendFromWindow(kActionHibernate,
                      asked ? "Chyba - nelze systém uvést do stavu hibernace !\nChyba : ER-WPM01-004"
                            : "Chyba - nelze systém uvést do stavu hibernace !\nChyba : ER-WPM01-003");
}

void Standby(bool asked) {
    SuspendFromWindow(
        kActionStandby,
        asked ? "Chyba - nelze systém uvést do stavu úsporného režimu !\nChyba : ER-WPM01-002"
              : "Chyba - nelze systém uvést do stavu úsporného režimu !\nChyba : ER-WPM01-001");
}

const ConfirmedAction kConfirmedActions[] = {
    {IDM_LOG_OFF, "Opravdu odhlásit ?", [](bool) { LogOffSession(); }},
    {IDM_POWER_OFF, "Opravdu vypnout ?", [](bool) { PowerOffComputer(); }},
    {IDM_RESTART, "Opravdu restartovat ?", [](bool) { RestartComputer(); }},
    {IDM_LOCK, "Opravdu zamknout ?", [](bool) { LockStation(); }},
    {IDM_HIBERNATE, "Opravdu hibernovat ?", Hibernate},
    {IDM_STANDBY, "Opravdu přepnout do úsporného režimu ?", Standby},
    {IDM_MONITOR_OFF, "Opravdu vypnout monitor ?", [](bool) { TurnMonitorOff(); }},
    // The missing háčky are the program's own text.
    {IDM_SCREEN_SAVER, "Opravdu se má spustit sporic obrazovky ?", [](bool) { StartScreenSaver(); }},
};

void RunConfirmedAction(const ConfirmedAction& action) {
    const bool asks = gSettings.askConfirmation == 1;
    if (asks && !Ask(action.question)) {
        return;
    }
    ClearSchedule();
    action.run(asks);
}

void CancelAction() {
    if (gSettings.askConfirmation == 1 && !Ask("Opravdu zrušit akci ?")) {
        return;
    }
    ClearSchedule();
}

// The dialog's result does not matter: after Cancel too the window is
// repainted and the clock timer follows the setting.
void OpenSettings() {
    DialogBoxParamW(gInstance, MAKEINTRESOURCEW(IDD_SETTINGS), gMainWindow, SettingsDialog, 0);
    RedrawWindow(gMainWindow, nullptr, nullptr, RDW_INVALIDATE);
    if (gSchedule.actionKind != 0) {
        if (gSettings.showClock != 0) {
            SetTimer(gMainWindow, IDT_CLOCK, 1000, nullptr);
        } else {
            KillTimer(gMainWindow, IDT_CLOCK);
        }
    }
}

// A pending schedule stays armed while the dialog is open; OK replaces it.
void OpenSchedule() {
    if (DialogBoxParamW(gInstance, MAKEINTRESOURCEW(IDD_SCHEDULE), gMainWindow, ScheduleDialog,
                        0) == 1) {
        ArmScheduleTimers();
    }
}

}  // namespace

void HandleCommand(int id) {
    for (const ConfirmedAction& action : kConfirmedActions) {
        if (action.id == id) {
            RunConfirmedAction(action);
            return;
        }
    }
    switch (id) {
        case IDM_EXIT:
            // Closing always asks, whatever the settings say.
            SendMessageA(gMainWindow, WM_CLOSE, 0, 0);
            break;
        case IDM_ABOUT:
            DialogBoxParamW(gInstance, MAKEINTRESOURCEW(IDD_ABOUT), gMainWindow, AboutDialog, 0);
            break;
        case IDM_SCHEDULE:
            OpenSchedule();
            break;
        case IDM_SETTINGS:
            OpenSettings();
            break;
        case IDM_CANCEL_ACTION:
            CancelAction();
            break;
        case IDM_WINDOWS_VERSION:
            DialogBoxParamW(gInstance, MAKEINTRESOURCEW(IDD_WINDOWS_VERSION), gMainWindow,
                            WindowsVersionDialog, 0);
            break;
        case IDM_HELP:
            // Whatever the shell says when the page cannot be opened is its own.
            ShellExecuteA(gMainWindow, "open", ".\\data\\readme.html", nullptr, nullptr, SW_SHOW);
            break;
        default:
            break;
    }
}
