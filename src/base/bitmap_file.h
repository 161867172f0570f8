// The pictures of the data folder are bitmap files read afresh at each paint.
#pragma once

#include <windows.h>

// Draws the bitmap file at `path` unscaled with its top left corner at (x, y);
// a missing or unreadable file is simply not drawn.
void DrawBitmapFile(HDC dc, const char* path, int x, int y);
