// The main window's timers that watch the clock for a pending schedule, and
// the one-second clock timer that repaints the status display.
#pragma once

// Starts watching a newly committed schedule, or carries it out at once when
// it is to be applied immediately.
void ArmScheduleTimers();

// Handles every WM_TIMER of the main window; unknown ids are ignored.
void HandleScheduleTimer(int timerId);

// Looks at a pending schedule again after the wall clock has moved (the time
// was set, daylight saving, a resume): the stage timers wait off elapsed time
// and would not notice.  A countdown keeps running as it is.
void ReplanScheduleTimers();
