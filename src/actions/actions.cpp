#include "actions/actions.h"

#include <windows.h>

#include "actions/action_kind.h"
#include "actions/power_requests.h"
#include "actions/suspend_thread.h"
#include "actions/suspension.h"
#include "actions/wake_delay.h"
#include "base/ids.h"
#include "base/os_level.h"
#include "base/wide_text.h"
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

void ReportSuspendFailure(HWND window, const char* text) {
    ShowWindow(window, SW_RESTORE);
    ShowError(window, text);
}

// The suspension the thread is carrying out, if any: at most one at a time.
struct Suspension {
    bool underWay;
    bool wakeUp;
    uint32_t generation;     // gScheduleClearings when it began
    const char* refusedText;
} suspension = {};

// Hands a suspension to its thread; false when the thread cannot start.
bool HandOver(HWND window, const SuspensionOrder& order, const char* refusedText) {
    if (!StartSuspensionThread(order, window)) return false;
    suspension = {true, order.wakeUp, gScheduleClearings, refusedText};
    return true;
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

int HibernateComputer() { return RequestSuspension(true, false, true) ? 1 : 0; }

int StandbyComputer() { return RequestSuspension(false, false, true) ? 1 : 0; }

void SuspendFromWindow(HWND window, int32_t actionKind, const char* refusedText) {
    if (suspension.underWay) return;  // the machine is on its way down already
    // Without its thread the suspension never happens: reported as refused.
    if (!HandOver(window, SuspensionOrder{actionKind, false, 0, false}, refusedText)) {
        ReportSuspendFailure(window, refusedText);
    }
}

void FinishSuspension(HWND window, WPARAM succeeded) {
    if (!suspension.underWay) return;
    const Suspension done = suspension;
    suspension.underWay = false;
    if (done.wakeUp) {
        // A schedule that the user cancelled, or cancelled and replaced with
        // a new one, while the machine slept is not the suspension's: every
        // such change went through ClearSchedule, so a changed count spares
        // the schedule now pending.
        if (done.generation == gScheduleClearings) ClearSchedule(window);
    } else if (succeeded == 0) {
        ReportSuspendFailure(window, done.refusedText);
    }
}

int TurnMonitorOff() {
    power::BroadcastSysCommand(SC_MONITORPOWER, 2);
    return 1;
}

int StartScreenSaver() {
    power::BroadcastSysCommand(SC_SCREENSAVE, 0);
    return 1;
}

void ShowTimedReminder(HWND window) {
    ShowWindow(window, SW_RESTORE);
    MessageBoxCp(window, "Časované upozornění od programu Halvexor !", "Upozornění",
                MB_ICONWARNING);
}

int ClearSchedule(HWND window) {
    ++gScheduleClearings;
    ResetScheduleRecord(gSchedule);
    if (gSchedule.timerStage != 0) {
        KillTimer(window, static_cast<UINT_PTR>(gSchedule.timerStage));
        gSchedule.timerStage = 0;
    }
    // With nothing pending the clock has nothing to count down, also when a
    // stage had already fired or the schedule was the suspension thread's.
    KillTimer(window, IDT_CLOCK);
    // Without a window there is nothing to repaint; a null handle would
    // repaint the whole desktop instead.
    if (window != nullptr) {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE);
    }
    return 1;
}

void ExecuteScheduledAction(HWND window) {
    // A hibernate or standby with a wake-up time is the wake-up thread's; the
    // schedule stays pending until the thread reports the machine awake again.
    if (gSchedule.wakeEnabled == 1) {
        const int32_t kind = gSchedule.actionKind;
        gSchedule.wakeDelaySeconds = ClampWakeDelay(gSchedule.wakeDelaySeconds, kind);
        const SuspensionOrder order{kind, true, gSchedule.wakeDelaySeconds,
                                    WakeUpNeedsUserPresent(gOsVersion)};
        // The action is under way: a warning now would come after it, and be
        // on the screen when the machine wakes.
        gSchedule.warningShown = 1;
        if (suspension.underWay) {
            ClearSchedule(window);  // the machine is on its way down already
        } else if (!HandOver(window, order, nullptr)) {
            // Reported and cleared as a suspension the system refused.  Only
            // hibernate and standby carry a wake-up.
            ClearSchedule(window);
            ReportSuspendFailure(window, kind == kActionStandby ? kScheduledStandbyRefused
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
            ClearSchedule(window);
            ShowTimedReminder(window);
            break;
        case kActionLock:
            ClearSchedule(window);
            LockStation();
            break;
        case kActionScreenSaver:
            ClearSchedule(window);
            StartScreenSaver();
            break;
        case kActionMonitorOff:
            ClearSchedule(window);
            TurnMonitorOff();
            break;
        case kActionHibernate:
            ClearSchedule(window);
            SuspendFromWindow(window, kind, kScheduledHibernateRefused);
            break;
        case kActionStandby:
            ClearSchedule(window);
            SuspendFromWindow(window, kind, kScheduledStandbyRefused);
            break;
        default:
            SendMessageA(window, WM_DESTROY, 0, 0);
            break;
    }
}
