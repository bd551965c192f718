#pragma once
#include <string>

// What the command line asks for: the program opens on the police game unless started with
// --menu, which opens the main menu instead.
class StartOptions {
public:
    // False for any option it does not know.
    bool Parse(int argc, const char* const* argv);

    bool StartAtMenu() const { return startAtMenu_; }
    static std::string Usage(const std::string& program);

private:
    bool startAtMenu_ = false;
};
