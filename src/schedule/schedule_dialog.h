// The scheduling dialog (template 104): the action, its time as a date or a
// countdown, "apply at once", and a wake-up after hibernate or standby.  Ends
// with 1 when OK has committed a new schedule, 2 on Cancel.  The parameter of
// the dialog's creation is the main window.
#pragma once

#include <windows.h>

INT_PTR CALLBACK ScheduleDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
