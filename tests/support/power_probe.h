// The test side of the power seam: every request is recorded instead of made.
//
// In a test process the requests are kept in memory.  In the probe build of
// the program they are also appended, one line each, to the file named by the
// environment variable HALVEXOR_PROBE_LOG, so that a test driving the program
// from outside can read them.  HALVEXOR_PROBE_REFUSE holds a comma-separated
// list of requests to refuse (lock, exit, suspend, broadcast, privilege).
#pragma once

#include <string>
#include <vector>

namespace probe {

// The requests made so far, in the form "Lock()", "ExitSession(8)",
// "Suspend(1,0,1)", "Broadcast(0xF170,2)", "EnableShutdownPrivilege()".
const std::vector<std::string>& Requests();

// Forgets the requests and refuses those named in `refused` from now on.
void Reset(const std::string& refused = "");

}  // namespace probe
