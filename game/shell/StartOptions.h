#pragma once
#include <string>

// What the command line asks for: the program opens on the police game unless started with
// --menu, which opens the main menu instead; --export-history FILE writes the history of
// results as CSV to FILE ("-": standard output) and opens no window.
class StartOptions {
public:
    // False for any option it does not know.
    bool Parse(int argc, const char* const* argv);

    bool StartAtMenu() const { return startAtMenu_; }
    bool ExportsHistory() const { return exportsHistory_; }
    const std::string& ExportTarget() const { return exportTarget_; }
    static std::string Usage(const std::string& program);

private:
    bool startAtMenu_ = false;
    bool exportsHistory_ = false;
    std::string exportTarget_;
};
