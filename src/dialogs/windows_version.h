// The texts of the Windows version dialog: the platform name (edit 1039) and
// the version line (edit 1040), from what the version query and the registry
// reported.  Platform-free: the glue makes the queries and passes in the facts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "base/text.h"

constexpr uint32_t kVersionPlatformWin32s = 0;
constexpr uint32_t kVersionPlatformWindows = 1;  // the 95/98/ME line
constexpr uint32_t kVersionPlatformNt = 2;

constexpr uint8_t kProductWorkstation = 1;
constexpr uint8_t kProductDomainController = 2;
constexpr uint8_t kProductServer = 3;

// Sizes of the text buffers the values arrive in.
constexpr size_t kCsdVersionCapacity = 128;        // szCSDVersion of the version record
constexpr size_t kProductTypeCapacity = 80;        // the registry value is read into this
constexpr size_t kPlatformNameCapacity = 200;      // the platform name, terminator included

struct VersionFacts {
    uint32_t platformId = 0;
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t build = 0;
    Text csdVersion;
    // The extended record was filled (the first query succeeded); only then is
    // productType valid.
    bool extended = false;
    uint8_t productType = 0;
    // "ProductType" under ProductOptions; absent when the key or value could
    // not be read.  Only consulted when the extended record was not filled.
    std::optional<Text> registryProductType;
};

struct WindowsVersionTexts {
    bool setPlatformName = false;
    Text platformName;
    bool setVersionLine = false;
    Text versionLine;
};

// Whether the registry must be asked for the edition: an NT system that
// filled only the plain record.
bool NeedsRegistryProductType(const VersionFacts& facts);

// Which fields are set, and to what.
WindowsVersionTexts WindowsVersionTextsFor(const VersionFacts& facts);

// The text in a fixed buffer of `capacity` bytes that the system filled: up to
// the first NUL, or the whole buffer when it holds none.  Never reads past it.
Text TextFromBuffer(const char* buffer, size_t capacity);
