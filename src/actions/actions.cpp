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
    MessageBoxCp(window, text, "Chyba", MB_ICONERROR | kRaisedBoxStyle);
}

// The hibernates and standbys the window has asked for, one a slot.  Only
// the system's call itself holds the next one back: a slot that is Calling,
// from the hand-over until the system's call returns (at once when refused,
// after the machine has slept otherwise), makes every later request wait in
// its slot until then, as it waited in the window's queue when the window's
// own thread made the call; then the oldest goes ahead.  A wake-up's wait for
// its timer and its pause after it (Waking) hold nothing back.
struct Suspension {
    enum State { Free, Waiting, Calling, Waking } state;
    SuspensionOrder order;
    const char* refusedText;  // shown when the system refuses
    uint32_t generation;      // gScheduleClearings when it was asked for
    uint32_t turn;            // waiting requests go in the order they came
};
const int kSuspensionSlots = 8;
Suspension suspensions[kSuspensionSlots] = {};
uint32_t nextTurn = 0;

// A refused suspension, or one whose thread could not start: reported; a
// wake-up's schedule is cleared unless it has been replaced or cancelled
// since.
void ReportRefused(HWND window, const Suspension& refused) {
    if (refused.order.wakeUp && refused.generation == gScheduleClearings) ClearSchedule(window);
    ReportSuspendFailure(window, refused.refusedText);
}

bool CallUnderWay() {
    for (const Suspension& s : suspensions) {
        if (s.state == Suspension::Calling) return true;
    }
    return false;
}

// Starts the request that has waited longest, unless a call is under way.  A
// wake-up whose schedule was cancelled or replaced meanwhile is not asked for.
void StartNextWaiting(HWND window) {
    while (!CallUnderWay()) {
        Suspension* next = nullptr;
        for (Suspension& s : suspensions) {
            if (s.state == Suspension::Waiting &&
                (next == nullptr || nextTurn - s.turn > nextTurn - next->turn)) {
                next = &s;
            }
        }
        if (next == nullptr) return;
        if (next->order.wakeUp && next->generation != gScheduleClearings) {
            next->state = Suspension::Free;
        } else if (StartSuspensionThread(next->order, window, next - suspensions)) {
            next->state = Suspension::Calling;
        } else {
            // Without its thread the suspension never happens: as refused.
            const Suspension refused = *next;
            next->state = Suspension::Free;
            ReportRefused(window, refused);
        }
    }
}

void RequestFromWindow(HWND window, const SuspensionOrder& order, const char* refusedText) {
    for (Suspension& s : suspensions) {
        if (s.state == Suspension::Free) {
            s = {Suspension::Waiting, order, refusedText, gScheduleClearings, nextTurn++};
            StartNextWaiting(window);
            return;
        }
    }
    // Eight at once are not waited for: said, not dropped.
    ReportRefused(window, {Suspension::Free, order, refusedText, gScheduleClearings, 0});
}

}  // namespace

uint32_t gScheduleClearings = 0;

void LockStation() {
    if (!power::Lock()) {
        // In front: a scheduled lock fails while the user works elsewhere.
        MessageBoxCp(nullptr, "Nepodařilo se zamknout stanici !\nChyba : ER-ZPC01-001", "Chyba",
                     MB_ICONERROR | kRaisedBoxStyle);
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
    RequestFromWindow(window, SuspensionOrder{actionKind, false, 0, false}, refusedText);
}

void FinishSuspension(HWND window, WPARAM report, LPARAM ticket) {
    if (ticket < 0 || ticket >= kSuspensionSlots) return;
    Suspension& s = suspensions[ticket];
    if (s.state != Suspension::Calling && s.state != Suspension::Waking) return;
    if (report == kSuspensionReturned) {
        s.state = Suspension::Waking;
        StartNextWaiting(window);
        return;
    }
    const Suspension done = s;
    s.state = Suspension::Free;
    StartNextWaiting(window);
    if (report == kSuspensionRefused) {
        ReportRefused(window, done);
    } else if (done.order.wakeUp && done.generation == gScheduleClearings) {
        // A schedule that the user cancelled, or cancelled and replaced with
        // a new one, while the machine slept is not the suspension's: every
        // such change went through ClearSchedule, so a changed count spares
        // the schedule now pending.
        ClearSchedule(window);
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
                 MB_ICONWARNING | kRaisedBoxStyle);
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
        RequestFromWindow(window, order,
                          kind == kActionStandby ? kScheduledStandbyRefused
                                                 : kScheduledHibernateRefused);
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
