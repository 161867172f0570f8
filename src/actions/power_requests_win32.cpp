// The real requests.  Linked only into the product.
#include "actions/power_requests.h"

#include "base/dll_search.h"

namespace power {

BOOL Lock() { return LockWorkStation(); }

BOOL ExitSession(UINT flags) { return ExitWindowsEx(flags, 0); }

// SetSuspendState lives in powrprof.dll, which is loaded from the system
// folder when a suspension is asked for (see base/dll_search.h).  A DLL or a
// function that is not there is a refusal like any other.
BOOLEAN Suspend(BOOLEAN hibernate, BOOLEAN forceCritical, BOOLEAN disableWakeEvent) {
    HMODULE library = LoadSystemLibrary("powrprof.dll");
    if (library == nullptr) return FALSE;
    using SetSuspendStateFn = BOOLEAN(WINAPI*)(BOOLEAN, BOOLEAN, BOOLEAN);
    // Through a plain function pointer, which any function type may be cast to.
    const auto address = reinterpret_cast<void (*)()>(GetProcAddress(library, "SetSuspendState"));
    const BOOLEAN result =
        address != nullptr
            ? reinterpret_cast<SetSuspendStateFn>(address)(hibernate, forceCritical, disableWakeEvent)
            : FALSE;
    FreeLibrary(library);
    return result;
}

HANDLE StartSuspensionThread(LPTHREAD_START_ROUTINE routine, LPVOID parameter) {
    return CreateThread(nullptr, 0, routine, parameter, 0, nullptr);
}

HANDLE CreateWakeTimer() { return CreateWaitableTimerA(nullptr, TRUE, nullptr); }

BOOL ArmWakeTimer(HANDLE timer, LONGLONG dueTime) {
    LARGE_INTEGER due;
    due.QuadPart = dueTime;
    return SetWaitableTimer(timer, &due, 0, nullptr, nullptr, TRUE);
}

BOOL StayAwake(EXECUTION_STATE flags) { return SetThreadExecutionState(flags) != 0; }

BOOL NotifyIcon(DWORD message, NOTIFYICONDATAA* data) { return Shell_NotifyIconA(message, data); }

UINT TrayRetryMs() { return 4000; }

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
