// The power primitives, the privilege step, the clearing of the schedule and
// the executor of a scheduled action.  Main thread only.
#pragma once

void LockStation();
int EnableSessionEndPrivilege();
void LogOffSession();
void RestartComputer();
void PowerOffComputer();
int HibernateComputer();
int StandbyComputer();
int TurnMonitorOff();
int StartScreenSaver();
void ShowTimedReminder();

// Forgets the pending schedule, stops its stage timer (and with it the clock
// timer) and repaints the main window.  Always 1.
int ClearSchedule();

// Carries the scheduled action out when its time has come.
void ExecuteScheduledAction();
