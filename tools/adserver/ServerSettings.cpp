#include "ServerSettings.h"

#include <array>
#include <utility>

namespace adserver {
namespace {

constexpr std::array<std::pair<const char*, Mode>, 10> kModes = {{
    {"normal", Mode::Normal},
    {"slow", Mode::Slow},
    {"garbage", Mode::Garbage},
    {"html", Mode::Html},
    {"gone", Mode::Gone},
    {"failing", Mode::Failing},
    {"huge", Mode::Huge},
    {"reset", Mode::Reset},
    {"hang", Mode::Hang},
    {"down", Mode::Down},
}};

}  // namespace

bool ParseMode(const std::string& text, Mode& mode) {
    for (const auto& [name, value] : kModes) {
        if (text == name) {
            mode = value;
            return true;
        }
    }
    return false;
}

const char* ModeName(Mode mode) {
    for (const auto& [name, value] : kModes) {
        if (value == mode) return name;
    }
    return "?";
}

}  // namespace adserver
