#include "shell/SoundSwitch.h"

#include <cstdio>
#include <vector>

#include "engine/SoundEngine.h"
#include "platform/BinaryFile.h"
#include "platform/Message.h"
#include "platform/MessageQueue.h"
#include "platform/PlayerFiles.h"
#include "platform/ScriptRunner.h"
#include "shell/Globals.h"
#include "shell/ScriptVerbs.h"
#include "shell/Settings.h"

namespace {

constexpr const char* kMutedLine = "muted=1\n";
constexpr const char* kSoundingLine = "muted=0\n";
constexpr size_t kMaxFileBytes = 64;
constexpr uint32_t kKeyM = 'M';
constexpr uint32_t kRepeatBit = 1U << 30;

bool g_muted = false;
// Set while the letter typed by a taken Ctrl+M, and its release, are still to come.
bool g_takingChars = false;
bool g_takingRelease = false;

void Apply() {
    if (g_Sound) g_Sound->SetMuted(g_muted);
}

bool PrintStatus(const std::string& args) {
    if (!args.empty() || !g_Sound) return false;
    std::printf("%s\n", g_Sound->Status().c_str());
    std::fflush(stdout);
    return true;
}

}  // namespace

std::string SoundSwitch::FilePath() { return platform::PlayerConfigFolder() + kFileName; }

void SoundSwitch::Restore() {
    // Anything but the muted line, a missing file included, leaves the sound on.
    std::vector<uint8_t> bytes;
    g_muted = platform::ReadBinaryFile(FilePath(), kMaxFileBytes, bytes) == platform::ReadResult::Ok &&
              std::string(bytes.begin(), bytes.end()).rfind("muted=1", 0) == 0;
    Apply();
    if (platform::ScriptRunner::Active()) RegisterScriptVerb("sound", &PrintStatus);
}

bool SoundSwitch::Muted() { return g_muted; }

void SoundSwitch::Toggle() {
    g_muted = !g_muted;
    Apply();
    const std::string line = g_muted ? kMutedLine : kSoundingLine;
    std::string why;
    // The player hears of it as of any other setting that cannot be kept, once a run.
    if (!platform::ReplaceBinaryFile(FilePath(), std::vector<uint8_t>(line.begin(), line.end()), &why))
        TellSettingsSaveFailure(FilePath(), why);
}

bool SoundSwitch::TakeKey(const platform::Message& msg) {
    const auto& queue = platform::MessageQueue::Instance();
    switch (msg.message) {
    case platform::WM_KEYDOWN:
        g_takingChars = false;
        if (msg.wParam != kKeyM || !queue.IsKeyDown(platform::VK_CONTROL) || queue.IsKeyDown(platform::VK_MENU))
            return false;
        // Taken before the switch: a message box about keeping it reads the letter and release.
        g_takingChars = true;
        g_takingRelease = true;
        if ((msg.lParam & kRepeatBit) == 0) Toggle();
        return true;
    case platform::WM_CHAR:
        return g_takingChars;
    case platform::WM_KEYUP:
        g_takingChars = false;
        if (msg.wParam != kKeyM || !g_takingRelease) return false;
        g_takingRelease = false;
        return true;
    default:
        g_takingChars = false;
        return false;
    }
}
