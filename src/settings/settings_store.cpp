#include "settings/settings_store.h"

#include <windows.h>

#include "base/data_folder.h"
#include "base/wide_text.h"
#include "settings/settings_file.h"

namespace {

const char kSettingsName[] = "settings.sf";
const char kSettingsTempName[] = "settings.sf.new";

// A file held open by another program at the start (a backup, a virus
// scanner, a sync client) is asked for again this often, for this long.
const DWORD kHeldRetryMs = 250;
const DWORD kHeldForMs = 5000;

int ReportError(const char* text) {
    MessageBoxCp(nullptr, text, "Chyba", MB_ICONERROR);
    return 0;
}

int ReportSaveFailure() {
    return ReportError("Chyba - nelze uložit nastavení programu !\nChyba : ER-SN01-001");
}

enum class ReadResult { Read, Missing, Refused };

// Reads the first bytes of the file, shared as fopen(..., "rb") shares it.
// Only a file that is not there (or a data folder that is not) counts as
// missing; one that is there but cannot be opened or read is refused.
ReadResult ReadSettingsFile(const char* path, uint8_t (&bytes)[kSettingsFileSize], DWORD* size) {
    const HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ReadResult::Missing
                                                                              : ReadResult::Refused;
    }
    const BOOL read = ReadFile(file, bytes, sizeof bytes, size, nullptr);
    CloseHandle(file);
    return read ? ReadResult::Read : ReadResult::Refused;
}

}  // namespace

int LoadSettings() {
    char path[kDataPathCapacity];
    DataFilePath(kSettingsName, path);
    // Only the first 20 bytes count; whatever follows is ignored.
    uint8_t bytes[kSettingsFileSize] = {};
    DWORD size = 0;
    ReadResult result = ReadSettingsFile(path, bytes, &size);
    for (DWORD waited = 0; result == ReadResult::Refused && waited < kHeldForMs;
         waited += kHeldRetryMs) {
        Sleep(kHeldRetryMs);
        result = ReadSettingsFile(path, bytes, &size);
    }
    if (result == ReadResult::Missing) {
        return SaveSettings();
    }
    if (result == ReadResult::Refused) {
        return ReportError("Chyba - nelze načíst nastavení programu !\nChyba : ER-SN01-003");
    }
    if (!DecodeSettings(bytes, size, gSettings)) {
        return ReportError("Chyba - soubor nastavení programu je poškozen !\nChyba : ER-SN01-002");
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
