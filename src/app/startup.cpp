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

// One window per user session: a second window would run a second tray icon
// and a second schedule, hidden under the first, and each copy would save
// its whole settings over the other's.  Another user's session (fast user
// switching, Remote Desktop) has its own: an object's plain name, without
// "Global\" or "Local\", lives in the session's own namespace wherever
// sessions have one, and needs no prefix that Windows 2000 without Terminal
// Services would not know.  The window's copy owns the object until it ends.
const char kSessionWindowMutex[] = "Halvexor.SessionWindow";
const char kMainWindowClass[] = "WinAPIMainClass";  // as main_window.cpp registers it
const char kMainWindowTitle[] = "Halvexor";
// How long a second start waits for the first copy's window (that copy may
// still be loading its settings) before it leaves the session to it.
const int kFirstWindowWaitSteps = 50;
const DWORD kFirstWindowWaitStepMs = 100;

// True when this start is to open the session's window.  Otherwise another
// copy holds it: its window is brought to the front, restored from the tray
// too, and this start ends; a copy that ends meanwhile hands the session over.
bool OpensTheSessionsWindow() {
    // Made here, it is owned, and never closed, until this copy ends; where
    // it cannot be made at all, the start goes on as it always did.
    const HANDLE mutex = CreateMutexA(nullptr, TRUE, kSessionWindowMutex);
    if (mutex == nullptr || GetLastError() != ERROR_ALREADY_EXISTS) {
        return true;
    }
    for (int step = 0; step < kFirstWindowWaitSteps; ++step) {
        const HWND first = FindWindowA(kMainWindowClass, kMainWindowTitle);
        if (first != nullptr) {
            ShowWindow(first, SW_RESTORE);
            SetForegroundWindow(first);
            return false;
        }
        const DWORD wait = WaitForSingleObject(mutex, kFirstWindowWaitStepMs);
        if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) {
            return true;
        }
    }
    return false;
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

    // Before the settings: a second copy must not touch them.
    if (!OpensTheSessionsWindow()) {
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
