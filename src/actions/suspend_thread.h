// The suspension thread: every hibernate and standby that the window asks
// for, with a wake-up or without, is requested here and not on the window's
// thread.  Windows 2000 and XP ask every top-level window before a suspension
// that is not forced and wait for it up to 20 s; a window whose own thread is
// inside the request could not answer.
//
// With a wake-up the thread arms a waitable timer that resumes the machine,
// suspends it, waits off the due time after the resume, keeps the machine
// from going straight back to sleep and pauses three seconds.  It tells the
// window with WM_SUSPENSION_DONE; it never touches the schedule or the window
// itself.
#pragma once

#include <windows.h>

#include <cstdint>

struct SuspensionOrder {
    int32_t actionKind;     // kActionHibernate or kActionStandby
    bool wakeUp;            // arm the resume timer first, and force the suspension
    int32_t delaySeconds;   // with a wake-up: already clamped (see ClampWakeDelay)
    bool userPresent;       // with a wake-up: say so after it (see WakeUpNeedsUserPresent)
};

// What a WM_SUSPENSION_DONE says in its wParam; its lParam is the `ticket`
// the thread was started with.
enum : WPARAM {
    kSuspensionRefused = 0,   // the system refused; the thread is over
    kSuspensionOver = 1,      // done, a wake-up's wait and pause included; the thread is over
    kSuspensionReturned = 2,  // a wake-up's request has returned, the machine is awake;
                              // its wait goes on and kSuspensionOver follows
};

// Main thread.  Starts the thread for `order` and returns at once; the
// thread posts its reports to `window`, each with `ticket` as the lParam.
// False when the thread cannot be started.
bool StartSuspensionThread(const SuspensionOrder& order, HWND window, LPARAM ticket);
