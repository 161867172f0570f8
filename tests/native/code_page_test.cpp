// The built-in table against glibc's Windows-1250 (without the unassigned bytes).
#include <gtest/gtest.h>
#include <iconv.h>

#include "base/code_page.h"

TEST(CodePage, MatchesTheHostsWindows1250AndKeepsToTheBuffer) {
    iconv_t host = iconv_open("UTF-16LE", "CP1250");
    ASSERT_NE(iconv_t(-1), host);
    for (int byte = 0; byte < 256; ++byte) {
        char in[1] = {char(byte)}, out[4] = {}, *from = in, *to = out;
        size_t inLeft = 1, outLeft = sizeof out;
        const bool assigned = iconv(host, &from, &inLeft, &to, &outLeft) != size_t(-1);
        EXPECT_EQ(assigned ? uint8_t(out[0]) | uint8_t(out[1]) << 8 : byte, int(Cp1250Char(uint8_t(byte)))) << byte;
    }
    iconv_close(host);
    char16_t text[4] = {u'x'};
    EXPECT_EQ(0, Cp1250ToUtf16("a", text, 0));
    EXPECT_EQ(u'x', text[0]);
    EXPECT_EQ(3, Cp1250ToUtf16("Úsporný", text, 4));
    EXPECT_EQ(std::u16string(u"Úsp"), std::u16string(text));
}
