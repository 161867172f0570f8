// The built-in Windows-1250 table against the host's own (glibc's iconv),
// which leaves out the five unassigned bytes.
#include <gtest/gtest.h>
#include <iconv.h>

#include "app/code_page.h"

TEST(CodePage, UpperHalfMatchesTheHostsWindows1250) {
    iconv_t host = iconv_open("UTF-16LE", "CP1250");
    ASSERT_NE(iconv_t(-1), host);
    for (int byte = 0; byte < 256; ++byte) {
        char in[1] = {char(byte)}, out[4] = {};
        char *from = in, *to = out;
        size_t inLeft = 1, outLeft = sizeof out;
        iconv(host, nullptr, nullptr, nullptr, nullptr);
        const bool assigned = iconv(host, &from, &inLeft, &to, &outLeft) != size_t(-1);
        const char16_t expected = assigned ? char16_t(uint8_t(out[0]) | uint8_t(out[1]) << 8) : char16_t(byte);
        EXPECT_EQ(int(expected), int(Cp1250Char(uint8_t(byte)))) << std::hex << byte;
    }
    iconv_close(host);
}

TEST(CodePage, TextIsConvertedAndCutToTheBuffer) {
    char16_t out[8];
    EXPECT_EQ(6, Cp1250ToUtf16("Spořič", out, 8));
    EXPECT_EQ(std::u16string(u"Spořič"), std::u16string(out));
    EXPECT_EQ(3, Cp1250ToUtf16("Úsporný", out, 4));
    EXPECT_EQ(std::u16string(u"Úsp"), std::u16string(out));
    out[0] = u'x';
    EXPECT_EQ(0, Cp1250ToUtf16("a", out, 0));
    EXPECT_EQ(u'x', out[0]);
}
