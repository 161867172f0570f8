#include "settings/settings_store.h"

#include <windows.h>

#include <cstdio>

#include "app/wide_text.h"
#include "settings/settings_file.h"

namespace {

const char kSettingsPath[] = ".\\data\\settings.sf";
const char kSettingsTempPath[] = ".\\data\\settings.sf.new";

int ReportSaveFailure() {
    MessageBoxCp(nullptr, "Chyba - nelze uložit nastavení programu !\nChyba : ER-SN01-001", "Chyba",
                MB_ICONERROR);
    return 0;
}

}  // namespace

int LoadSettings() {
    FILE* file = std::fopen(kSettingsPath, "rb");
    if (file == nullptr) {
        return SaveSettings();
    }
    // Only the first 20 bytes count; whatever follows is ignored.
    uint8_t bytes[kSettingsFileSize] = {};
    const size_t size = std::fread(bytes, 1, sizeof bytes, file);
    std::fclose(file);
    return DecodeSettings(bytes, size, gSettings) ? 1 : 0;
}

int SaveSettings() {
    uint8_t bytes[kSettingsFileSize];
    EncodeSettings(gSettings, bytes);

    FILE* file = std::fopen(kSettingsTempPath, "wb");
    if (file == nullptr) {
        return ReportSaveFailure();
    }
    const bool written = std::fwrite(bytes, 1, sizeof bytes, file) == sizeof bytes;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed ||
        !MoveFileExA(kSettingsTempPath, kSettingsPath,
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(kSettingsTempPath);
        return ReportSaveFailure();
    }
    return 1;
}
