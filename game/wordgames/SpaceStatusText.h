#pragma once
#include <cstdint>
#include <string>

// The numbers of the space shooter's status bar as the player reads them.
class SpaceStatusText {
public:
    // Thousands grouped with commas, at least one digit, a minus sign before negative scores:
    // 0, 1,500, -400, -2,147,483,648.
    static std::u16string Score(int32_t score);
    // Minutes and seconds of the time to the next level, two digits each: 02:00 … 00:00.
    static std::u16string Timer(int32_t levelTimerMs);
    // A high-score line: name, " : ", the score in plain digits.
    static std::u16string HiScoreLine(const std::u16string& name, int32_t score);
};
