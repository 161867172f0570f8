// The one narrow seam through which the program asks the system to lock, end
// the session, power off or suspend the machine, switch the monitor off or
// start the screen saver, arm the timer that wakes the machine up again and
// keep it awake after that, and takes the shutdown privilege; the suspension
// thread is started through it too, and the notification-area icon added, so
// that a test can refuse either, as a taskbar not yet there refuses the icon.  The
// product links power_requests_win32.cpp, which makes the real calls; the
// tests link a probe that records each request and answers as a test tells it
// to, so that no test ever performs one.
#pragma once

#include <windows.h>
#include <shellapi.h>

namespace power {

// LockWorkStation().
BOOL Lock();

// ExitWindowsEx(flags, 0): EWX_LOGOFF, EWX_REBOOT or EWX_POWEROFF.
BOOL ExitSession(UINT flags);

// SetSuspendState(hibernate, forceCritical, disableWakeEvent).
BOOLEAN Suspend(BOOLEAN hibernate, BOOLEAN forceCritical, BOOLEAN disableWakeEvent);

// CreateThread(NULL, 0, routine, parameter, 0, NULL): the suspension thread;
// NULL when it cannot be made.  The caller closes the handle.
HANDLE StartSuspensionThread(LPTHREAD_START_ROUTINE routine, LPVOID parameter);

// CreateWaitableTimerA(NULL, TRUE, NULL): an unnamed manual-reset timer for the
// wake-up; NULL when it cannot be made.
HANDLE CreateWakeTimer();

// SetWaitableTimer(timer, dueTime, 0, NULL, NULL, TRUE): arms the timer once,
// so that its expiry resumes the machine from standby or hibernation.  A
// negative due time counts in 100 ns units from now; 0 is already past.
BOOL ArmWakeTimer(HANDLE timer, LONGLONG dueTime);

// SetThreadExecutionState(flags): with ES_SYSTEM_REQUIRED and
// ES_DISPLAY_REQUIRED, tells the system once that the machine is in use, which
// resets its idle timers.  FALSE when the system refuses.
BOOL StayAwake(EXECUTION_STATE flags);

// PostMessageA(HWND_BROADCAST, WM_SYSCOMMAND, command, lParam): SC_MONITORPOWER
// with 2 switches the monitors off, SC_SCREENSAVE with 0 starts the saver.
BOOL BroadcastSysCommand(WPARAM command, LPARAM lParam);

// Shell_NotifyIconA(message, data): adds, changes or deletes the
// notification-area icon.
BOOL NotifyIcon(DWORD message, NOTIFYICONDATAA* data);

// How long to wait before the icon that the shell refused is tried again: a
// few seconds (the probe waits less, so that a test sees a whole round of
// tries).
UINT TrayRetryMs();

// Enables SeShutdownPrivilege in the process token: OpenProcessToken,
// LookupPrivilegeValueA, AdjustTokenPrivileges.  Returns what the last step
// returned; a privilege the account does not hold still counts as success.
BOOL EnableShutdownPrivilege();

}  // namespace power
