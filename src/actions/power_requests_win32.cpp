// The real requests.  Linked only into the product.
#include "actions/power_requests.h"

#include <powrprof.h>

namespace power {

BOOL Lock() { return LockWorkStation(); }

BOOL ExitSession(UINT flags) { return ExitWindowsEx(flags, 0); }

BOOLEAN Suspend(BOOLEAN hibernate, BOOLEAN forceCritical, BOOLEAN disableWakeEvent) {
    return SetSuspendState(hibernate, forceCritical, disableWakeEvent);
}

HANDLE CreateWakeTimer() { return CreateWaitableTimerA(nullptr, TRUE, nullptr); }

BOOL ArmWakeTimer(HANDLE timer, LONGLONG dueTime) {
    LARGE_INTEGER due;
    due.QuadPart = dueTime;
    return SetWaitableTimer(timer, &due, 0, nullptr, nullptr, TRUE);
}

BOOL BroadcastSysCommand(WPARAM command, LPARAM lParam) {
    return PostMessageA(HWND_BROADCAST, WM_SYSCOMMAND, command, lParam);
}

BOOL EnableShutdownPrivilege() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        return FALSE;
    }
    TOKEN_PRIVILEGES privileges = {};
    if (!LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
        CloseHandle(token);
        return FALSE;
    }
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    DWORD returnLength = 0;
    // GetLastError is not asked: ERROR_NOT_ALL_ASSIGNED still counts as done,
    // and the request that follows then fails on its own.
    const BOOL adjusted = AdjustTokenPrivileges(token, FALSE, &privileges, sizeof privileges,
                                                nullptr, &returnLength);
    CloseHandle(token);
    return adjusted;
}

}  // namespace power
