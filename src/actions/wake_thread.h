// The wake-up after a scheduled hibernate or standby.  A second thread arms a
// waitable timer that resumes the machine, suspends it, waits off the due time
// after the resume, keeps the machine from going straight back to sleep and
// pauses three seconds; the schedule is then cleared on the main thread, which
// the thread tells with WM_WAKE_DONE.
#pragma once

#include <windows.h>

// Main thread.  Clamps the pending schedule's `wakeDelaySeconds` (see
// ClampWakeDelay) and stores it back, then starts the wake-up thread for that
// kind and delay and returns at once.  The schedule stays pending; the thread
// never touches it.  False when the thread cannot be started.
bool StartWakeTimerThread();

// Main thread, on WM_WAKE_DONE: clears the schedule, unless it has been
// cleared since the thread that sent `generation` was started.
void FinishWakeUp(WPARAM generation);
