// The polling-step dialog (template 105), opened from the scheduling dialog's
// "nastavení": proposes a step (0 = cascade, 1..12) in editPollStep.
#pragma once

#include <windows.h>

INT_PTR CALLBACK PollStepDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
