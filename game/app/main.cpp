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
#include "results/ResultBook.h"
#include "results/WeakKeys.h"
#include "shell/DialogScriptVerbs.h"
#include "shell/FrameLoop.h"
#include "shell/Settings.h"
#include "shell/SoundSwitch.h"
#include "shell/StartOptions.h"
#include "shell/Startup.h"

namespace {

// Why an export may not be written at `target`, or "". It never replaces the player's files, the
// program or its module; and in the game's folders (the program's, the module's and the
// player's own) it writes only a .csv file, whether the name is there yet or not. A slip of the
// shell's completion there would otherwise replace the program, its pack or a player's file.
std::string WhyNotExportTo(const std::string& target, const std::string& history) {
    for (const std::string& kept :
         {history, platform::PlayerConfigFolder() + kSettingsFile, platform::PlayerDataFolder() + kHiScoreFile,
          results::WeakKeys::OptionFile(), platform::PlayerConfigFolder() + SoundSwitch::kFileName,
          std::string("/proc/self/exe"), platform::ModuleFolder() + "libtavi.so"}) {
        if (platform::SameFile(target, kept)) return "it is one of the game's own files (" + kept + ")";
    }
    // A pipe or a device is written into, not replaced; one a link in those folders reaches (such
    // as /dev/stdout sent to a log in them) is the player's to name.
    const bool csv = target.size() >= 4 && target.compare(target.size() - 4, 4, ".csv") == 0;
    if (csv || platform::IsStreamFile(target)) return "";
    for (const std::string& folder : {platform::ProgramFolder(), platform::ModuleFolder(), platform::PlayerDataFolder(),
                                      platform::PlayerConfigFolder()}) {
        if (platform::NamedInside(target, folder)) {
            return "it lies in the game's own folder " + folder + ", where only a .csv export is written";
        }
    }
    return "";
}

// Writes the history of results as CSV to `target` ("-": standard output); needs no display.
int ExportHistory(const std::string& target) {
    // The history lies in the player's data folder, which depends on where the game's data was
    // found (beside the program, or installed with the files in the player's XDG folders).
    if (!platform::UseDataFolder()) return 1;
    std::string csv;
    std::string why;
    AdoptPlayerFilesLeftBesideProgram();
    const std::string history = platform::PlayerDataFolder() + results::kHistoryFileName;
    if (!results::HistoryCsv::Export(history, csv, why)) {
        std::fprintf(stderr, "cannot read the history %s: %s\n", history.c_str(), why.c_str());
        return 1;
    }
    // The game's own files are never written over by an export; any other file is, as a new
    // export replaces an old one.
    if (const std::string why = target == "-" ? "" : WhyNotExportTo(target, history); !why.empty()) {
        std::fprintf(stderr, "cannot write %s: %s\n", target.c_str(), why.c_str());
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
    platform::ReportFileSizeLimitAsAFailedWrite();
    StartOptions options;
    if (!options.Parse(argc, argv)) {
        std::fprintf(stderr, "%s\n", StartOptions::Usage(argc > 0 ? argv[0] : "glyphor_police").c_str());
        return 2;
    }
    // An export into a pipe that closes early (`| head`) ends quietly, as any filter does.
    if (options.ExportsHistory()) return ExportHistory(options.ExportTarget());
    platform::ReportClosedPipeAsAFailedWrite();
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
