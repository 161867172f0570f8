#include "base/data_folder.h"

namespace {

const char kCurrentFolder[] = ".\\";
const char kDataFolder[] = "data\\";
constexpr size_t kDataFolderLength = sizeof kDataFolder - 1;

size_t Length(const char* text) {
    size_t length = 0;
    while (text[length] != '\0') ++length;
    return length;
}

// Copies `count` characters of `text` to `out` at `at`; returns the new end.
size_t Put(char* out, size_t at, const char* text, size_t count) {
    for (size_t i = 0; i < count; ++i) out[at + i] = text[i];
    return at + count;
}

}  // namespace

void ChooseDataPrefix(bool currentHasDataFolder, const char* modulePath,
                      LeadBytePredicate isLeadByte, char (&prefix)[kDataPathCapacity]) {
    size_t folderLength = 0;  // its last backslash included
    if (!currentHasDataFolder && modulePath != nullptr) {
        for (size_t i = 0; modulePath[i] != '\0'; ++i) {
            if (isLeadByte != nullptr && isLeadByte(static_cast<unsigned char>(modulePath[i])) &&
                modulePath[i + 1] != '\0') {
                ++i;  // a second byte is never a backslash of its own
            } else if (modulePath[i] == '\\') {
                folderLength = i + 1;
            }
        }
    }
    if (folderLength == 0 ||
        folderLength + kDataFolderLength + kMaxDataNameLength >= kDataPathCapacity) {
        prefix[Put(prefix, 0, kCurrentFolder, sizeof kCurrentFolder - 1)] = '\0';
        return;
    }
    prefix[Put(prefix, 0, modulePath, folderLength)] = '\0';
}

void JoinDataPath(const char* prefix, const char* name, char (&path)[kDataPathCapacity]) {
    size_t prefixLength = Length(prefix);
    size_t nameLength = Length(name);
    if (prefixLength + kDataFolderLength + nameLength >= kDataPathCapacity) {
        prefix = kCurrentFolder;
        prefixLength = sizeof kCurrentFolder - 1;
        if (prefixLength + kDataFolderLength + nameLength >= kDataPathCapacity) {
            nameLength = kDataPathCapacity - 1 - prefixLength - kDataFolderLength;
        }
    }
    size_t end = Put(path, 0, prefix, prefixLength);
    end = Put(path, end, kDataFolder, kDataFolderLength);
    path[Put(path, end, name, nameLength)] = '\0';
}
