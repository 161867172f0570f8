// Messages that an elevated program must let in from lower ones.
//
// From Windows Vista on, a program run with higher rights than the shell
// (elevated, "Run as administrator") gets no message above WM_USER from a
// process of a lower integrity level unless it lets that message through;
// a registered message such as "TaskbarCreated" is one of them.
#pragma once

#include <windows.h>

// Lets `message` through that filter for the whole process.
// ChangeWindowMessageFilter is looked up in user32: Windows 2000 and XP do
// not have it, and there no filter stands in the way; nothing happens then.
void AllowMessageFromLowerIntegrity(UINT message);
