// The main window's menu and button commands: a button has its menu item's id.
#pragma once

#include <windows.h>

// Runs the command `id` (the low word of the command message) of the main
// window `window`; ids without a command do nothing.
void HandleCommand(HWND window, int id);
