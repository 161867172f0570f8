#include "settings/settings_store.h"

#include <windows.h>

#include <cstdio>

#include "base/data_folder.h"
#include "base/wide_text.h"
#include "settings/settings_file.h"

namespace {

const char kSettingsName[] = "settings.sf";
const char kSettingsTempName[] = "settings.sf.new";

int ReportSaveFailure() {
    MessageBoxCp(nullptr, "Chyba - nelze uložit nastavení programu !\nChyba : ER-SN01-001", "Chyba",
                MB_ICONERROR);
    return 0;
}

}  // namespace

int LoadSettings() {
    char path[kDataPathCapacity];
    FILE* file = std::fopen(DataFilePath(kSettingsName, path), "rb");
    if (file == nullptr) {
        return SaveSettings();
    }
    // Only the first 20 bytes count; whatever follows is ignored.
    uint8_t bytes[kSettingsFileSize] = {};
    const size_t size = std::fread(bytes, 1, sizeof bytes, file);
    std::fclose(file);
    if (!DecodeSettings(bytes, size, gSettings)) {
        MessageBoxCp(nullptr, "Chyba - soubor nastavení programu je poškozen !\nChyba : ER-SN01-002",
                    "Chyba", MB_ICONERROR);
        return 0;
    }
    return 1;
}

int SaveSettingsThrough(const SettingsFileCalls& calls) {
    uint8_t bytes[kSettingsFileSize];
    EncodeSettings(gSettings, bytes);
    char path[kDataPathCapacity];
    char tempPath[kDataPathCapacity];
    DataFilePath(kSettingsName, path);
    DataFilePath(kSettingsTempName, tempPath);

    // Created and shared as fopen(..., "wb") does.
    const HANDLE file = calls.create(tempPath, GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return ReportSaveFailure();
    }
    // The bytes go to the disk before the file takes the old one's name: the
    // rename may reach the disk first, and after a power cut the settings
    // file could hold zeros or stale bytes, which every later start refuses.
    DWORD done = 0;
    const bool written = calls.write(file, bytes, sizeof bytes, &done, nullptr) && done == sizeof bytes;
    const bool flushed = written && calls.flush(file);
    const bool closed = calls.close(file) != 0;
    if (!flushed || !closed ||
        !calls.replace(tempPath, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        calls.remove(tempPath);
        return ReportSaveFailure();
    }
    return 1;
}

int SaveSettings() {
    const SettingsFileCalls system = {CreateFileA, WriteFile,   FlushFileBuffers,
                                      CloseHandle, MoveFileExA, DeleteFileA};
    return SaveSettingsThrough(system);
}
