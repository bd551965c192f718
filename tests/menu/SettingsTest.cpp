#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "platform/ProgramFolder.h"
#include "shell/Settings.h"
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
    std::string GameFolder() const { return dir_.Path() + "Game"; }
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

// An empty file, a short one and one with a field out of range: whatever g_Settings held
// before, the fields the file lacks or breaks take their defaults, one warning line says so, and
// the file is left exactly as it is until a setting changes.
TEST_F(SettingsTest, AShortEmptyOrBrokenFileGivesTheDefaultsOneWarningAndIsLeftAsItIs) {
    Bytes shortFile = FileBytes("ab", kValid);
    shortFile.resize(2 + 2 + 4 * 3 + 2);  // text, fields 1-3 and half of field 4
    std::array<int32_t, 11> broken = kValid;
    broken[kFrogCourse - 1] = 9;
    const SettingsRecord defaults = DefaultSettings();
    for (const Bytes& bytes : {Bytes{}, Bytes{0x05}, Bytes{0xFF, 0x00, 'x', 'y'}, shortFile, FileBytes("", broken)}) {
        WriteFile(bytes);
        g_Settings.Field.fill(0);
        g_Settings.Field[kMoleStay] = 15;
        ::testing::internal::CaptureStderr();
        ASSERT_TRUE(LoadSettings(kSettingsFile));
        const std::string said = ::testing::internal::GetCapturedStderr();
        const bool isShort = bytes == shortFile;
        if (isShort) {
            EXPECT_EQ(g_Settings.Text, "ab");
            EXPECT_EQ(g_Settings.Field[kAppleLevel], 5);
            EXPECT_EQ(g_Settings.Field[kAppleFail], 30);
            for (int field = kFrogLevel; field <= kSpaceBonus; ++field) {
                EXPECT_EQ(g_Settings.Field[static_cast<size_t>(field)], defaults.Field[static_cast<size_t>(field)])
                    << "field " << field;
            }
        } else if (bytes.size() < 46) {
            EXPECT_EQ(g_Settings.Field, defaults.Field) << bytes.size() << " bytes";
        } else {
            EXPECT_EQ(g_Settings.Field[kFrogCourse], defaults.Field[kFrogCourse]);
            EXPECT_EQ(g_Settings.Field[kMoleStay], kValid[kMoleStay - 1]);
        }
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_NE(said.find(FilePath()), std::string::npos) << said;
        EXPECT_EQ(ReadFile(), bytes) << "the file is left as it is";
    }
    // A setting changed by the player writes the whole record.
    g_Settings.Field[kSpaceSpeed] = 7;
    ASSERT_TRUE(SaveSettings(kSettingsFile));
    EXPECT_EQ(ReadFile().size(), 46u);
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

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST_F(SettingsTest, AnUnreadableFileGivesTheDefaultsOneWarningAndIsNeverWritten) {
    // A folder in the file's place cannot be read by anyone, the superuser included.
    std::filesystem::create_directories(FilePath());
    testing::internal::CaptureStderr();
    EXPECT_FALSE(LoadSettings(kSettingsFile));
    const std::string warning = testing::internal::GetCapturedStderr();
    EXPECT_EQ(g_Settings.Field, DefaultSettings().Field);
    EXPECT_EQ(Count(warning, "\n"), 1u) << warning;
    EXPECT_NE(warning.find("Setting.DAT"), std::string::npos) << warning;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(SaveSettings(kSettingsFile));
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(std::filesystem::is_directory(FilePath()));
    std::filesystem::remove(FilePath());

    // A file without read permission: only meaningful when the tests do not run as root.
    if (geteuid() == 0) return;
    const Bytes original = FileBytes("mine", kValid);
    WriteFile(original);
    chmod(FilePath().c_str(), 0);
    g_Settings = SettingsRecord{};
    testing::internal::CaptureStderr();
    EXPECT_FALSE(LoadSettings(kSettingsFile));
    EXPECT_FALSE(SaveSettings(kSettingsFile));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(g_Settings.Field, DefaultSettings().Field);
    chmod(FilePath().c_str(), 0600);
    EXPECT_EQ(ReadFile(), original);
}

TEST_F(SettingsTest, AReadOnlyFileIsKeptAsItIsAndThePlayerIsToldOnce) {
    const Bytes original = FileBytes("", kValid);
    WriteFile(original);
    chmod(FilePath().c_str(), 0444);
    ASSERT_TRUE(LoadSettings(kSettingsFile));
    EXPECT_EQ(g_Settings.Field[kApplePass], 300);
    g_Settings.Field[kApplePass] = 400;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(SaveSettings(kSettingsFile));
    EXPECT_FALSE(SaveSettings(kSettingsFile));
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Count(told, "设置无法保存"), 1u) << told;
    EXPECT_NE(told.find("read-only"), std::string::npos) << told;
    EXPECT_EQ(ReadFile(), original);
    struct stat st {};
    ASSERT_EQ(stat(FilePath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);

    // A writable file keeps its permissions when it is replaced.
    chmod(FilePath().c_str(), 0640);
    ASSERT_TRUE(SaveSettings(kSettingsFile));
    ASSERT_EQ(stat(FilePath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadFile()[6], 400 & 0xFF);
}

// Runs `body` in a child process with a mount namespace of its own, its standard error in
// `errFile`; the child's text result ("" when all went well) comes back.
std::string InMountNamespace(const std::string& errFile, const std::function<std::string()>& body) {
    const std::string resultFile = errFile + ".result";
    const pid_t child = fork();
    if (child == 0) {
        std::string result = "skip";
        if (unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0) {
            std::FILE* err = std::freopen(errFile.c_str(), "w", stderr);
            result = err ? body() : "no stderr file";
            std::fflush(stderr);
        }
        std::ofstream(resultFile) << result;
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    std::ifstream in(resultFile);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string FileText(const std::string& path) {
    std::ifstream in(path);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST_F(SettingsTest, AFullDiskOrAReadOnlyFolderKeepsTheOldFileAndSaysWhy) {
    const Bytes original = FileBytes("", kValid);
    const std::string errFile = GameFolder() + ".stderr";
    const std::string result = InMountNamespace(errFile, [&]() -> std::string {
        // A two-page file system: the settings file takes one page, a filler the other.
        if (mount("tmpfs", GameFolder().c_str(), "tmpfs", 0, "size=8k") != 0) return "skip";
        WriteFile(original);
        {
            std::ofstream filler(GameFolder() + "/filler", std::ios::binary);
            const std::string block(4096, 'x');
            for (int i = 0; i < 4 && filler; ++i) filler << block;
        }
        if (!LoadSettings(kSettingsFile)) return "load failed";
        g_Settings.Field[kApplePass] = 400;
        if (SaveSettings(kSettingsFile)) return "saved on a full disk";
        if (SaveSettings(kSettingsFile)) return "saved on a full disk twice";
        if (ReadFile() != original) return "old file changed on a full disk";

        std::filesystem::remove(GameFolder() + "/filler");
        if (mount(nullptr, GameFolder().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) return "no remount";
        if (!LoadSettings(kSettingsFile)) return "load failed read-only";
        g_Settings.Field[kApplePass] = 400;
        if (SaveSettings(kSettingsFile)) return "saved in a read-only folder";
        if (ReadFile() != original) return "old file changed in a read-only folder";
        return "";
    });
    if (result == "skip") GTEST_SKIP() << "no mount namespace here";
    EXPECT_EQ(result, "");
    const std::string told = FileText(errFile);
    EXPECT_EQ(Count(told, "设置无法保存"), 2u) << told;  // once for each run's first failure
    EXPECT_NE(told.find("No space left on device"), std::string::npos) << told;
    EXPECT_NE(told.find("Read-only file system"), std::string::npos) << told;
}

}  // namespace
