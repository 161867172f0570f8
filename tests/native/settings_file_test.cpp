#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "settings/settings_file.h"

namespace {

std::vector<uint8_t> FileOf(std::initializer_list<int32_t> values) {
    std::vector<uint8_t> bytes;
    for (int32_t value : values) {
        const auto bits = static_cast<uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(bits >> shift));
    }
    return bytes;
}

bool Decode(const std::vector<uint8_t>& bytes, Settings& settings) {
    return DecodeSettings(bytes.data(), bytes.size(), settings);
}

}  // namespace

TEST(SettingsFile, EncodesFiveLittleEndianValuesInFileOrder) {
    Settings settings;
    settings.askConfirmation = 1;
    settings.showClock = 1;
    settings.warnBeforeAction = 1;
    settings.warningSeconds = 9999;
    uint8_t bytes[kSettingsFileSize];
    EncodeSettings(settings, bytes);
    EXPECT_EQ(FileOf({1, 0, 1, 1, 9999}), std::vector<uint8_t>(bytes, bytes + 20));
    EXPECT_EQ(0x0F, bytes[16]);
    EXPECT_EQ(0x27, bytes[17]);
}

TEST(SettingsFile, RoundTripsEveryValidRecord) {
    for (int flags = 0; flags < 16; ++flags) {
        for (int32_t seconds : {0, 1, 30, 4321, 9999}) {
            Settings in;
            in.askConfirmation = flags & 1;
            in.useCountdown = (flags >> 1) & 1;
            in.showClock = (flags >> 2) & 1;
            in.warnBeforeAction = (flags >> 3) & 1;
            in.warningSeconds = seconds;
            uint8_t bytes[kSettingsFileSize];
            EncodeSettings(in, bytes);
            Settings out;
            ASSERT_TRUE(DecodeSettings(bytes, sizeof bytes, out));
            EXPECT_EQ(0, std::memcmp(&in, &out, sizeof in));
        }
    }
}

TEST(SettingsFile, RefusesValuesOutOfRangeAndLeavesTheRecord) {
    const std::vector<std::vector<uint8_t>> refused = {
        FileOf({2, 0, 0, 0, 0}),  FileOf({0, -1, 0, 0, 0}), FileOf({0, 0, 256, 0, 0}),
        FileOf({0, 0, 0, 3, 0}),  FileOf({0, 0, 0, 0, 10000}), FileOf({0, 0, 0, 0, -1}),
        FileOf({0, 0, 0, 0, INT32_MIN}), FileOf({1, 1, 1, 1, INT32_MAX}),
    };
    for (const auto& bytes : refused) {
        Settings settings;
        settings.warningSeconds = 42;
        EXPECT_FALSE(Decode(bytes, settings));
        EXPECT_EQ(42, settings.warningSeconds);
        EXPECT_EQ(0, settings.askConfirmation);
    }
}

TEST(SettingsFile, AcceptsTheLimits) {
    Settings settings;
    EXPECT_TRUE(Decode(FileOf({1, 1, 1, 1, 9999}), settings));
    EXPECT_EQ(9999, settings.warningSeconds);
    EXPECT_TRUE(Decode(FileOf({0, 0, 0, 0, 0}), settings));
    EXPECT_EQ(0, settings.warningSeconds);
}

TEST(SettingsFile, IgnoresBytesAfterTheTwentieth) {
    auto bytes = FileOf({1, 0, 0, 1, 30, 77});
    Settings settings;
    EXPECT_TRUE(Decode(bytes, settings));
    EXPECT_EQ(30, settings.warningSeconds);
    bytes[20] = 0xFF;  // garbage there changes nothing
    EXPECT_TRUE(Decode(bytes, settings));
}

// Values the file does not hold completely are not read: they keep what the
// record had, 0 at start-up.
TEST(SettingsFile, ShortOrCutFilesKeepTheUnreadValues) {
    Settings settings;
    EXPECT_TRUE(Decode(FileOf({1, 1, 1}), settings));
    EXPECT_EQ(1, settings.showClock);
    EXPECT_EQ(0, settings.warnBeforeAction);
    EXPECT_EQ(0, settings.warningSeconds);

    Settings fresh;
    auto cut = FileOf({1, 0, 0, 1, 9999});
    cut.resize(18);
    EXPECT_TRUE(Decode(cut, fresh));
    EXPECT_EQ(1, fresh.warnBeforeAction);
    EXPECT_EQ(0, fresh.warningSeconds);

    Settings empty;
    empty.warningSeconds = 12;
    EXPECT_TRUE(DecodeSettings(nullptr, 0, empty));
    EXPECT_EQ(12, empty.warningSeconds);
}

// A bounded random test of the decoder: 100000 files of 0 to 32 bytes, half of
// them built from valid values with one byte changed.  Each is either accepted
// with every value in range, or refused with the record untouched, and a file
// that is accepted encodes back to its own first 20 bytes.
TEST(SettingsFile, RandomFilesAreAcceptedByTheRulesOrRefusedWithoutChange) {
    std::mt19937 random(20061207);
    int accepted = 0;
    for (int run = 0; run < 100000; ++run) {
        std::vector<uint8_t> bytes;
        if (run % 2 == 0) {
            bytes = FileOf({static_cast<int32_t>(random() % 2), static_cast<int32_t>(random() % 2),
                            static_cast<int32_t>(random() % 2), static_cast<int32_t>(random() % 2),
                            static_cast<int32_t>(random() % 10000)});
            bytes[random() % 20] ^= static_cast<uint8_t>(1u << (random() % 8));
            bytes.resize(random() % 25);
        } else {
            bytes.resize(random() % 33);
            for (auto& b : bytes) b = static_cast<uint8_t>(random() % 3 == 0 ? random() : random() % 2);
        }
        Settings before;
        Settings settings = before;
        if (Decode(bytes, settings)) {
            ++accepted;
            for (int32_t flag : {settings.askConfirmation, settings.useCountdown, settings.showClock,
                                 settings.warnBeforeAction}) {
                ASSERT_TRUE(flag == 0 || flag == 1);
            }
            ASSERT_TRUE(settings.warningSeconds >= 0 && settings.warningSeconds <= 9999);
            if (bytes.size() >= 20) {
                uint8_t encoded[kSettingsFileSize];
                EncodeSettings(settings, encoded);
                ASSERT_EQ(0, std::memcmp(encoded, bytes.data(), 20));
            }
        } else {
            ASSERT_EQ(0, std::memcmp(&before, &settings, sizeof before));
        }
    }
    EXPECT_GT(accepted, 1000);
}

// The zips ship data/settings.sf, so that a program unpacked where its user
// cannot write starts all the same: it must be the very file a first start
// writes, the settings the program starts with.
TEST(SettingsFile, ShippedFileIsTheOneAFirstStartWrites) {
    const char path[] = HALVEXOR_SOURCE_DIR "/data/settings.sf";
    std::ifstream file(path, std::ios::binary);
    ASSERT_TRUE(file) << path;
    const std::vector<uint8_t> shipped{std::istreambuf_iterator<char>(file),
                                       std::istreambuf_iterator<char>()};
    uint8_t bytes[kSettingsFileSize];
    EncodeSettings(Settings{}, bytes);
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + kSettingsFileSize), shipped);
}
