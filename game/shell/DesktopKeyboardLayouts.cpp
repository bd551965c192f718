#include "shell/DesktopKeyboardLayouts.h"

std::vector<std::string> DesktopKeyboardLayouts::List(size_t max) {
    if (max == 0) return {};
    return {kUsEnglish};
}
