#include "base/message_filter.h"

namespace {

// The flag of ChangeWindowMessageFilter; the headers for older systems lack it.
constexpr DWORD kFilterAdd = 1;  // MSGFLT_ADD

}  // namespace

void AllowMessageFromLowerIntegrity(UINT message) {
    HMODULE user = GetModuleHandleA("user32.dll");
    if (message == 0 || user == nullptr) return;
    using ChangeWindowMessageFilterFn = BOOL(WINAPI*)(UINT, DWORD);
    // Through a plain function pointer, which any function type may be cast to.
    const auto address = reinterpret_cast<void (*)()>(
        GetProcAddress(user, "ChangeWindowMessageFilter"));
    if (address != nullptr) {
        reinterpret_cast<ChangeWindowMessageFilterFn>(address)(message, kFilterAdd);
    }
}
