// A stand-in powrprof.dll for the tests to leave beside the program, as a
// download folder might hold one.  Loaded, it leaves the file "planted.log"
// beside itself; so does a call of its SetSuspendState, which is there so that
// a program importing the function by name would load this file.
#include <windows.h>

namespace {

HINSTANCE self = nullptr;

void LeaveMark(const char* what) {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    char* slash = path + length;
    while (slash > path && slash[-1] != '\\') --slash;
    lstrcpynA(slash, "planted.log", static_cast<int>(path + MAX_PATH - slash));
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, what, lstrlenA(what), &written, nullptr);
    CloseHandle(file);
}

}  // namespace

extern "C" __declspec(dllexport) BOOLEAN WINAPI SetSuspendState(BOOLEAN, BOOLEAN, BOOLEAN) {
    LeaveMark("SetSuspendState\n");
    return TRUE;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    self = instance;
    if (reason == DLL_PROCESS_ATTACH) LeaveMark("loaded\n");
    return TRUE;
}
