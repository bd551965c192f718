#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "menu/Settings.h"
#include "platform/ProgramFolder.h"
#include "tests/support/TempDir.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The file form of a record: 16-bit text length, the text, eleven 32-bit fields.
Bytes FileBytes(const std::string& text, const std::array<int32_t, 11>& fields) {
    Bytes out;
    out.reserve(2 + text.size() + 44);
    out.push_back(static_cast<uint8_t>(text.size() & 0xFF));
    out.push_back(static_cast<uint8_t>(text.size() >> 8));
    for (char c : text) out.push_back(static_cast<uint8_t>(c));
    for (int32_t f : fields) {
        for (int shift = 0; shift < 32; shift += 8)
            out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(f) >> shift));
    }
    return out;
}

constexpr std::array<int32_t, 11> kValid{5, 300, 30, 2, 6, 10, 4, 8, 7, 12, 0};

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = platform::ProgramFolder();
        platform::SetProgramFolder(dir_.Path());
        std::filesystem::create_directories(dir_.Path() + "Game");
        g_Settings = SettingsRecord{};
    }
    void TearDown() override { platform::SetProgramFolder(saved_); }

    std::string FilePath() const { return dir_.Path() + "Game/Setting.DAT"; }
    void WriteFile(const Bytes& bytes) const {
        std::ofstream(FilePath(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    Bytes ReadFile() const {
        std::ifstream in(FilePath(), std::ios::binary);
        return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    int32_t Loaded(int field, int32_t value) {
        std::array<int32_t, 11> fields = kValid;
        fields[static_cast<size_t>(field - 1)] = value;
        WriteFile(FileBytes("", fields));
        g_Settings = SettingsRecord{};
        EXPECT_TRUE(LoadSettings(kSettingsFile));
        return g_Settings.Field[static_cast<size_t>(field)];
    }

private:
    testsupport::TempDir dir_;
    std::string saved_;
};

TEST_F(SettingsTest, OutOfRangeValuesTakeTheirReplacementsAtLoad) {
    EXPECT_EQ(Loaded(kAppleFail, 30), 30);
    EXPECT_EQ(Loaded(kAppleFail, 4), 10);
    EXPECT_EQ(Loaded(kAppleFail, 51), 10);
    EXPECT_EQ(Loaded(kApplePass, 99), 100);
    EXPECT_EQ(Loaded(kApplePass, 901), 100);
    EXPECT_EQ(Loaded(kApplePass, 900), 900);
    EXPECT_EQ(Loaded(kAppleLevel, -1), 3);
    EXPECT_EQ(Loaded(kFrogLevel, 10), 0);
    EXPECT_EQ(Loaded(kFrogCourse, 8), 3);
    EXPECT_EQ(Loaded(kMoleTime, 0), 1);
    EXPECT_EQ(Loaded(kMoleInterval, 11), 1);
    EXPECT_EQ(Loaded(kMoleInterval, 0), 0);
    EXPECT_EQ(Loaded(kMoleStay, 21), 6);
    EXPECT_EQ(Loaded(kSpaceSpeed, 0), 3);  // the dialog's slider allows 0; the next start does not
    EXPECT_EQ(Loaded(kSpaceCount, 16), 3);
    EXPECT_EQ(Loaded(kSpaceBonus, 5), 5);  // any value other than 0 is "on"
    EXPECT_EQ(Loaded(kSpaceBonus, -7), -7);
}

TEST_F(SettingsTest, TheFileIsWrittenByteForByteAndTheTextComesBackAsRead) {
    // Field 0 holds bytes that are no valid text in any code page; they come back unchanged.
    const std::string text("\x81\xFFzz\x00\xA1", 6);
    const Bytes original = FileBytes(text, kValid);
    WriteFile(original);
    ASSERT_TRUE(LoadSettings(kSettingsFile));
    EXPECT_EQ(g_Settings.Text, text);
    EXPECT_EQ(g_Settings.Field[kApplePass], 300);
    ASSERT_TRUE(SaveSettings(kSettingsFile));
    EXPECT_EQ(ReadFile(), original);
    EXPECT_EQ(ReadFile().size(), 46u + text.size());

    g_Settings.Field[kSpaceSpeed] = 0;
    g_Settings.Field[kSpaceBonus] = -1;
    ASSERT_TRUE(SaveSettings(kSettingsFile));
    std::array<int32_t, 11> changed = kValid;
    changed[kSpaceSpeed - 1] = 0;
    changed[kSpaceBonus - 1] = -1;
    EXPECT_EQ(ReadFile(), FileBytes(text, changed));
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(FilePath().substr(0, FilePath().rfind('/'))),
                            std::filesystem::directory_iterator{}),
              1);
}

TEST_F(SettingsTest, AMissingFileIsCreatedWithTheDefaults) {
    ASSERT_TRUE(LoadSettings(kSettingsFile));
    const SettingsRecord defaults = DefaultSettings();
    EXPECT_EQ(g_Settings.Field, defaults.Field);
    EXPECT_EQ(ReadFile(), FileBytes("", {3, 100, 10, 0, 3, 1, 1, 6, 3, 3, 1}));
    EXPECT_EQ(ReadFile().size(), 46u);
}

TEST_F(SettingsTest, AShortFileLeavesTheMissingFieldsAtTheirValuesThenValidates) {
    Bytes bytes = FileBytes("ab", kValid);
    bytes.resize(2 + 2 + 4 * 3 + 2);  // text, fields 1-3 and half of field 4
    WriteFile(bytes);
    g_Settings.Field.fill(0);
    g_Settings.Field[kMoleStay] = 15;  // in range: kept
    ASSERT_TRUE(LoadSettings(kSettingsFile));
    EXPECT_EQ(g_Settings.Text, "ab");
    EXPECT_EQ(g_Settings.Field[kAppleLevel], 5);
    EXPECT_EQ(g_Settings.Field[kAppleFail], 30);
    EXPECT_EQ(g_Settings.Field[kFrogLevel], 0);  // not read, 0 is in range
    EXPECT_EQ(g_Settings.Field[kMoleStay], 15);
    EXPECT_EQ(g_Settings.Field[kMoleTime], 1);  // not read, 0 replaced
    EXPECT_EQ(g_Settings.Field[kSpaceSpeed], 3);

    // A text length that runs past the end of the file takes what is there and reads no field.
    WriteFile(Bytes{0xFF, 0x00, 'x', 'y'});
    g_Settings = DefaultSettings();
    ASSERT_TRUE(LoadSettings(kSettingsFile));
    EXPECT_EQ(g_Settings.Text, "xy");
    EXPECT_EQ(g_Settings.Field, DefaultSettings().Field);
}

TEST_F(SettingsTest, SavingReplacesALongerOldFileWhole) {
    Bytes longer = FileBytes("old text", kValid);
    longer.insert(longer.end(), 20, 0xEE);
    WriteFile(longer);
    ASSERT_TRUE(LoadSettings(kSettingsFile));
    g_Settings.Text.clear();
    ASSERT_TRUE(SaveSettings(kSettingsFile));
    EXPECT_EQ(ReadFile(), FileBytes("", kValid));
}

}  // namespace
