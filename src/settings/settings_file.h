// The five user settings and their 20-byte file: five little-endian signed
// 32-bit values, no header, no version, no checksum.  Platform-free: the glue
// reads and writes the bytes.
#pragma once

#include <cstddef>
#include <cstdint>

struct Settings {
    int32_t askConfirmation = 0;   // 0/1: ask before an immediate action
    int32_t useCountdown = 0;      // 0/1: one countdown timer instead of watching a date
    int32_t showClock = 0;         // 0/1: the clock panel shows the remaining time
    int32_t warnBeforeAction = 0;  // 0/1: one warning box shortly before the action
    int32_t warningSeconds = 0;    // 0..9999: lead time of that warning
};

constexpr size_t kSettingsFileSize = 20;
constexpr int32_t kMaxWarningSeconds = 9999;

extern Settings gSettings;

// Decodes the first 20 bytes of a settings file into `settings`, testing each
// value as it is read: the four flags must be 0 or 1, the warning lead 0..9999.
// A value that the file does not hold completely (a short file, or one cut in
// the middle of a value) is not read and keeps what `settings` held before.
// Returns false at the first invalid value; `settings` is then left unchanged.
bool DecodeSettings(const uint8_t* bytes, size_t size, Settings& settings);

// The 20 bytes of a settings file for `settings`.
void EncodeSettings(const Settings& settings, uint8_t (&bytes)[kSettingsFileSize]);
