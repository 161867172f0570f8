// The power primitives, the privilege step, the clearing of the schedule and
// the executor of a scheduled action.  Main thread only, but for
// RequestSuspension.
#pragma once

#include <cstdint>

void LockStation();
int EnableSessionEndPrivilege();
void LogOffSession();
void RestartComputer();
void PowerOffComputer();
int HibernateComputer();
int StandbyComputer();

// SetSuspendState, with SeShutdownPrivilege enabled first: the system asks
// that of its caller.  An account that cannot enable it is still asked, and
// the request's own answer decides.  Returns only after the machine has
// resumed, or at once when refused.  Also on the wake-up thread.
bool RequestSuspension(bool hibernate, bool forceCritical, bool disableWakeEvents);

int TurnMonitorOff();
int StartScreenSaver();
void ShowTimedReminder();

// Forgets the pending schedule, stops its stage timer (and with it the clock
// timer) and repaints the main window.  Always 1.
int ClearSchedule();

// How many times ClearSchedule has run.  A schedule is only ever replaced or
// cancelled through a ClearSchedule, so an unchanged count means that the
// schedule pending then is still the one pending now.
extern uint32_t gScheduleClearings;

// Carries the scheduled action out when its time has come.  With a wake-up
// time it only starts the wake-up thread and leaves the schedule pending.
void ExecuteScheduledAction();
