// The code of an action, as held in the schedule record.
#pragma once

#include <cstdint>

enum : int32_t {
    kActionNone = 0,
    kActionLock = 1,
    kActionLogOff = 2,
    kActionRestart = 3,
    kActionPowerOff = 4,
    kActionReminder = 5,
    kActionHibernate = 6,
    kActionStandby = 7,
    kActionMonitorOff = 8,
    kActionScreenSaver = 9,
};
