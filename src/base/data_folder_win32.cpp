// The data folder chosen at start-up, and the paths of the files in it.
#include <windows.h>

#include "base/data_folder.h"

static_assert(kDataPathCapacity == MAX_PATH, "a data file's path has the system's room");

namespace {

char dataPrefix[kDataPathCapacity] = ".\\";

bool IsAnsiLeadByte(unsigned char byte) { return IsDBCSLeadByteEx(CP_ACP, byte) != FALSE; }

}  // namespace

void ChooseDataFolder() {
    const DWORD attributes = GetFileAttributesA(".\\data");
    const bool currentHasDataFolder =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    char modulePath[MAX_PATH] = {};
    // A path cut to the buffer's size (not terminated on 2000 and XP) is not used.
    const DWORD length = currentHasDataFolder ? 0 : GetModuleFileNameA(nullptr, modulePath, MAX_PATH);
    ChooseDataPrefix(currentHasDataFolder, length > 0 && length < MAX_PATH ? modulePath : nullptr,
                     IsAnsiLeadByte, dataPrefix);
}

const char* DataFilePath(const char* name, char (&path)[kDataPathCapacity]) {
    JoinDataPath(dataPrefix, name, path);
    return path;
}
