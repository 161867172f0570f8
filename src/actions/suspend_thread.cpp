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
    HWND window;    // told when the request has returned and when it is over
    LPARAM ticket;  // given back with every report
};

// How long the thread may wait for an armed timer after the resume: its whole
// delay and a minute more.  The wait never outlasts a timer that does not come.
DWORD TimerWaitBound(int32_t delaySeconds) {
    // At most 2678460000 ms for the longest delay: within a DWORD.
    return (static_cast<DWORD>(delaySeconds) + 60u) * 1000u;
}

// After a scheduled hibernate or standby, the wake-up: the timer armed first,
// then the suspension, forced and with wake events allowed.  False when the
// system refused the suspension: the timer is gone again and nothing waits.
bool SuspendAndWakeUp(const Job& job) {
    const SuspensionOrder& order = job.order;
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
        if (timer != nullptr) {
            CancelWaitableTimer(timer);
            CloseHandle(timer);
        }
        return false;
    }
    // The machine is awake: the window may ask for the next suspension while
    // this thread waits for its timer.
    PostMessageA(job.window, WM_SUSPENSION_DONE, kSuspensionReturned, job.ticket);

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
    return true;
}

DWORD WINAPI SuspensionThread(LPVOID parameter) {
    const Job job = *static_cast<Job*>(parameter);
    std::free(parameter);

    bool succeeded;
    if (job.order.wakeUp) {
        succeeded = SuspendAndWakeUp(job);
    } else {
        // Not forced, wake events off: the window's own hibernate and standby.
        succeeded = RequestSuspension(job.order.actionKind == kActionHibernate, false, true);
    }
    PostMessageA(job.window, WM_SUSPENSION_DONE, succeeded ? kSuspensionOver : kSuspensionRefused,
                 job.ticket);
    return 0;
}

}  // namespace

bool StartSuspensionThread(const SuspensionOrder& order, HWND window, LPARAM ticket) {
    auto* job = static_cast<Job*>(std::malloc(sizeof(Job)));
    if (job == nullptr) return false;
    *job = Job{order, window, ticket};
    HANDLE thread = power::StartSuspensionThread(SuspensionThread, job);
    if (thread == nullptr) {
        std::free(job);
        return false;
    }
    CloseHandle(thread);  // never waited for; it ends by itself
    return true;
}
