// The settings file settings.sf in the data folder (base/data_folder.h).
#pragma once

#include <windows.h>

// Reads the settings into gSettings.  Only a missing file (or data folder) is
// created, with the values in memory (all 0 at start-up); a file that is
// there but cannot be read, held by a backup or a virus scanner for a moment,
// is tried again for a few seconds and is never overwritten.  1 on success;
// 0 when a stored value is out of range (ER-SN01-002 is shown: the user
// would otherwise see nothing at all happen), the file could not be created
// (ER-SN01-001) or still not be read (ER-SN01-003).  A refused file is never
// changed.
int LoadSettings();

// Writes gSettings.  The new content goes to a file of its own that replaces
// the old one only once it is complete and on the disk: a failed save leaves
// the old file as it was, a power cut just after a save the new one whole.
// 1 on success; 0 after showing ER-SN01-001.
int SaveSettings();

// The file calls of a save, the system's own in the program; a test passes
// its own to see their order.
struct SettingsFileCalls {
    HANDLE(WINAPI* create)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
    BOOL(WINAPI* write)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
    BOOL(WINAPI* flush)(HANDLE);
    BOOL(WINAPI* close)(HANDLE);
    BOOL(WINAPI* replace)(LPCSTR, LPCSTR, DWORD);
    BOOL(WINAPI* remove)(LPCSTR);
};

// SaveSettings through `calls`.
int SaveSettingsThrough(const SettingsFileCalls& calls);
