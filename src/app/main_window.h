// The program's only top-level window: buttons, menu, notification-area icon
// and the hand-drawn hide button in its title bar.
#pragma once

#include <windows.h>

// Process-wide handles.  The window handle is stored as soon as the window
// procedure first sees it, so that it is valid while the window is created.
extern HWND gMainWindow;
extern HINSTANCE gInstance;

// Registers the class, creates the window, its tray icon and buttons, and
// enables the actions by level.  1 on success, 0 at the first step that fails.
int CreateMainWindow();

// Pixels of the layout as drawn for 96 DPI, at the scale of this desktop.
int LayoutPixels(int pixels);

// 1 when all eleven buttons were made, 0 at the first failure.
int CreateActionButtons();

// The main window's action buttons and Akce items that the capability level
// allows (the scheduling dialog enables its choices alike).  Only ever enables.
void EnableActionsByLevel();

int AddTrayIcon();
int RemoveTrayIcon();

// 0 draws the normal picture, 100 the pressed one; anything else nothing.
void DrawHideButton(int state);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
