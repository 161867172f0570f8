#include "power_probe.h"

#include <cstdio>
#include <cstdlib>

#include "actions/power_requests.h"

namespace probe {
namespace {

// The requests may come from the wake-up thread too.  The probe is also
// linked into the programs, whose compilers have no std::mutex.
struct Section {
    Section() { InitializeCriticalSection(&section); }
    ~Section() { DeleteCriticalSection(&section); }
    CRITICAL_SECTION section;
} guard;

class Hold {
public:
    Hold() { EnterCriticalSection(&guard.section); }
    ~Hold() { LeaveCriticalSection(&guard.section); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;
};

std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}

std::string& Refused() {
    static std::string refused = [] {
        const char* fromEnvironment = std::getenv("HALVEXOR_PROBE_REFUSE");
        return std::string(fromEnvironment != nullptr ? fromEnvironment : "");
    }();
    return refused;
}

bool IsRefused(const char* name) {
    const std::string list = "," + Refused() + ",";
    return list.find("," + std::string(name) + ",") != std::string::npos;
}

// Records one request; true when it is to succeed.
bool Record(const char* name, const std::string& call) {
    Hold hold;
    Log().push_back(call);
    if (const char* path = std::getenv("HALVEXOR_PROBE_LOG")) {
        if (FILE* file = std::fopen(path, "a")) {
            std::fprintf(file, "%s\n", call.c_str());
            std::fclose(file);
        }
    }
    return !IsRefused(name);
}

}  // namespace

std::vector<std::string> Requests() {
    Hold hold;
    return Log();
}

void Reset(const std::string& refused) {
    Hold hold;
    Log().clear();
    Refused() = refused;
}

}  // namespace probe

namespace power {

BOOL Lock() { return probe::Record("lock", "Lock()"); }

BOOL ExitSession(UINT flags) {
    char call[64];
    std::snprintf(call, sizeof call, "ExitSession(%u)", flags);
    return probe::Record("exit", call);
}

BOOLEAN Suspend(BOOLEAN hibernate, BOOLEAN forceCritical, BOOLEAN disableWakeEvent) {
    char call[64];
    std::snprintf(call, sizeof call, "Suspend(%d,%d,%d)", hibernate, forceCritical,
                  disableWakeEvent);
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
    std::snprintf(call, sizeof call, "ArmWakeTimer(%lld)", static_cast<long long>(dueTime));
    if (!probe::Record("arm", call)) {
        return FALSE;
    }
    LARGE_INTEGER due;
    due.QuadPart = dueTime;
    return SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE);  // never resumes
}

BOOL StayAwake(EXECUTION_STATE flags) {
    char call[64];
    std::snprintf(call, sizeof call, "StayAwake(0x%lX)", static_cast<unsigned long>(flags));
    return probe::Record("awake", call);
}

BOOL BroadcastSysCommand(WPARAM command, LPARAM lParam) {
    char call[64];
    std::snprintf(call, sizeof call, "Broadcast(0x%llX,%lld)",
                  static_cast<unsigned long long>(command), static_cast<long long>(lParam));
    return probe::Record("broadcast", call);
}

BOOL EnableShutdownPrivilege() {
    return probe::Record("privilege", "EnableShutdownPrivilege()");
}

}  // namespace power
