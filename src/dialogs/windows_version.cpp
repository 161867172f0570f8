#include "dialogs/windows_version.h"

namespace {

// Compares ASCII letters without regard to case; the locale plays no part.
bool EqualsIgnoringCase(const Text& text, const char* expected) {
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

Text NtPlatformName(const VersionFacts& facts) {
    Text name;
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

// "verze %d.%d %s (Build %d)\n"
Text VersionLine(const VersionFacts& facts) {
    Text line = "verze ";
    line.appendNumber(static_cast<int32_t>(facts.major)) += '.';
    line.appendNumber(static_cast<int32_t>(facts.minor)) += ' ';
    line += facts.csdVersion.c_str();
    line += " (Build ";
    return line.appendNumber(static_cast<int32_t>(facts.build & 0xFFFFu)) += ")\n";
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

Text TextFromBuffer(const char* buffer, size_t capacity) {
    if (buffer == nullptr) return Text();
    size_t length = 0;
    while (length < capacity && buffer[length] != '\0') ++length;
    return Text(buffer, length);
}
