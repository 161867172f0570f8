#include "power_probe.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "actions/power_requests.h"
#include "base/text.h"

namespace probe {
namespace {

// The requests may come from the wake-up thread too.  The probe is also linked
// into the programs, which have no C++ library (their entry runs this constructor).
struct Section {
    Section() { InitializeCriticalSection(&section); }
    CRITICAL_SECTION section;
} guard;

class Hold {
public:
    Hold() { EnterCriticalSection(&guard.section); }
    ~Hold() { LeaveCriticalSection(&guard.section); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;
};

Text gLog[256];  // further requests are not kept
size_t gCount = 0;

Text& Refused() {
    static Text refused = std::getenv("HALVEXOR_PROBE_REFUSE");
    return refused;
}

bool IsRefused(const char* name) {
    const Text list = (Text(",") += Refused().c_str()) += ",";
    return std::strstr(list.c_str(), ((Text(",") += name) += ",").c_str()) != nullptr;
}

// Records one request; true when it is to succeed.
bool Record(const char* name, const char* call) {
    Hold hold;
    if (gCount < sizeof gLog / sizeof gLog[0]) gLog[gCount++] = call;
    if (const char* path = std::getenv("HALVEXOR_PROBE_LOG")) {
        if (FILE* file = std::fopen(path, "a")) {
            std::fputs(call, file);
            std::fputc('\n', file);
            std::fclose(file);
        }
    }
    return !IsRefused(name);
}

// The query Windows 2000 and XP send every top-level window before a
// suspension that is not forced, from a thread of their own, bounded as they
// bound it (there 20 s a window, here 5 s in all).  A process without windows
// is asked nothing.
struct Query {
    DWORD deadline;
    int asked;
    bool late;
};

BOOL CALLBACK AskWindow(HWND window, LPARAM parameter) {
    Query& query = *reinterpret_cast<Query*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != GetCurrentProcessId()) return TRUE;
    ++query.asked;
    const LONG left = static_cast<LONG>(query.deadline - GetTickCount());
    DWORD_PTR answer = 0;
    query.late = SendMessageTimeoutA(window, WM_POWERBROADCAST, PBT_APMQUERYSUSPEND, 1, SMTO_NORMAL,
                                     left > 0 ? left : 0, &answer) == 0;
    return !query.late;
}

DWORD WINAPI AskWindows(LPVOID query) { return !EnumWindows(AskWindow, reinterpret_cast<LPARAM>(query)); }

}  // namespace

void QuerySuspend() {
    const DWORD start = GetTickCount();
    Query query = {start + 5000, 0, false};
    HANDLE thread = CreateThread(nullptr, 0, AskWindows, &query, 0, nullptr);
    if (thread == nullptr) return;
    WaitForSingleObject(thread, INFINITE);  // the query bounds itself
    CloseHandle(thread);
    if (query.asked == 0) return;
    char call[64];
    wsprintfA(call, "QuerySuspend(%s in %lu ms)", query.late ? "no answer" : "answered",
              GetTickCount() - start);
    Record("query", call);
}

bool CopyRequest(size_t index, char* into, size_t size) {
    Hold hold;
    if (index >= gCount) return false;
    lstrcpynA(into, gLog[index].c_str(), static_cast<int>(size));
    return true;
}

void ResetRefusing(const char* refused) {
    Hold hold;
    gCount = 0;
    Refused() = refused;
}

}  // namespace probe

namespace power {

BOOL Lock() { return probe::Record("lock", "Lock()"); }

BOOL ExitSession(UINT flags) {
    char call[64];
    wsprintfA(call, "ExitSession(%u)", flags);
    return probe::Record("exit", call);
}

BOOLEAN Suspend(BOOLEAN hibernate, BOOLEAN forceCritical, BOOLEAN disableWakeEvent) {
    if (!forceCritical && std::getenv("HALVEXOR_PROBE_LOG") != nullptr) probe::QuerySuspend();
    char call[64];
    wsprintfA(call, "Suspend(%d,%d,%d)", hibernate, forceCritical, disableWakeEvent);
    return probe::Record("suspend", call);
}

HANDLE StartSuspensionThread(LPTHREAD_START_ROUTINE routine, LPVOID parameter) {
    if (!probe::Record("thread", "StartSuspensionThread()")) {
        return nullptr;
    }
    return CreateThread(nullptr, 0, routine, parameter, 0, nullptr);
}

HANDLE CreateWakeTimer() {
    if (!probe::Record("timer", "CreateWakeTimer()")) {
        return nullptr;
    }
    return CreateWaitableTimerA(nullptr, TRUE, nullptr);
}

BOOL ArmWakeTimer(HANDLE timer, LONGLONG dueTime) {
    char call[64];
    wsprintfA(call, "ArmWakeTimer(%I64d)", dueTime);
    if (!probe::Record("arm", call)) {
        return FALSE;
    }
    LARGE_INTEGER due;
    due.QuadPart = dueTime;
    return SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE);  // never resumes
}

BOOL StayAwake(EXECUTION_STATE flags) {
    char call[64];
    wsprintfA(call, "StayAwake(0x%lX)", static_cast<unsigned long>(flags));
    return probe::Record("awake", call);
}

// A refused "trayA-B" is a taskbar not there yet at logon, busy, or just
// restarted: the icon's adds A to B, counted from 1, are refused.  Not
// recorded, as every start adds the icon.
BOOL NotifyIcon(DWORD message, NOTIFYICONDATAA* data) {
    static int adds = 0;
    const Text list = Text(",") += probe::Refused().c_str();
    const char* tray = std::strstr(list.c_str(), ",tray");
    const char* dash = tray != nullptr ? std::strchr(tray, '-') : nullptr;
    if (message == NIM_ADD && dash != nullptr && ++adds >= std::atoi(tray + 5) &&
        adds <= std::atoi(dash + 1)) {
        return FALSE;
    }
    return Shell_NotifyIconA(message, data);
}

UINT TrayRetryMs() { return 100; }

BOOL BroadcastSysCommand(WPARAM command, LPARAM lParam) {
    char call[64];
    wsprintfA(call, "Broadcast(0x%I64X,%I64d)", static_cast<unsigned long long>(command),
              static_cast<long long>(lParam));
    return probe::Record("broadcast", call);
}

BOOL EnableShutdownPrivilege() {
    return probe::Record("privilege", "EnableShutdownPrivilege()");
}

}  // namespace power
