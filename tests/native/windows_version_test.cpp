#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "dialogs/windows_version.h"
#include "text_print.h"

namespace {

VersionFacts Nt(uint32_t major, uint32_t minor, uint32_t build, const char* csd, uint8_t productType) {
    VersionFacts facts;
    facts.platformId = kVersionPlatformNt;
    facts.major = major;
    facts.minor = minor;
    facts.build = build;
    facts.csdVersion = csd;
    facts.extended = true;
    facts.productType = productType;
    return facts;
}

// Only the plain record: the edition comes from the registry, if at all.
VersionFacts PlainNt(uint32_t major, uint32_t minor, std::optional<Text> registry) {
    VersionFacts facts = Nt(major, minor, 1381, "Service Pack 6", 0);
    facts.extended = false;
    facts.registryProductType = std::move(registry);
    return facts;
}

VersionFacts Nine(uint32_t major, uint32_t minor) {
    VersionFacts facts;
    facts.platformId = kVersionPlatformWindows;
    facts.major = major;
    facts.minor = minor;
    facts.build = 0x040A0000u | 2222;
    facts.csdVersion = " A ";
    return facts;
}

}  // namespace

struct NameCase {
    const char* label;
    VersionFacts facts;
    const char* name;
};

TEST(WindowsVersion, NtPlatformNameAndEdition) {
    const NameCase cases[] = {
        {"XP Professional", Nt(5, 1, 2600, "Service Pack 2", 1), "Windows XP Professional"},
        // The suite mask is not looked at: a home edition is a workstation.
        {"XP Home", Nt(5, 1, 2600, "Service Pack 1", 1), "Windows XP Professional"},
        {"2000 Server", Nt(5, 0, 2195, "Service Pack 4", 3), "Windows 2000 Server"},
        {"2000 domain controller", Nt(5, 0, 2195, "", 2), "Windows 2000"},
        {"2000 unknown product", Nt(5, 0, 2195, "", 0), "Windows 2000"},
        {"NT 4 extended", Nt(4, 0, 1381, "Service Pack 6", 1), "Windows NT Professional"},
        {"NT 3.51", Nt(3, 51, 1057, "", 3), "Windows NT Server"},
        {"6.1 named like 5.1", Nt(6, 1, 7601, "Service Pack 1", 1), "Windows XP Professional"},
        {"4.1 named XP, later test wins", Nt(4, 1, 1, "", 1), "Windows XP Professional"},
        {"5.2 server: only the edition", Nt(5, 2, 3790, "", 3), " Server"},
        {"6.0: only the edition", Nt(6, 0, 6002, "", 1), " Professional"},
        {"6.2 domain controller: nothing", Nt(6, 2, 9200, "", 2), ""},
        {"NT 4 registry WinNT", PlainNt(4, 0, "WinNT"), "Windows NT Workstation"},
        {"registry upper case", PlainNt(4, 0, "WINNT"), "Windows NT Workstation"},
        {"registry ServerNT", PlainNt(4, 0, "ServerNT"), "Windows NT Server"},
        {"registry serverNT", PlainNt(5, 0, "serverNT"), "Windows 2000 Server"},
        {"registry LanmanNT", PlainNt(4, 0, "LanmanNT"), "Windows NT"},
        {"registry prefix only", PlainNt(4, 0, "WinNTx"), "Windows NT"},
        {"registry shorter", PlainNt(4, 0, "WinN"), "Windows NT"},
        {"registry empty", PlainNt(4, 0, ""), "Windows NT"},
        {"registry missing", PlainNt(4, 0, std::nullopt), "Windows NT"},
        {"registry with a NUL inside", PlainNt(4, 0, Text("WinNT\0x", 7)), "Windows NT"},
        {"registry high bytes", PlainNt(4, 0, "W\xC9NNT"), "Windows NT"},
    };
    for (const auto& c : cases) {
        const WindowsVersionTexts texts = WindowsVersionTextsFor(c.facts);
        EXPECT_TRUE(texts.setPlatformName) << c.label;
        EXPECT_EQ(c.name, texts.platformName) << c.label;
        EXPECT_TRUE(texts.setVersionLine) << c.label;
    }
}

// The extended record decides alone; a registry value that happens to be
// known is ignored then.
TEST(WindowsVersion, RegistryCountsOnlyWithoutTheExtendedRecord) {
    VersionFacts facts = Nt(5, 0, 2195, "", 2);
    facts.registryProductType = "ServerNT";
    EXPECT_EQ("Windows 2000", WindowsVersionTextsFor(facts).platformName);
    EXPECT_FALSE(NeedsRegistryProductType(facts));

    EXPECT_TRUE(NeedsRegistryProductType(PlainNt(4, 0, std::nullopt)));
    VersionFacts nine = Nine(4, 10);
    EXPECT_FALSE(NeedsRegistryProductType(nine)) << "only the NT line has the value";
}

