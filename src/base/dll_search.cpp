#include "base/dll_search.h"

#include <cstring>

namespace {

// The flag of SetDefaultDllDirectories; the headers for older systems lack it.
constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

}  // namespace

void RestrictDllSearchToSystemFolder() {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (kernel == nullptr) return;
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    // Through a plain function pointer, which any function type may be cast to.
    const auto address = reinterpret_cast<void (*)()>(
        GetProcAddress(kernel, "SetDefaultDllDirectories"));
    if (address != nullptr) {
        reinterpret_cast<SetDefaultDllDirectoriesFn>(address)(kSearchSystem32);
    }
}

HMODULE LoadSystemLibrary(const char* fileName) {
    char path[MAX_PATH];
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    const size_t nameLength = std::strlen(fileName);
    // 0 is a failure; a length of MAX_PATH or more is the size the folder's
    // name would need, which is then not in the buffer.
    if (length == 0 || length + 1 + nameLength >= MAX_PATH) return nullptr;
    path[length] = '\\';
    std::memcpy(path + length + 1, fileName, nameLength + 1);
    return LoadLibraryA(path);
}
