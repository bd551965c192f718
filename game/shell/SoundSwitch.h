#pragma once
#include <string>

namespace platform {
struct Message;
}

// The player's sound switch: Ctrl+M on every screen (and the main menu's speaker button) silences
// music and effects at once and brings them back. The choice is kept for the next start in a
// small file of its own beside the settings file.
class SoundSwitch {
public:
    // The file in the player's configuration folder that keeps the choice.
    static constexpr const char* kFileName = "sound.ini";

    // Applies the choice of the last run to the sound engine; in a scripted run it also adds the
    // verb "sound", which prints the engine's status line.
    static void Restore();
    static bool Muted();
    // Flips the choice, applies it and keeps it.
    static void Toggle();
    // Takes Ctrl+M and the letter it would type, so the key never reaches a screen as a letter.
    // True when the message was taken.
    static bool TakeKey(const platform::Message& msg);

private:
    static std::string FilePath();
};
