// The main window's menu and button commands: a button has its menu item's id.
#pragma once

// Runs the command `id` (the low word of the command message); ids without a
// command do nothing.
void HandleCommand(int id);
