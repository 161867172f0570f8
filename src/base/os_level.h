// The capability level, and the command-line quick actions.  Platform-free:
// the glue passes in what the version query reported.
#pragma once

#include <cstdint>

// Levels the start-up assigns, and the thresholds the rest of the program tests.
enum : int32_t {
    kOsLevelNone = 0,
    kOsLevelWindows2000 = 210,
    kOsLevelMinorOne = 220,  // any NT version whose minor number is 1 (XP is 5.1)

    kThresholdBasic = 100,       // restart, shut down, monitor off, screen saver, reminder
    kThresholdSession = 200,     // lock, log off
    kThresholdSuspend = 210,     // hibernate, standby, wake-up
};

constexpr uint32_t kPlatformWin32Nt = 2;

// The level for a reported platform and version: 210 for NT 5.0, 220 for any NT
// version with minor number 1 (the major number is not looked at, so 6.1 counts
// too), 0 for everything else.
int32_t OsLevelFor(uint32_t platformId, uint32_t major, uint32_t minor);

// How restart and shut down are requested at a level.
enum class ShutdownRoute {
    WithPrivilege,  // band 200..220: enable SeShutdownPrivilege first
    Direct,         // band 100..120: request without the privilege step
    Refused,        // any other level: the primitive reports its error box
};
ShutdownRoute ShutdownRouteFor(int32_t osLevel);

// The NT version the start-up read, 0.0 before.
struct OsVersion {
    uint32_t major;
    uint32_t minor;
};
extern OsVersion gOsVersion;

// Whether a machine that a timer woke must be told that a user is present
// (ES_USER_PRESENT, which goes with ES_CONTINUOUS): Windows 2000 and XP
// otherwise take the wake-up for an unattended one and go back to sleep when
// its short idle timer runs out.  Later versions refuse the flag.
bool WakeUpNeedsUserPresent(const OsVersion& version);

enum class QuickAction {
    None,  // start the window
    Hibernate,
    MonitorOff,
    LogOff,
    Restart,
    ScreenSaver,
    Standby,
    PowerOff,
    Lock,
};

// The quick action of a command line, from its first byte after upper-casing.
// Only the first character counts.
QuickAction QuickActionForFirstByte(signed char first);

// The level of this process, written once by the start-up before anything else
// runs, read everywhere after.
extern int32_t gOsLevel;
