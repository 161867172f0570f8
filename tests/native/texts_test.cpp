// The program's texts are written in UTF-8 and must be stored in Windows-1250,
// as the system's single-byte functions expect them.
#include <gtest/gtest.h>

#include <cstring>

TEST(Texts, CzechLettersAreStoredInWindows1250) {
    EXPECT_STREQ("Opravdu ukon\xE8it?", "Opravdu ukončit?");
    EXPECT_STREQ("\xDAsporn\xFD re\x9Eim", "Úsporný režim");
    EXPECT_STREQ("Spo\xF8i\xE8 obrazovky", "Spořič obrazovky");
    EXPECT_STREQ("D\xE9le ne\x9E rok...", "Déle než rok...");
    EXPECT_EQ(13u, std::strlen("Úsporný režim")) << "one byte per letter";
}
