// The main window's timers that watch the clock for a pending schedule, and
// the one-second clock timer that repaints the status display.
#pragma once

// Handles every WM_TIMER of the main window; unknown ids are ignored.
void HandleScheduleTimer(int timerId);
