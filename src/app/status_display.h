// The variable part of the main window: the state picture and the clock panel
// with the remaining time, and the one-time warning before the action.
#pragma once

#include <windows.h>

// Draws into a context from BeginPaint of the main window `window`, laid out
// at `scale` (see LayoutScale).
void PaintStatus(HWND window, HDC dc, int scale);

// A tick of the clock timer: the whole window invalidated and the status
// painted within the tick, not by a later paint message, and also while the
// window is hidden, so that the warning before the action still comes.
void RepaintStatus(HWND window, int scale);
