#include "settings/settings_file.h"

Settings gSettings;

namespace {

int32_t ReadLe32(const uint8_t* p) {
    const uint32_t value = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
    return static_cast<int32_t>(value);
}

void WriteLe32(uint8_t* p, int32_t value) {
    const uint32_t bits = static_cast<uint32_t>(value);
    p[0] = static_cast<uint8_t>(bits);
    p[1] = static_cast<uint8_t>(bits >> 8);
    p[2] = static_cast<uint8_t>(bits >> 16);
    p[3] = static_cast<uint8_t>(bits >> 24);
}

bool IsFlag(int32_t value) { return value == 0 || value == 1; }

}  // namespace

bool DecodeSettings(const uint8_t* bytes, size_t size, Settings& settings) {
    Settings decoded = settings;
    int32_t* const fields[] = {&decoded.askConfirmation, &decoded.useCountdown, &decoded.showClock,
                               &decoded.warnBeforeAction, &decoded.warningSeconds};
    for (size_t i = 0; i < 5; ++i) {
        const size_t offset = i * 4;
        if (bytes != nullptr && size >= offset + 4) {
            *fields[i] = ReadLe32(bytes + offset);
        }
        const bool valid = (i < 4) ? IsFlag(*fields[i])
                                   : (*fields[i] >= 0 && *fields[i] <= kMaxWarningSeconds);
        if (!valid) {
            return false;
        }
    }
    settings = decoded;
    return true;
}

void EncodeSettings(const Settings& settings, uint8_t (&bytes)[kSettingsFileSize]) {
    WriteLe32(bytes + 0, settings.askConfirmation);
    WriteLe32(bytes + 4, settings.useCountdown);
    WriteLe32(bytes + 8, settings.showClock);
    WriteLe32(bytes + 12, settings.warnBeforeAction);
    WriteLe32(bytes + 16, settings.warningSeconds);
}
