#include "shell/StartOptions.h"

#include <string_view>

bool StartOptions::Parse(int argc, const char* const* argv) {
    startAtMenu_ = false;
    exportsHistory_ = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view option(argv[i]);
        if (option == "--menu") {
            startAtMenu_ = true;
        } else if (option == "--export-history" && i + 1 < argc && !exportsHistory_) {
            exportsHistory_ = true;
            exportTarget_ = argv[++i];
            // An option where the file name belongs is a slip, not a file to make.
            if (exportTarget_.empty() || exportTarget_.rfind("--", 0) == 0) return false;
        } else {
            return false;
        }
    }
    // Exporting opens no window, so it goes with no other option.
    return !(exportsHistory_ && startAtMenu_);
}

std::string StartOptions::Usage(const std::string& program) {
    return "usage: " + program + " [--menu | --export-history FILE.csv|-]   (--menu: start at the main menu" +
           " instead of the police game; --export-history: write the history of results as CSV and end)";
}
