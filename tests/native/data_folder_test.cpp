#include <gtest/gtest.h>

#include <string>

#include "base/data_folder.h"

namespace {

// Shift-JIS: 0x95 0x5C is one character, whose second byte is a backslash.
bool ShiftJisLead(unsigned char byte) { return byte == 0x95; }

std::string PathOf(bool currentHasData, const std::string& module, const char* name,
                   LeadBytePredicate lead = nullptr) {
    char prefix[kDataPathCapacity];
    char path[kDataPathCapacity];
    ChooseDataPrefix(currentHasData, module.c_str(), lead, prefix);
    JoinDataPath(prefix, name, path);
    return path;
}

}  // namespace

TEST(DataFolder, CurrentDirectoryFirstThenTheProgramsFolderWhereEveryPathFits) {
    const std::string folder239 = "C:\\" + std::string(235, 'a') + "\\";  // its backslash included
    const std::string folder240 = "C:\\" + std::string(236, 'a') + "\\";
    EXPECT_EQ(".\\data\\tr.bf", PathOf(true, "C:\\Nástroje\\halvexor.exe", "tr.bf"));
    EXPECT_EQ("C:\\Nástroje\\data\\tr.bf", PathOf(false, "C:\\Nástroje\\halvexor.exe", "tr.bf"));
    EXPECT_EQ(".\\data\\tr.bf", PathOf(false, "halvexor.exe", "tr.bf"));
    EXPECT_EQ("C:\\Tools\\data\\tr.bf", PathOf(false, "C:\\Tools\\\x95\\.exe", "tr.bf", ShiftJisLead));
    // The longest name still fits beside a folder of 239 characters, not 240.
    EXPECT_EQ(folder239 + "data\\settings.sf.new", PathOf(false, folder239 + "h.exe", "settings.sf.new"));
    EXPECT_EQ(".\\data\\settings.sf.new", PathOf(false, folder240 + "h.exe", "settings.sf.new"));
}
