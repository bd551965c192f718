#pragma once
#include <array>
#include <cstdint>
#include <string>

// The settings record: one text field (kept as the bytes read) and eleven 32-bit settings.
struct SettingsRecord {
    std::string Text;                 // field 0, ANSI bytes, carried through load and save
    std::array<int32_t, 12> Field{};  // fields 1..11 (index 0 unused)
};

enum SettingField : int {
    kAppleLevel = 1,
    kApplePass = 2,
    kAppleFail = 3,
    kFrogLevel = 4,
    kFrogCourse = 5,
    kMoleTime = 6,
    kMoleInterval = 7,
    kMoleStay = 8,
    kSpaceSpeed = 9,
    kSpaceCount = 10,
    kSpaceBonus = 11,
};

extern SettingsRecord g_Settings;

// The default value of every field (bonus mode on).
SettingsRecord DefaultSettings();
// Reads the file (a name in the player's settings folder, PlayerConfigFolder) into g_Settings and
// replaces out-of-range values. A missing file is created with the default values. A file that
// cannot be read gives the defaults and a warning line on stderr, and is never written over.
bool LoadSettings(const std::string& fileName);
// Writes g_Settings; the old file is replaced only once the new one is completely written, and a
// read-only file is left alone. The first failed save of a run tells the player why.
bool SaveSettings(const std::string& fileName);

// Tells the player that the settings file at `path` could not be saved, and why: once a run,
// whichever of the settings' files fails first.
void TellSettingsSaveFailure(const std::string& path, const std::string& reason);

inline constexpr const char* kSettingsFile = "Setting.DAT";
