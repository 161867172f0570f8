// The main window's timers that watch the clock for a pending schedule, and
// the one-second clock timer that repaints the status display; `window` is
// the main window, whose timers they are.
#pragma once

#include <windows.h>

#include <cstdint>

// Starts watching a newly committed schedule, or carries it out at once when
// it is to be applied immediately.
void ArmScheduleTimers(HWND window);

// Handles a tick of a stage timer; other ids are ignored (the clock timer's
// tick only repaints, which is the window's business).
void HandleScheduleTimer(HWND window, int timerId);

// Looks at a pending schedule again after the wall clock has moved (the time
// was set, daylight saving, a resume): the stage timers wait off elapsed time
// and would not notice.  A countdown keeps running as it is.
void ReplanScheduleTimers(HWND window);

// The same after the machine has resumed, except that an action whose moment
// the machine slept through by more than a minute is not carried out: the
// schedule is cleared and a box says so (a timed reminder is still shown).
void ResumeScheduleTimers(HWND window);

// While the countdown timer runs: the whole seconds until it fires, counted
// as the timer counts, so that the clock panel and the warning follow the
// timer also after the wall clock has moved; -1 otherwise.
int32_t CountdownSecondsLeft();
