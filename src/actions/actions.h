// The power primitives, the privilege step, the clearing of the schedule and
// the executor of a scheduled action.  Main thread only; `window` is the main
// window, which owns the boxes, the schedule's timers and the clock panel.
#pragma once

#include <windows.h>

#include <cstdint>

void LockStation();
int EnableSessionEndPrivilege();
void LogOffSession();
void RestartComputer();
void PowerOffComputer();
// The quick actions' hibernate and standby, where there is no window: they
// return only after the machine has resumed, or at once when refused.
int HibernateComputer();
int StandbyComputer();

// The window's hibernate (kActionHibernate) or standby: asked for on a
// suspension thread, so that the window goes on answering meanwhile.  A
// refusal restores the window and shows `refusedText`, owned by it, once the
// thread has reported (FinishSuspension).  While another suspension's call is
// under way it waits for that call to return, then goes ahead.
void SuspendFromWindow(HWND window, int32_t actionKind, const char* refusedText);

// On WM_SUSPENSION_DONE (`report` and `ticket` are its wParam and lParam):
// starts the request that waits for the call that has returned, reports a
// refused suspension (a wake-up's schedule cleared), and clears the schedule
// of a finished wake-up, unless it has been cleared since the wake-up began.
void FinishSuspension(HWND window, WPARAM report, LPARAM ticket);

int TurnMonitorOff();
int StartScreenSaver();
void ShowTimedReminder(HWND window);

// Forgets the pending schedule, stops its stage timer and the clock timer and
// repaints the main window.  Always 1.
int ClearSchedule(HWND window);

// How many times ClearSchedule has run.  A schedule is only ever replaced or
// cancelled through a ClearSchedule, so an unchanged count means that the
// schedule pending then is still the one pending now.
extern uint32_t gScheduleClearings;

// Carries the scheduled action out when its time has come.  With a wake-up
// time it only hands the action to the suspension thread and leaves the
// schedule pending until the thread reports the machine awake again.
void ExecuteScheduledAction(HWND window);
