#include "base/ids.h"
#include "dialogs/info_dialogs.h"
#include "dialogs/windows_version.h"

static_assert(sizeof(OSVERSIONINFOEXA) == 156, "extended version record");
static_assert(sizeof(OSVERSIONINFOA) == 148, "plain version record");
static_assert(sizeof(OSVERSIONINFOA::szCSDVersion) == kCsdVersionCapacity, "service-pack text");

namespace {

// "ProductType" of ProductOptions, or nothing when the key or value cannot be
// read (a value longer than the buffer included).
std::optional<Text> ReadRegistryProductType() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\ProductOptions", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    char value[kProductTypeCapacity] = {};
    DWORD size = sizeof value;
    const LONG result = RegQueryValueExA(key, "ProductType", nullptr, nullptr,
                                         reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return std::nullopt;
    // A stored value need not end with a NUL; never read past what came.
    return TextFromBuffer(value, size < sizeof value ? size : sizeof value);
}

}  // namespace

void FillWindowsVersion(HWND dialog) {
    OSVERSIONINFOEXA version = {};
    version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
    const bool extended = GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version)) != 0;
    if (!extended) {
        version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version))) {
            EndDialog(dialog, 1);
            return;
        }
    }

    VersionFacts facts;
    facts.platformId = version.dwPlatformId;
    facts.major = version.dwMajorVersion;
    facts.minor = version.dwMinorVersion;
    facts.build = version.dwBuildNumber;
    facts.csdVersion = TextFromBuffer(version.szCSDVersion, sizeof version.szCSDVersion);
    facts.extended = extended;
    facts.productType = extended ? version.wProductType : 0;
    if (NeedsRegistryProductType(facts)) facts.registryProductType = ReadRegistryProductType();

    const WindowsVersionTexts texts = WindowsVersionTextsFor(facts);
    if (texts.setPlatformName) SetDlgItemTextA(dialog, IDC_PLATFORM_NAME, texts.platformName.c_str());
    if (texts.setVersionLine) SetDlgItemTextA(dialog, IDC_VERSION_LINE, texts.versionLine.c_str());
}

INT_PTR CALLBACK WindowsVersionDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_PAINT: {
            // The fields are refilled on every paint, not once at the start.
            PAINTSTRUCT ps;
            BeginPaint(dialog, &ps);
            FillWindowsVersion(dialog);
            EndPaint(dialog, &ps);
            break;
        }
        case WM_COMMAND:
            // Escape's IDCANCEL is ignored on purpose: only OK closes.
            if (LOWORD(wParam) == IDC_OK) EndDialog(dialog, 1);
            break;
        default:
            break;
    }
    return 0;
}
