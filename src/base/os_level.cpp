#include "base/os_level.h"

int32_t gOsLevel = kOsLevelNone;
OsVersion gOsVersion = {0, 0};

int32_t OsLevelFor(uint32_t platformId, uint32_t major, uint32_t minor) {
    if (platformId != kPlatformWin32Nt) {
        return kOsLevelNone;
    }
    if (major == 5 && minor == 0) {
        return kOsLevelWindows2000;
    }
    // Only the minor number is tested here, so 6.1 is taken for XP's level as
    // well, while 5.2 and 6.0 get nothing.  Meant.
    if (minor == 1) {
        return kOsLevelMinorOne;
    }
    return kOsLevelNone;
}

ShutdownRoute ShutdownRouteFor(int32_t osLevel) {
    if (osLevel >= 200 && osLevel <= 220) {
        return ShutdownRoute::WithPrivilege;
    }
    if (osLevel >= 100 && osLevel <= 120) {
        return ShutdownRoute::Direct;
    }
    return ShutdownRoute::Refused;
}

bool WakeUpNeedsUserPresent(const OsVersion& version) {
    return version.major == 5 && version.minor <= 1;
}

QuickAction QuickActionForFirstByte(signed char first) {
    switch (first) {
        case 'H': return QuickAction::Hibernate;
        case 'M': return QuickAction::MonitorOff;
        case 'O': return QuickAction::LogOff;
        case 'R': return QuickAction::Restart;
        case 'S': return QuickAction::ScreenSaver;
        case 'U': return QuickAction::Standby;
        case 'V': return QuickAction::PowerOff;
        case 'Z': return QuickAction::Lock;
        default: return QuickAction::None;
    }
}
