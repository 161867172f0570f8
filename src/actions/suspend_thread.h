// The suspension thread: every hibernate and standby that the window asks
// for, with a wake-up or without, is requested here and not on the window's
// thread.  Windows 2000 and XP ask every top-level window before a suspension
// that is not forced and wait for it up to 20 s; a window whose own thread is
// inside the request could not answer.
//
// With a wake-up the thread arms a waitable timer that resumes the machine,
// suspends it, waits off the due time after the resume, keeps the machine
// from going straight back to sleep and pauses three seconds.  Either way it
// then tells the window with WM_SUSPENSION_DONE; it never touches the
// schedule or the window itself.
#pragma once

#include <windows.h>

#include <cstdint>

struct SuspensionOrder {
    int32_t actionKind;     // kActionHibernate or kActionStandby
    bool wakeUp;            // arm the resume timer first, and force the suspension
    int32_t delaySeconds;   // with a wake-up: already clamped (see ClampWakeDelay)
    bool userPresent;       // with a wake-up: say so after it (see WakeUpNeedsUserPresent)
};

// Main thread.  Starts the thread for `order` and returns at once; the
// thread posts WM_SUSPENSION_DONE to `window` when it is over, wParam 1, or 0
// when the system refused a suspension without a wake-up.  A refused wake-up
// ends the program with exit code 3.  False when the thread cannot be started.
bool StartSuspensionThread(const SuspensionOrder& order, HWND window);
