#include "shell/StartOptions.h"

#include <string_view>

bool StartOptions::Parse(int argc, const char* const* argv) {
    startAtMenu_ = false;
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) != "--menu") return false;
        startAtMenu_ = true;
    }
    return true;
}

std::string StartOptions::Usage(const std::string& program) {
    return "usage: " + program + " [--menu]   (--menu: start at the main menu instead of the police game)";
}
