#include "app/commands.h"

#include <windows.h>
#include <shellapi.h>

#include "actions/action_kind.h"
#include "actions/actions.h"
#include "base/data_folder.h"
#include "base/ids.h"
#include "base/wide_text.h"
#include "dialogs/info_dialogs.h"
#include "schedule/schedule_dialog.h"
#include "schedule/schedule_state.h"
#include "schedule/trigger_timers.h"
#include "settings/settings_dialog.h"
#include "settings/settings_file.h"

namespace {

// The program's own module, which holds the dialog templates.
HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

bool Ask(HWND window, const char* question) {
    return MessageBoxCp(window, question, "Halvexor", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// An immediate action: the question when the settings ask for one, the
// pending schedule cleared first whatever follows, then the primitive once.
struct ConfirmedAction {
    int id;
    const char* question;
    void (*run)(HWND window, bool asked);
};

// Hibernate and standby are reported when the suspension thread comes back
// refused; the refusal's text tells whether the question had been asked.
void Hibernate(HWND window, bool asked) {
    SuspendFromWindow(window, kActionHibernate,
                      asked ? "Chyba - nelze systém uvést do stavu hibernace !\nChyba : ER-WPM01-004"
                            : "Chyba - nelze systém uvést do stavu hibernace !\nChyba : ER-WPM01-003");
}

void Standby(HWND window, bool asked) {
    SuspendFromWindow(
        window, kActionStandby,
        asked ? "Chyba - nelze systém uvést do stavu úsporného režimu !\nChyba : ER-WPM01-002"
              : "Chyba - nelze systém uvést do stavu úsporného režimu !\nChyba : ER-WPM01-001");
}

const ConfirmedAction kConfirmedActions[] = {
    {IDM_LOG_OFF, "Opravdu odhlásit ?", [](HWND, bool) { LogOffSession(); }},
    {IDM_POWER_OFF, "Opravdu vypnout ?", [](HWND, bool) { PowerOffComputer(); }},
    {IDM_RESTART, "Opravdu restartovat ?", [](HWND, bool) { RestartComputer(); }},
    {IDM_LOCK, "Opravdu zamknout ?", [](HWND, bool) { LockStation(); }},
    {IDM_HIBERNATE, "Opravdu hibernovat ?", Hibernate},
    {IDM_STANDBY, "Opravdu přepnout do úsporného režimu ?", Standby},
    {IDM_MONITOR_OFF, "Opravdu vypnout monitor ?", [](HWND, bool) { TurnMonitorOff(); }},
    // The missing háčky are the program's own text.
    {IDM_SCREEN_SAVER, "Opravdu se má spustit sporic obrazovky ?", [](HWND, bool) { StartScreenSaver(); }},
};

void RunConfirmedAction(HWND window, const ConfirmedAction& action) {
    const bool asks = gSettings.askConfirmation == 1;
    if (asks && !Ask(window, action.question)) {
        return;
    }
    ClearSchedule(window);
    action.run(window, asks);
}

void CancelAction(HWND window) {
    if (gSettings.askConfirmation == 1 && !Ask(window, "Opravdu zrušit akci ?")) {
        return;
    }
    ClearSchedule(window);
}

// The dialog's result does not matter: after Cancel too the window is
// repainted and the clock timer follows the setting.
void OpenSettings(HWND window) {
    DialogBoxParamW(Instance(), MAKEINTRESOURCEW(IDD_SETTINGS), window, SettingsDialog, 0);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE);
    if (gSchedule.actionKind != 0) {
        if (gSettings.showClock != 0) {
            SetTimer(window, IDT_CLOCK, 1000, nullptr);
        } else {
            KillTimer(window, IDT_CLOCK);
        }
    }
}

// A pending schedule stays armed while the dialog is open; OK replaces it.
void OpenSchedule(HWND window) {
    if (DialogBoxParamW(Instance(), MAKEINTRESOURCEW(IDD_SCHEDULE), window, ScheduleDialog,
                        reinterpret_cast<LPARAM>(window)) == 1) {
        ArmScheduleTimers(window);
    }
}

}  // namespace

void HandleCommand(HWND window, int id) {
    for (const ConfirmedAction& action : kConfirmedActions) {
        if (action.id == id) {
            RunConfirmedAction(window, action);
            return;
        }
    }
    switch (id) {
        case IDM_EXIT:
            // Closing always asks, whatever the settings say.
            SendMessageA(window, WM_CLOSE, 0, 0);
            break;
        case IDM_ABOUT:
            DialogBoxParamW(Instance(), MAKEINTRESOURCEW(IDD_ABOUT), window, AboutDialog, 0);
            break;
        case IDM_SCHEDULE:
            OpenSchedule(window);
            break;
        case IDM_SETTINGS:
            OpenSettings(window);
            break;
        case IDM_CANCEL_ACTION:
            CancelAction(window);
            break;
        case IDM_WINDOWS_VERSION:
            DialogBoxParamW(Instance(), MAKEINTRESOURCEW(IDD_WINDOWS_VERSION), window,
                            WindowsVersionDialog, 0);
            break;
        case IDM_HELP: {
            // Whatever the shell says when the page cannot be opened is its own.
            char page[kDataPathCapacity];
            ShellExecuteA(window, "open", DataFilePath("readme.html", page), nullptr, nullptr, SW_SHOW);
            break;
        }
        default:
            break;
    }
}
