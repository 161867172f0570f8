// The variable part of the main window: the state picture and the clock panel
// with the remaining time, and the one-time warning before the action.
#pragma once

#include <windows.h>

// Draws into a context from BeginPaint of the main window.
void PaintStatus(HDC dc);
