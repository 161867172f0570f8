#include "app/startup.h"

#include "actions/actions.h"
#include "app/main_window.h"
#include "base/data_folder.h"
#include "base/dll_search.h"
#include "base/os_level.h"
#include "base/wide_text.h"
#include "settings/settings_store.h"

// The two records GetVersionExA knows; the larger one is asked for first.
static_assert(sizeof(OSVERSIONINFOEXA) == 156, "extended version record");
static_assert(sizeof(OSVERSIONINFOA) == 148, "plain version record");

int DetermineOsLevel() {
    OSVERSIONINFOEXA version = {};
    version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version))) {
        version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version))) {
            return 0;
        }
    }
    gOsVersion = {version.dwMajorVersion, version.dwMinorVersion};
    gOsLevel = OsLevelFor(version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion);
    return 1;
}

namespace {

// Runs a quick action; the result of the primitive does not change the exit
// code, and the failing ones report themselves.
void RunQuickAction(QuickAction action) {
    switch (action) {
        case QuickAction::Hibernate: HibernateComputer(); break;
        case QuickAction::MonitorOff: TurnMonitorOff(); break;
        case QuickAction::LogOff: LogOffSession(); break;
        case QuickAction::Restart: RestartComputer(); break;
        case QuickAction::ScreenSaver: StartScreenSaver(); break;
        case QuickAction::Standby: StandbyComputer(); break;
        case QuickAction::PowerOff: PowerOffComputer(); break;
        case QuickAction::Lock: LockStation(); break;
        case QuickAction::None: break;
    }
}

}  // namespace

int RunProgram(HINSTANCE instance, char* commandLine) {
    RestrictDllSearchToSystemFolder();
    if (!DetermineOsLevel()) {
        MessageBoxCp(nullptr, "Chyba v ověření systému !\nChyba : ER-WM01-001", "Halvexor",
                    MB_ICONERROR);
        return -1;
    }
    if (gOsLevel == kOsLevelNone) {
        MessageBoxCp(nullptr,
                    "Tento program není vytvořen pro tento operační systém !\nChyba : ER-WM01-002",
                    "Halvexor", MB_ICONERROR);
        return -2;
    }

    static char empty[1] = "";
    if (commandLine == nullptr) {
        commandLine = empty;
    }
    // A first byte of 128 or above starts the window, whatever the system's
    // upper case makes of it: where a code page lacks the capital, it gives a
    // plain letter instead ("ü" becomes "U", the standby, in the Arabic 1256).
    const bool beyondAscii = static_cast<unsigned char>(commandLine[0]) >= 0x80;
    CharUpperA(commandLine);
    const QuickAction quick =
        beyondAscii ? QuickAction::None
                    : QuickActionForFirstByte(static_cast<signed char>(commandLine[0]));
    if (quick != QuickAction::None) {
        RunQuickAction(quick);
        return 0;
    }

    ChooseDataFolder();
    if (!LoadSettings()) {
        return -3;
    }
    gInstance = instance;
    if (!CreateMainWindow()) {
        return -4;
    }

    static MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
