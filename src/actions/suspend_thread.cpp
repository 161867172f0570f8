// The suspension thread; see suspend_thread.h.
#include "actions/suspend_thread.h"

#include <cstdlib>

#include "actions/action_kind.h"
#include "actions/power_requests.h"
#include "actions/suspension.h"
#include "actions/wake_delay.h"
#include "base/ids.h"

namespace {

// Everything the thread needs, copied on the main thread: the thread reads
// nothing that the window's thread writes.  Owned and freed by the thread.
struct Job {
    SuspensionOrder order;
    HWND window;  // told when it is over
};

// How long the thread may wait for an armed timer after the resume: its whole
// delay and a minute more.  The wait never outlasts a timer that does not come.
DWORD TimerWaitBound(int32_t delaySeconds) {
    // At most 2678460000 ms for the longest delay: within a DWORD.
    return (static_cast<DWORD>(delaySeconds) + 60u) * 1000u;
}

// After a scheduled hibernate or standby, the wake-up: the timer armed first,
// then the suspension, forced and with wake events allowed.
void SuspendAndWakeUp(const SuspensionOrder& order) {
    // The handle stays with this thread.
    HANDLE timer = power::CreateWakeTimer();
    const bool armed =
        timer != nullptr && power::ArmWakeTimer(timer, WakeDueTime(order.delaySeconds)) != FALSE;

    // Returns once the machine has resumed, or at once when refused.  Without
    // a suspension to ask for, the arming alone decides.
    bool goOn = armed;
    if (order.actionKind == kActionStandby) {
        goOn = RequestSuspension(false, true, false);
    } else if (order.actionKind == kActionHibernate) {
        goOn = RequestSuspension(true, true, false);
    }
    if (!goOn) {
        ExitProcess(3);  // silently; the schedule is left as it is
    }

    if (armed) {
        // Woken by the timer this returns at once; woken earlier by something
        // else, the thread waits off the due time first.
        WaitForSingleObject(timer, TimerWaitBound(order.delaySeconds));
        power::ArmWakeTimer(timer, 0);
    }
    if (timer != nullptr) {
        CancelWaitableTimer(timer);
        CloseHandle(timer);
    }
    // Woken by a timer and not by the user, the machine goes back to sleep
    // after two idle minutes or so unless a program says it is in use.  Said
    // once, not continuously: the user's own idle settings apply from here on.
    // Windows 2000 and XP take that only as a user present, which holds while
    // this thread keeps it; later versions refuse that flag.
    bool held = false;
    if (order.userPresent) {
        held = power::StayAwake(ES_USER_PRESENT | ES_CONTINUOUS | ES_SYSTEM_REQUIRED |
                                ES_DISPLAY_REQUIRED) != FALSE;
    }
    if (!held) {
        power::StayAwake(ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED);
    }

    Sleep(3000);
    if (held) {
        power::StayAwake(ES_CONTINUOUS);  // the thread's state ends with it
    }
}

DWORD WINAPI SuspensionThread(LPVOID parameter) {
    const Job job = *static_cast<Job*>(parameter);
    std::free(parameter);

    WPARAM succeeded = 1;
    if (job.order.wakeUp) {
        SuspendAndWakeUp(job.order);
    } else {
        // Not forced, wake events off: the window's own hibernate and standby.
        succeeded = RequestSuspension(job.order.actionKind == kActionHibernate, false, true) ? 1 : 0;
    }
    PostMessageA(job.window, WM_SUSPENSION_DONE, succeeded, 0);
    return 0;
}

}  // namespace

bool StartSuspensionThread(const SuspensionOrder& order, HWND window) {
    auto* job = static_cast<Job*>(std::malloc(sizeof(Job)));
    if (job == nullptr) return false;
    *job = Job{order, window};
    HANDLE thread = power::StartSuspensionThread(SuspensionThread, job);
    if (thread == nullptr) {
        std::free(job);
        return false;
    }
    CloseHandle(thread);  // never waited for; it ends by itself
    return true;
}
