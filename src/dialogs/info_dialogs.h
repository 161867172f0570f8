// The About dialog (template 103) and the Windows version dialog (template
// 107), both run modally by the main window's commands.
#pragma once

#include <windows.h>

INT_PTR CALLBACK AboutDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK WindowsVersionDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Draws the data folder's prg.bf in its own size at the top-left corner; a
// picture that cannot be loaded is left out without a word.
void PaintProgramBitmap(HDC paint);

// Queries the version afresh and sets edits 1039 and 1040 of the dialog, or
// ends the dialog with 1 when the version cannot be queried at all.
void FillWindowsVersion(HWND dialog);
