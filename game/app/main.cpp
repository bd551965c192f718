#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "ads/AdColumnHost.h"
#include "menu/SwitchBoard.h"
#include "platform/BinaryFile.h"
#include "platform/CodePage.h"
#include "platform/DataFolder.h"
#include "platform/FolderListing.h"
#include "platform/MessageBox.h"
#include "platform/PlayerFiles.h"
#include "results/HiScore.h"
#include "results/HistoryCsv.h"
#include "results/WeakKeys.h"
#include "shell/DialogScriptVerbs.h"
#include "shell/FrameLoop.h"
#include "shell/Settings.h"
#include "shell/SoundSwitch.h"
#include "shell/StartOptions.h"
#include "shell/Startup.h"

namespace {

// The game's own file that `target` would write over, or "": the player's files, the program
// and its module, and any file of the data folder or the module's folder but an earlier export
// (a slip of the shell's completion in a build tree's program folder would otherwise replace the
// program or its pack).
std::string GamesFileAt(const std::string& target, const std::string& history) {
    for (const std::string& kept :
         {history, platform::PlayerConfigFolder() + kSettingsFile, platform::PlayerDataFolder() + kHiScoreFile,
          results::WeakKeys::OptionFile(), platform::PlayerConfigFolder() + SoundSwitch::kFileName,
          std::string("/proc/self/exe"), platform::ModuleFolder() + "libtavi.so"}) {
        if (platform::SameFile(target, kept)) return kept;
    }
    // Named inside those folders (a file a link reaches there, such as /dev/stdout sent to a log
    // in them, is the player's to name).
    const bool csv = target.size() >= 4 && target.compare(target.size() - 4, 4, ".csv") == 0;
    if (csv || !platform::IsPlainFile(target)) return "";
    const bool inside = platform::NamedInside(target, platform::ProgramFolder()) ||
                        platform::NamedInside(target, platform::ModuleFolder());
    return inside ? target : "";
}

// Writes the history of results as CSV to `target` ("-": standard output); needs no display.
int ExportHistory(const std::string& target) {
    // The history lies in the player's data folder, which depends on where the game's data was
    // found (beside the program, or installed with the files in the player's XDG folders).
    if (!platform::UseDataFolder()) return 1;
    std::string csv;
    std::string why;
    const std::string history = platform::PlayerDataFolder() + "history.sqlite";
    if (!results::HistoryCsv::Export(history, csv, why)) {
        std::fprintf(stderr, "cannot read the history %s: %s\n", history.c_str(), why.c_str());
        return 1;
    }
    // The game's own files are never written over by an export; any other file is, as a new
    // export replaces an old one.
    if (const std::string kept = target == "-" ? "" : GamesFileAt(target, history); !kept.empty()) {
        std::fprintf(stderr, "cannot write %s: it is one of the game's own files (%s)\n", target.c_str(), kept.c_str());
        return 1;
    }
    if (target == "-") {
        const bool written = std::fwrite(csv.data(), 1, csv.size(), stdout) == csv.size() && std::fflush(stdout) == 0;
        if (!written) std::fprintf(stderr, "cannot write the standard output: %s\n", std::strerror(errno));
        return written ? 0 : 1;
    }
    // A pipe or a device (/dev/stdout, a process substitution) is written into; a file is replaced.
    const std::vector<uint8_t> bytes(csv.begin(), csv.end());
    bool stream = false;
    if (!platform::WriteToStreamFile(target, bytes, stream, &why) ||
        (!stream && !platform::ReplaceBinaryFile(target, bytes, &why))) {
        std::fprintf(stderr, "cannot write %s: %s\n", target.c_str(), why.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    StartOptions options;
    if (!options.Parse(argc, argv)) {
        std::fprintf(stderr, "%s\n", StartOptions::Usage(argc > 0 ? argv[0] : "glyphor_police").c_str());
        return 2;
    }
    if (options.ExportsHistory()) return ExportHistory(options.ExportTarget());
    // The shell opens the screens and panels of the layers above it through these.
    SwitchBoard::RegisterScreens();
    AddScriptOpenTarget("adcolumn", &AdColumnHost::ShowOverCurrentScreen);
    try {
        return RunProgram(options.StartAtMenu());
    } catch (const std::exception& e) {
        platform::ShowMessageBox(u"程序运行出错，即将退出。\r\n" + platform::FromUtf8(e.what()),
                                 platform::ApplicationTitle(), platform::MessageIcon::Error);
        ShutdownProgram(kFatalExitStatus);
    }
}
