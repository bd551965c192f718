#pragma once
#include "shell/KeyboardLayouts.h"

// The desktop's layouts as the game sees them. Input methods on Linux desktops deliver their
// text through the window's text input, which the game reads as characters, so there is no
// layout to switch away from: the desktop reports one plain US layout and changes nothing.
class DesktopKeyboardLayouts : public KeyboardLayouts {
public:
    std::string Current() override { return kUsEnglish; }
    bool IsInputMethod(const std::string& /*layout*/) override { return false; }
    void Load(const std::string& /*id*/, unsigned /*flags*/) override {}
    std::vector<std::string> List(size_t max) override;
    void Activate(const std::string& /*layout*/, unsigned /*flags*/) override {}

    static constexpr const char* kUsEnglish = "00000409";
};
