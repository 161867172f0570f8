#include <gtest/gtest.h>

#include <string>

#include "base/data_folder.h"

static std::string PathOf(const std::string& module, const char* name) {
    char prefix[kDataPathCapacity], path[kDataPathCapacity];
    // Shift-JIS: 0x95 0x5C is one character, its second byte a backslash.
    ChooseDataPrefix(false, module.c_str(), [](unsigned char b) { return b == 0x95; }, prefix);
    JoinDataPath(prefix, name, path);
    return path;
}

TEST(DataFolder, TheProgramsFolderEndsAtAWholeBackslashAndOnlyWhereEveryPathFits) {
    EXPECT_EQ("C:\\Tools\\data\\tr.bf", PathOf("C:\\Tools\\\x95\\.exe", "tr.bf"));
    // The longest name still fits beside a folder of 239 characters; beside one
    // of 240 all stay where they were, the settings and their new file alike.
    auto folder = [](size_t length) { return "C:\\" + std::string(length - 4, 'a') + "\\"; };
    EXPECT_EQ(folder(239) + "data\\settings.sf.new", PathOf(folder(239) + "h.exe", "settings.sf.new"));
    EXPECT_EQ(".\\data\\settings.sf", PathOf(folder(240) + "h.exe", "settings.sf"));
}
