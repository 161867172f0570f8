// The one place that asks the system to suspend the machine.
#pragma once

// SetSuspendState, with SeShutdownPrivilege enabled first: the system asks
// that of its caller.  An account that cannot enable it is still asked, and
// the request's own answer decides.  Returns only after the machine has
// resumed, or at once when refused.  Any thread: the quick actions call it on
// the only thread there is, the window hands it to the suspension thread.
bool RequestSuspension(bool hibernate, bool forceCritical, bool disableWakeEvents);
