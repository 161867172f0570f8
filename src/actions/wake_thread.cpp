// The wake-up thread; see wake_thread.h.
#include "actions/wake_thread.h"

#include <cstdint>
#include <cstdlib>

#include "actions/action_kind.h"
#include "actions/actions.h"
#include "actions/power_requests.h"
#include "actions/wake_delay.h"
#include "app/ids.h"
#include "app/main_window.h"
#include "schedule/schedule_state.h"

namespace {

// Everything the thread needs, copied on the main thread: the thread reads
// nothing of the shared schedule.  Owned and freed by the thread.
struct WakeRequest {
    int32_t actionKind;
    int32_t delaySeconds;    // already clamped
    uint32_t generation;     // gScheduleClearings when the thread was started
    HWND window;             // told when the wake-up is over
};

// How long the thread may wait for an armed timer after the resume: its whole
// delay and a minute more.  The wait never outlasts a timer that does not come.
DWORD TimerWaitBound(int32_t delaySeconds) {
    // At most 2678460000 ms for the longest delay: within a DWORD.
    return (static_cast<DWORD>(delaySeconds) + 60u) * 1000u;
}

DWORD WINAPI WakeTimerThread(LPVOID parameter) {
    const WakeRequest request = *static_cast<WakeRequest*>(parameter);
    std::free(parameter);

    // The handle stays with this thread: a second wake-up started meanwhile has
    // its own.
    HANDLE timer = power::CreateWakeTimer();
    const bool armed =
        timer != nullptr && power::ArmWakeTimer(timer, WakeDueTime(request.delaySeconds)) != FALSE;

    // Returns once the machine has resumed, or at once when refused.  Without
    // a suspension to ask for, the arming alone decides.
    bool goOn = armed;
    if (request.actionKind == kActionStandby) {
        goOn = RequestSuspension(false, true, false);
    } else if (request.actionKind == kActionHibernate) {
        goOn = RequestSuspension(true, true, false);
    }
    if (!goOn) {
        ExitProcess(3);  // silently; the schedule is left as it is
    }

    if (armed) {
        // Woken by the timer this returns at once; woken earlier by something
        // else, the thread waits off the due time first.
        WaitForSingleObject(timer, TimerWaitBound(request.delaySeconds));
        power::ArmWakeTimer(timer, 0);
    }
    if (timer != nullptr) {
        CancelWaitableTimer(timer);
        CloseHandle(timer);
    }
    // Woken by a timer and not by the user, the machine goes back to sleep
    // after two idle minutes or so unless a program says it is in use.  Said
    // once, not continuously: the user's own idle settings apply from here on.
    power::StayAwake(ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED);

    Sleep(3000);
    PostMessageA(request.window, WM_WAKE_DONE, static_cast<WPARAM>(request.generation), 0);
    return 0;
}

}  // namespace

bool StartWakeTimerThread() {
    gSchedule.wakeDelaySeconds = ClampWakeDelay(gSchedule.wakeDelaySeconds, gSchedule.actionKind);
    auto* request = static_cast<WakeRequest*>(std::malloc(sizeof(WakeRequest)));
    if (request == nullptr) return false;
    *request = WakeRequest{gSchedule.actionKind, gSchedule.wakeDelaySeconds, gScheduleClearings,
                           gMainWindow};
    HANDLE thread = power::StartWakeThread(WakeTimerThread, request);
    if (thread == nullptr) {
        std::free(request);
        return false;
    }
    CloseHandle(thread);  // never waited for; it ends by itself
    return true;
}

void FinishWakeUp(WPARAM generation) {
    // A schedule that the user cancelled, or cancelled and replaced with a new
    // one, while the machine slept is not the suspension's: every such change
    // went through ClearSchedule, so a changed count spares the schedule now
    // pending.
    if (static_cast<uint32_t>(generation) == gScheduleClearings) {
        ClearSchedule();
    }
}
