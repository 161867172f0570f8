// The program's only top-level window.
#pragma once

#include <windows.h>

// Process-wide handles.  The window handle is stored as soon as the window
// procedure first sees it, so that it is valid while the window is created.
extern HWND gMainWindow;
extern HINSTANCE gInstance;

// Registers the class, creates the window, its tray icon and buttons, and
// enables the actions by level.  1 on success, 0 at the first step that fails.
int CreateMainWindow();

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
