#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "dialogs/build_stamp.h"
#include "text_print.h"

namespace {

std::string StampOf(const std::string& read, bool opened = true) {
    return Str(BuildStampFrom(read.data(), read.size(), opened));
}

}  // namespace

TEST(BuildStamp, EightCharactersCompleteTheStampAndTheRestIsIgnored) {
    const struct {
        std::string read;
        std::string stamp;
    } cases[] = {
        {"ABCDEFGH", "Build : 012201.ABCDEFGH"},
        {"20060124", "Build : 012201.20060124"},
        // The text-mode read has already made CR LF one line feed.
        {"1234\n5678", "Build : 012201.1234\n567"},
        {"line one\nline two\nline three\n", "Build : 012201.line one"},
        {"\n\n\n\n\n\n\n\nX", "Build : 012201.\n\n\n\n\n\n\n\n"},
        {"        ", "Build : 012201.        "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.stamp, StampOf(c.read)) << c.read;
    }
}

TEST(BuildStamp, FileThatEndsEarlyOrDoesNotOpenGivesQuestionMark) {
    EXPECT_EQ("Build : 012201.?", StampOf("ABCDEFG"));
    EXPECT_EQ("Build : 012201.?", StampOf("A"));
    EXPECT_EQ("Build : 012201.?", StampOf(""));
    EXPECT_EQ("Build : 012201.?", BuildStampFrom(nullptr, 0, true));
    EXPECT_EQ("Build : 012201.?", BuildStampFrom(nullptr, 0, false));
    // Whatever was read does not count when the file is said not to be open.
    EXPECT_EQ("Build : 012201.?", StampOf("ABCDEFGH", false));
}

TEST(BuildStamp, AnyByteIsKeptAsItIs) {
    const std::string read("\0\x80\xFF\x1A\r\t\x9A\x01", 8);
    EXPECT_EQ(std::string("Build : 012201.") + read, StampOf(read));
}

// Buffers of exactly the size given, so that a read past the end shows under
// the address sanitizer.
TEST(BuildStamp, NeverReadsPastWhatWasGiven) {
    for (size_t count = 0; count <= 64; ++count) {
        std::unique_ptr<char[]> chars(new char[count == 0 ? 1 : count]);
        for (size_t i = 0; i < count; ++i) chars[i] = static_cast<char>(0x80 + i * 37);
        const std::string stamp = Str(BuildStampFrom(chars.get(), count, true));
        EXPECT_EQ(count < 8 ? 16u : 23u, stamp.size()) << count;
        EXPECT_EQ(0u, stamp.rfind("Build : 012201.", 0));
    }
    std::string garbage(100000, '\xEE');
    EXPECT_EQ(23u, StampOf(garbage).size());
}
