#include "power_probe.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "actions/power_requests.h"
#include "app/text.h"

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

}  // namespace

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
    char call[64];
    wsprintfA(call, "Suspend(%d,%d,%d)", hibernate, forceCritical, disableWakeEvent);
    return probe::Record("suspend", call);
}

HANDLE StartWakeThread(LPTHREAD_START_ROUTINE routine, LPVOID parameter) {
    if (!probe::Record("thread", "StartWakeThread()")) {
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
