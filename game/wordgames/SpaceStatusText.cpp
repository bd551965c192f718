#include "wordgames/SpaceStatusText.h"

#include <cstdio>

namespace {

std::u16string Widen(const char* text) {
    std::u16string out;
    for (const char* p = text; *p != '\0'; ++p) out.push_back(static_cast<char16_t>(*p));
    return out;
}

}  // namespace

std::u16string SpaceStatusText::Score(int32_t score) {
    const bool negative = score < 0;
    uint64_t magnitude = negative ? static_cast<uint64_t>(-int64_t{score}) : static_cast<uint64_t>(score);
    std::u16string digits;
    int grouped = 0;
    do {
        if (grouped == 3) {
            digits.push_back(u',');
            grouped = 0;
        }
        digits.push_back(static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
        ++grouped;
    } while (magnitude != 0);
    if (negative) digits.push_back(u'-');
    return std::u16string(digits.rbegin(), digits.rend());
}

std::u16string SpaceStatusText::Timer(int32_t levelTimerMs) {
    const int32_t ms = levelTimerMs > 0 ? levelTimerMs : 0;
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d", static_cast<int>(ms / 60000), static_cast<int>(ms % 60000 / 1000));
    return Widen(text);
}

std::u16string SpaceStatusText::HiScoreLine(const std::u16string& name, int32_t score) {
    char number[32];
    std::snprintf(number, sizeof number, "%d", static_cast<int>(score));
    std::u16string line = name;
    line += u" : ";
    line += Widen(number);
    return line;
}
