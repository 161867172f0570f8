// The test side of the power seam: every request is recorded instead of made.
//
// In a test process the requests are kept in memory.  In the probe build of
// the program they are also appended, one line each, to the file named by the
// environment variable HALVEXOR_PROBE_LOG, so that a test driving the program
// from outside can read them.  HALVEXOR_PROBE_REFUSE holds a comma-separated
// list of requests to refuse (lock, exit, suspend, broadcast, privilege,
// thread, timer, arm, awake, tray): a refused "thread" makes
// StartSuspensionThread return NULL without starting it, a refused "timer"
// makes CreateWakeTimer return NULL, a refused "arm" makes ArmWakeTimer return
// FALSE without arming, a refused "trayA-B" refuses the program's adds A to B
// of its icon, as a taskbar not yet there at logon does (the icon is not
// recorded); a refused icon is tried again after 100 ms instead of seconds.
//
// The suspension thread runs when it is not refused.  Its timer is real, so that
// a wait on it lasts as long as it would:
// CreateWakeTimer makes a manual-reset waitable timer and ArmWakeTimer sets it,
// but never with the resume flag, so no test can wake a machine.  Suspend
// returns at once, as if the machine had been woken early.
//
// In the program under test (HALVEXOR_PROBE_LOG set), a suspension that is
// not forced first asks the program's own top-level windows, from another
// thread, as Windows 2000 and XP ask every window (WM_POWERBROADCAST,
// PBT_APMQUERYSUSPEND, lParam 1), and records "QuerySuspend(answered in N ms)"
// or "QuerySuspend(no answer in N ms)" before the request: a window whose
// thread is itself inside the request cannot answer.
//
// The requests may come from the wake-up thread too; recording is locked.
#pragma once

#include <string>
#include <vector>

namespace probe {

// The record in plain buffers, as the programs link it too: false past the end.
bool CopyRequest(size_t index, char* into, size_t size);
void ResetRefusing(const char* refused);
// Sends the query of a suspension that is not forced; see above.
void QuerySuspend();

// A copy of the requests made so far, in the form "Lock()", "ExitSession(8)",
// "Suspend(1,0,1)", "Broadcast(0xF170,2)", "EnableShutdownPrivilege()",
// "StartSuspensionThread()", "CreateWakeTimer()", "ArmWakeTimer(-100000000)",
// "StayAwake(0x3)".
inline std::vector<std::string> Requests() {
    std::vector<std::string> requests;
    char call[64];
    for (size_t i = 0; CopyRequest(i, call, sizeof call); ++i) requests.push_back(call);
    return requests;
}

// Forgets the requests and refuses those named in `refused` from now on.
inline void Reset(const std::string& refused = "") { ResetRefusing(refused.c_str()); }

}  // namespace probe
