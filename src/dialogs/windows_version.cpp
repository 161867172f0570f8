#include "dialogs/windows_version.h"

#include <cstdio>

namespace {

// Compares ASCII letters without regard to case; the locale plays no part.
bool EqualsIgnoringCase(const std::string& text, const char* expected) {
    size_t i = 0;
    for (; i < text.size() && expected[i] != '\0'; ++i) {
        char a = text[i];
        char b = expected[i];
        if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 'a' + 'A');
        if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 'a' + 'A');
        if (a != b) return false;
    }
    return i == text.size() && expected[i] == '\0';
}

std::string NtPlatformName(const VersionFacts& facts) {
    std::string name;
    // Each later match replaces an earlier one.  Only the minor number is
    // looked at for XP, so 6.1 is named XP as well, and 5.2 and 6.0 get no
    // name but the edition.  Meant.
    if (facts.major <= 4) name = "Windows NT";
    if (facts.major == 5 && facts.minor == 0) name = "Windows 2000";
    if (facts.minor == 1) name = "Windows XP";

    if (facts.extended) {
        // A home edition reports a workstation too and is named Professional.  Meant.
        if (facts.productType == kProductWorkstation) name += " Professional";
        if (facts.productType == kProductServer) name += " Server";
    } else if (facts.registryProductType) {
        if (EqualsIgnoringCase(*facts.registryProductType, "WINNT")) name += " Workstation";
        if (EqualsIgnoringCase(*facts.registryProductType, "SERVERNT")) name += " Server";
    }
    if (name.size() >= kPlatformNameCapacity) name.resize(kPlatformNameCapacity - 1);
    return name;
}

std::string VersionLine(const VersionFacts& facts) {
    const int major = static_cast<int>(facts.major);
    const int minor = static_cast<int>(facts.minor);
    const int build = static_cast<int>(facts.build & 0xFFFFu);
    const char* csd = facts.csdVersion.c_str();
    const int length = std::snprintf(nullptr, 0, "verze %d.%d %s (Build %d)\n", major, minor, csd,
                                     build);
    if (length <= 0) return std::string();
    std::string line(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(&line[0], line.size(), "verze %d.%d %s (Build %d)\n", major, minor, csd, build);
    line.resize(static_cast<size_t>(length));
    return line;
}

}  // namespace

bool NeedsRegistryProductType(const VersionFacts& facts) {
    return facts.platformId == kVersionPlatformNt && !facts.extended;
}

WindowsVersionTexts WindowsVersionTextsFor(const VersionFacts& facts) {
    WindowsVersionTexts texts;
    switch (facts.platformId) {
        case kVersionPlatformWin32s:
            texts.setPlatformName = true;
            texts.platformName = "Microsoft Win32";
            break;
        case kVersionPlatformWindows:
            if (facts.major != 4) break;
            if (facts.minor == 0) texts.platformName = "Microsoft Windows 95";
            if (facts.minor == 10) texts.platformName = "Microsoft Windows 98";
            if (facts.minor == 90) texts.platformName = "Microsoft Windows ME";
            texts.setPlatformName = !texts.platformName.empty();
            break;
        case kVersionPlatformNt:
            texts.setPlatformName = true;
            texts.platformName = NtPlatformName(facts);
            texts.setVersionLine = true;
            texts.versionLine = VersionLine(facts);
            break;
        default:
            break;
    }
    return texts;
}

std::string TextFromBuffer(const char* buffer, size_t capacity) {
    if (buffer == nullptr) return std::string();
    size_t length = 0;
    while (length < capacity && buffer[length] != '\0') ++length;
    return std::string(buffer, length);
}
