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

// The window's hibernate (kActionHibernate) or standby: asked for on the
// suspension thread, so that the window goes on answering meanwhile.  A
// refusal restores the window and shows `refusedText`, owned by it, once the
// thread has reported (FinishSuspension).  Ignored while another suspension
// is under way.
void SuspendFromWindow(HWND window, int32_t actionKind, const char* refusedText);

// On WM_SUSPENSION_DONE: reports a refused suspension, or clears the schedule
// of a wake-up, unless it has been cleared since the wake-up began.
void FinishSuspension(HWND window, WPARAM succeeded);

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
