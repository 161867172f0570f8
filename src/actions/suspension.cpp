#include "actions/suspension.h"

#include "actions/power_requests.h"

bool RequestSuspension(bool hibernate, bool forceCritical, bool disableWakeEvents) {
    power::EnableShutdownPrivilege();
    return power::Suspend(hibernate, forceCritical, disableWakeEvents) != FALSE;
}
