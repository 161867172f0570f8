#include "actions/actions.h"

#include <windows.h>

#include "actions/action_kind.h"
#include "actions/power_requests.h"
#include "actions/wake_thread.h"
#include "app/ids.h"
#include "app/main_window.h"
#include "app/os_level.h"
#include "app/wide_text.h"
#include "schedule/schedule_state.h"

namespace {

void ShowError(HWND owner, const char* text) { MessageBoxCp(owner, text, "Chyba", MB_ICONERROR); }

// Restart and shut down: the privilege first in the NT band, directly in the
// old band, refused elsewhere.  The request's own result is not looked at.
void RequestShutdown(UINT flags, const char* refusedText) {
    switch (ShutdownRouteFor(gOsLevel)) {
        case ShutdownRoute::WithPrivilege:
            if (EnableSessionEndPrivilege()) {
                power::ExitSession(flags);
            }
            break;
        case ShutdownRoute::Direct:
            power::ExitSession(flags);
            break;
        case ShutdownRoute::Refused:
            ShowError(nullptr, refusedText);
            break;
    }
}

const char kScheduledHibernateRefused[] =
    "Chyba - nelze systém uvést do stavu hibernace !\nChyba : ER-PA01-001";
const char kScheduledStandbyRefused[] =
    "Chyba - nelze systém uvést do stavu úsporného režimu !\nChyba : ER-PA01-002";

void ReportScheduledSuspendFailure(const char* text) {
    ShowWindow(gMainWindow, SW_RESTORE);
    ShowError(gMainWindow, text);
}

}  // namespace

uint32_t gScheduleClearings = 0;

void LockStation() {
    if (!power::Lock()) {
        ShowError(nullptr, "Nepodařilo se zamknout stanici !\nChyba : ER-ZPC01-001");
    }
}

int EnableSessionEndPrivilege() { return power::EnableShutdownPrivilege() ? 1 : 0; }

void LogOffSession() {
    if (EnableSessionEndPrivilege()) {
        power::ExitSession(EWX_LOGOFF);
    }
}

void RestartComputer() {
    RequestShutdown(EWX_REBOOT, "Nepodařilo se restarovat počítač !\nChyba : ER-RW01-001");
}

void PowerOffComputer() {
    RequestShutdown(EWX_POWEROFF, "Nepodařilo se vypnout počítač !\nChyba : ER-UW01-001");
}

bool RequestSuspension(bool hibernate, bool forceCritical, bool disableWakeEvents) {
    power::EnableShutdownPrivilege();
    return power::Suspend(hibernate, forceCritical, disableWakeEvents) != FALSE;
}

// Both return only after the machine has resumed, or at once on refusal.
int HibernateComputer() { return RequestSuspension(true, false, true) ? 1 : 0; }

int StandbyComputer() { return RequestSuspension(false, false, true) ? 1 : 0; }

int TurnMonitorOff() {
    power::BroadcastSysCommand(SC_MONITORPOWER, 2);
    return 1;
}

int StartScreenSaver() {
    power::BroadcastSysCommand(SC_SCREENSAVE, 0);
    return 1;
}

void ShowTimedReminder() {
    ShowWindow(gMainWindow, SW_RESTORE);
    MessageBoxCp(gMainWindow, "Časované upozornění od programu Halvexor !", "Upozornění",
                MB_ICONWARNING);
}

int ClearSchedule() {
    ++gScheduleClearings;
    ResetScheduleRecord(gSchedule);
    if (gSchedule.timerStage != 0) {
        KillTimer(gMainWindow, static_cast<UINT_PTR>(gSchedule.timerStage));
        gSchedule.timerStage = 0;
        KillTimer(gMainWindow, IDT_CLOCK);
    }
    // Without a window there is nothing to repaint; a null handle would
    // repaint the whole desktop instead.
    if (gMainWindow != nullptr) {
        RedrawWindow(gMainWindow, nullptr, nullptr, RDW_INVALIDATE);
    }
    return 1;
}

void ExecuteScheduledAction() {
    // A hibernate or standby with a wake-up time is the wake-up thread's; the
    // schedule stays pending until the thread reports the machine awake again.
    if (gSchedule.wakeEnabled == 1) {
        const int32_t kind = gSchedule.actionKind;
        if (!StartWakeTimerThread()) {
            // Without its thread the suspension never happens: reported and
            // cleared as one the system refused.  Only hibernate and standby
            // carry a wake-up.
            ClearSchedule();
            ReportScheduledSuspendFailure(kind == kActionStandby ? kScheduledStandbyRefused
                                                                 : kScheduledHibernateRefused);
        }
        return;
    }

    // Log off, restart and shut down keep the rest of the record while the
    // system goes down; the program then ends through the destroy handling.
    int32_t kind = gSchedule.actionKind;
    if (kind == kActionLogOff) {
        gSchedule.actionKind = kActionNone;
        LogOffSession();
        kind = gSchedule.actionKind;
    }
    if (kind == kActionRestart) {
        gSchedule.actionKind = kActionNone;
        RestartComputer();
        kind = gSchedule.actionKind;
    }
    if (kind == kActionPowerOff) {
        gSchedule.actionKind = kActionNone;
        PowerOffComputer();
        kind = gSchedule.actionKind;
    }

    switch (kind) {
        case kActionReminder:
            ClearSchedule();
            ShowTimedReminder();
            break;
        case kActionLock:
            ClearSchedule();
            LockStation();
            break;
        case kActionScreenSaver:
            ClearSchedule();
            StartScreenSaver();
            break;
        case kActionMonitorOff:
            ClearSchedule();
            TurnMonitorOff();
            break;
        case kActionHibernate:
            ClearSchedule();
            if (!HibernateComputer()) {
                ReportScheduledSuspendFailure(kScheduledHibernateRefused);
            }
            break;
        case kActionStandby:
            ClearSchedule();
            if (!StandbyComputer()) {
                ReportScheduledSuspendFailure(kScheduledStandbyRefused);
            }
            break;
        default:
            SendMessageA(gMainWindow, WM_DESTROY, 0, 0);
            break;
    }
}
