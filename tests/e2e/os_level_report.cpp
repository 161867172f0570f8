// Reports the capability level that the program's start-up sets on this
// system, as the exit code (-1 when the version query fails).  The end-to-end
// tests run it under the Windows versions that Wine can pretend to be.
#include <windows.h>

#include "app/startup.h"
#include "base/os_level.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return DetermineOsLevel() ? gOsLevel : -1;
}
