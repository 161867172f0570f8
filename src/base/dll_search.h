// Where the program takes its DLLs from: the system folder, and nowhere else.
//
// A DLL that Windows does not always take from the system folder is looked
// for first beside the program, so a file of that name left there (in a
// download folder, say) would run in its place.  The program imports such
// DLLs by no name at all: it loads them by their full system-folder path at
// the point of use.
#pragma once

#include <windows.h>

// First thing at start-up: limits every later search for a DLL to the system
// folder where the system offers that (SetDefaultDllDirectories, looked up in
// kernel32: Windows 2000 and XP do not have it, and there it does nothing).
void RestrictDllSearchToSystemFolder();

// Loads `fileName` ("powrprof.dll") from the system folder by its full path;
// nullptr when the folder cannot be named or the DLL is not there.
HMODULE LoadSystemLibrary(const char* fileName);
