// "Setting.DAT" as the game reads it at start-up. Every setting it loads lies in its range, and
// what it saves it reads back unchanged, the text field byte for byte.

#include <cstdlib>

#include "fuzz/game/GameFolder.h"
#include "shell/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    fuzzing::WriteGameFile("Game/Setting.DAT", data, size);
    g_Settings = DefaultSettings();
    if (!LoadSettings(kSettingsFile)) std::abort();
    const SettingsRecord loaded = g_Settings;
    if (loaded.Field[kSpaceCount] < 1 || loaded.Field[kSpaceCount] > 15 || loaded.Field[kFrogCourse] < 0 ||
        loaded.Field[kFrogCourse] > 7 || loaded.Field[kSpaceSpeed] < 1 || loaded.Field[kSpaceSpeed] > 10) {
        std::abort();
    }
    if (!SaveSettings(kSettingsFile)) std::abort();
    g_Settings = DefaultSettings();
    if (!LoadSettings(kSettingsFile)) std::abort();
    if (g_Settings.Text != loaded.Text || g_Settings.Field != loaded.Field) std::abort();
    return 0;
}