TEST(WindowsVersion, VersionLineUsesTheLowSixteenBitsOfTheBuild) {
    const struct {
        VersionFacts facts;
        const char* line;
    } cases[] = {
        {Nt(5, 1, 2600, "Service Pack 2", 1), "verze 5.1 Service Pack 2 (Build 2600)\n"},
        {Nt(5, 0, 2195, "", 1), "verze 5.0  (Build 2195)\n"},
        {Nt(5, 1, 0x05010A28u, "Service Pack 3", 1), "verze 5.1 Service Pack 3 (Build 2600)\n"},
        {Nt(6, 1, 0x1FFFFu, "", 1), "verze 6.1  (Build 65535)\n"},
        {Nt(6, 1, 0x10000u, "", 1), "verze 6.1  (Build 0)\n"},
        {Nt(10, 0, 0xFFFFFFFFu, "", 1), "verze 10.0  (Build 65535)\n"},
        {Nt(5, 1, 2600, "%s %d %n", 1), "verze 5.1 %s %d %n (Build 2600)\n"},
        {PlainNt(4, 0, "WinNT"), "verze 4.0 Service Pack 6 (Build 1381)\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.line, WindowsVersionTextsFor(c.facts).versionLine);
    }
    // The longest service-pack text the record can hold fits whole.
    const std::string csd(kCsdVersionCapacity - 1, 'S');
    EXPECT_EQ("verze 5.1 " + csd + " (Build 2600)\n",
              WindowsVersionTextsFor(Nt(5, 1, 2600, csd.c_str(), 1)).versionLine);
}

TEST(WindowsVersion, OtherPlatformsSetOnlyTheNameOrNothing) {
    const struct {
        const char* label;
        VersionFacts facts;
        bool setName;
        const char* name;
    } cases[] = {
        {"95", Nine(4, 0), true, "Microsoft Windows 95"},
        {"98", Nine(4, 10), true, "Microsoft Windows 98"},
        {"ME", Nine(4, 90), true, "Microsoft Windows ME"},
        {"4.3", Nine(4, 3), false, ""},
        {"5.0 of the 9x line", Nine(5, 0), false, ""},
        {"3.10 of the 9x line", Nine(3, 10), false, ""},
        {"Win32s", [] { VersionFacts f = Nine(1, 0); f.platformId = 0; return f; }(), true,
         "Microsoft Win32"},
        {"platform 3", [] { VersionFacts f = Nt(5, 1, 2600, "", 1); f.platformId = 3; return f; }(),
         false, ""},
        {"platform 0xFFFFFFFF",
         [] { VersionFacts f = Nt(5, 1, 2600, "", 1); f.platformId = 0xFFFFFFFFu; return f; }(),
         false, ""},
    };
    for (const auto& c : cases) {
        const WindowsVersionTexts texts = WindowsVersionTextsFor(c.facts);
        EXPECT_EQ(c.setName, texts.setPlatformName) << c.label;
        EXPECT_EQ(c.name, texts.platformName) << c.label;
        EXPECT_FALSE(texts.setVersionLine) << c.label;
    }
}

// Buffers of exactly the capacity given, so that a read past the end shows
// under the address sanitizer.
TEST(WindowsVersion, TextFromBufferStopsAtNulOrAtTheEnd) {
    for (size_t capacity : {kProductTypeCapacity, kCsdVersionCapacity, size_t{1}}) {
        std::unique_ptr<char[]> full(new char[capacity]);
        for (size_t i = 0; i < capacity; ++i) full[i] = static_cast<char>(0x80 | i);
        EXPECT_EQ(std::string(full.get(), capacity), TextFromBuffer(full.get(), capacity));
        full[0] = '\0';
        EXPECT_EQ("", TextFromBuffer(full.get(), capacity));
    }
    const char value[kProductTypeCapacity] = "WinNT";
    EXPECT_EQ("WinNT", TextFromBuffer(value, sizeof value));
    EXPECT_EQ("Wi", TextFromBuffer(value, 2));
    EXPECT_EQ("", TextFromBuffer(value, 0));
    EXPECT_EQ("", TextFromBuffer(nullptr, 80));

    // An unterminated registry value of the full buffer is compared as read.
    const char serverNt[8] = {'S', 'E', 'R', 'V', 'E', 'R', 'N', 'T'};
    EXPECT_EQ("Windows NT Server",
              WindowsVersionTextsFor(PlainNt(4, 0, TextFromBuffer(serverNt, sizeof serverNt)))
                  .platformName);
}
