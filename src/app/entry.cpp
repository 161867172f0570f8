// Where the programs start, in place of the C runtime's start-up code: that
// code and what it brings (its own command-line and environment copies, the
// relocation and thread-local-storage helpers) holds instructions that the
// Pentium-class processors of Windows 2000 and XP lack, and the programs need
// none of it.  The system's msvcrt.dll initialises itself when it loads.
#include <windows.h>

#include "app/command_line.h"

// The linker gathers the constructors of globals into this list: a count or
// -1, the functions, a null.  The programs keep their globals constant, but a
// global that needs one still gets it here, last first, as the runtime did.
extern "C" void (*__CTOR_LIST__[])();

namespace {

void RunConstructors() {
    size_t count = 0;
    if (__CTOR_LIST__[0] == reinterpret_cast<void (*)()>(-1)) {
        while (__CTOR_LIST__[count + 1] != nullptr) ++count;
    } else {
        count = reinterpret_cast<size_t>(__CTOR_LIST__[0]);
    }
    for (size_t i = count; i >= 1; --i) __CTOR_LIST__[i]();
}

}  // namespace

extern "C" void WinMainCRTStartup() {
    RunConstructors();
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    const int show =
        (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWDEFAULT;
    ExitProcess(static_cast<UINT>(
        WinMain(GetModuleHandleA(nullptr), nullptr, ArgumentsOf(GetCommandLineA()), show)));
}
