// Program start: the capability level and the quick actions.
#pragma once

#include <windows.h>

// Queries the Windows version (extended record first, then the plain one) and
// sets gOsLevel.  0 when the query failed both ways, 1 otherwise (the level may
// still be 0 then).
int DetermineOsLevel();

// The whole start-up; returns the process exit code.  `commandLine` is the
// writable text after the program's name, upper-cased in place.
int RunProgram(HINSTANCE instance, char* commandLine);
