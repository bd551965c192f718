#include "shell/Settings.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/BinaryFile.h"
#include "platform/CodePage.h"
#include "platform/MessageBox.h"
#include "platform/PlayerFiles.h"

SettingsRecord g_Settings;

namespace {

constexpr size_t kFieldCount = 11;
constexpr size_t kMaxText = 0xFFFF;
constexpr size_t kMaxFileBytes = 2 + kMaxText + 4 * kFieldCount;

struct Rule {
    int field;
    int32_t low;
    int32_t high;
    int32_t replacement;
};

// Checked in this order; a value outside its range takes the replacement.
constexpr Rule kRules[] = {
    {kApplePass, 100, 900, 100}, {kAppleFail, 5, 50, 10}, {kAppleLevel, 0, 9, 3},    {kFrogCourse, 0, 7, 3},
    {kFrogLevel, 0, 9, 0},       {kMoleStay, 1, 20, 6},   {kMoleInterval, 0, 10, 1}, {kMoleTime, 1, 30, 1},
    {kSpaceSpeed, 1, 10, 3},     {kSpaceCount, 1, 15, 3},
};

// Replaces the values outside their ranges; the fields replaced are added to `broken`.
void Validate(SettingsRecord& record, std::string& broken) {
    for (const Rule& rule : kRules) {
        int32_t& value = record.Field[static_cast<size_t>(rule.field)];
        if (value < rule.low || value > rule.high) {
            value = rule.replacement;
            broken += " " + std::to_string(rule.field);
        }
    }
}

// Reads what the file holds into `record`: fields it is too short for keep their values. The
// number of fields 1..11 the file holds whole.
size_t Parse(const std::vector<uint8_t>& bytes, SettingsRecord& record) {
    if (bytes.size() < 2) return 0;
    const size_t n = bytes[0] | (static_cast<size_t>(bytes[1]) << 8);
    const size_t textEnd = std::min(bytes.size(), 2 + n);
    record.Text.assign(bytes.begin() + 2, bytes.begin() + static_cast<std::ptrdiff_t>(textEnd));
    size_t pos = 2 + n;
    size_t field = 1;
    for (; field <= kFieldCount; ++field, pos += 4) {
        if (pos + 4 > bytes.size()) break;
        const uint32_t raw = bytes[pos] | (static_cast<uint32_t>(bytes[pos + 1]) << 8) |
                             (static_cast<uint32_t>(bytes[pos + 2]) << 16) |
                             (static_cast<uint32_t>(bytes[pos + 3]) << 24);
        record.Field[field] = static_cast<int32_t>(raw);
    }
    return field - 1;
}

std::vector<uint8_t> Serialise(const SettingsRecord& record) {
    const size_t n = std::min(record.Text.size(), kMaxText);
    std::vector<uint8_t> bytes;
    bytes.reserve(2 + n + 4 * kFieldCount);
    bytes.push_back(static_cast<uint8_t>(n & 0xFF));
    bytes.push_back(static_cast<uint8_t>(n >> 8));
    bytes.insert(bytes.end(), record.Text.begin(), record.Text.begin() + static_cast<std::ptrdiff_t>(n));
    for (size_t field = 1; field <= kFieldCount; ++field) {
        const auto raw = static_cast<uint32_t>(record.Field[field]);
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(raw >> shift));
    }
    return bytes;
}

// A file that could not be read at start may still hold settings worth keeping: it is never
// written over during this run.
bool g_keepFile = false;
std::string g_keepReason;
// The player hears of a failed save once a run, not at every change.
bool g_toldSaveFailure = false;

}  // namespace

void TellSettingsSaveFailure(const std::string& path, const std::string& reason) {
    if (g_toldSaveFailure) return;
    g_toldSaveFailure = true;
    platform::ShowMessageBox(
        u"设置无法保存：" + platform::FromUtf8OrAnsi(path) + u"\r\n" + platform::FromUtf8OrAnsi(reason),
        platform::ApplicationTitle(), platform::MessageIcon::Error);
}

SettingsRecord DefaultSettings() {
    SettingsRecord record;
    record.Field = {0, 3, 100, 10, 0, 3, 1, 1, 6, 3, 3, 1};
    return record;
}

bool LoadSettings(const std::string& fileName) {
    g_keepFile = false;
    g_toldSaveFailure = false;
    const std::string path = platform::PlayerConfigFolder() + fileName;
    std::vector<uint8_t> bytes;
    std::string why;
    switch (platform::ReadBinaryFile(path, kMaxFileBytes, bytes, &why)) {
    case platform::ReadResult::Missing:
        g_Settings = DefaultSettings();
        return SaveSettings(fileName);
    case platform::ReadResult::Failed:
        g_Settings = DefaultSettings();
        g_keepFile = true;
        g_keepReason = why;
        std::fprintf(
            stderr,
            "glyphor_police: cannot read %s (%s): the default settings are used and the file is left as it is\n",
            path.c_str(), why.c_str());
        return false;
    case platform::ReadResult::Ok:
        break;
    }
    // What the file lacks or holds out of range takes the default; the file itself stays as it
    // is until the player changes a setting.
    g_Settings = DefaultSettings();
    const size_t read = Parse(bytes, g_Settings);
    std::string broken;
    Validate(g_Settings, broken);
    if (read < kFieldCount || !broken.empty()) {
        std::string what = read < kFieldCount ? "it holds " + std::to_string(read) + " of its 11 fields" : "";
        if (!broken.empty()) what += (what.empty() ? "" : ", ") + std::string("fields out of range:") + broken;
        std::fprintf(stderr, "glyphor_police: %s is damaged (%s): the default settings are used for what it lacks\n",
                     path.c_str(), what.c_str());
    }
    return true;
}

bool SaveSettings(const std::string& fileName) {
    const std::string path = platform::PlayerConfigFolder() + fileName;
    std::string why;
    if (g_keepFile) {
        why = "it could not be read at start (" + g_keepReason + ") and is left as it is";
    } else if (platform::ReplaceBinaryFile(path, Serialise(g_Settings), &why)) {
        return true;
    }
    TellSettingsSaveFailure(path, why);
    return false;
}
