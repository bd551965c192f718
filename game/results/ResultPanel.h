#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "results/GameResult.h"

class GraphicEngine;
class GameFont;

namespace results {

// The figures shown after a game: speed, accuracy and the three keys missed most.
class ResultPanel {
public:
    static constexpr int32_t kLineHeight = 18;

    // Three lines: "速度 … 字/分", "正确率 …%" and the keys missed most.
    static std::vector<std::u16string> Lines(const GameResult& result);
    // The same in two lines, speed and accuracy side by side (for the round-end dialogs).
    static std::vector<std::u16string> DialogLines(const GameResult& result);
    // The three lines on a framed box whose top left corner is (x, y), `width` wide.
    static void DrawBoxed(GraphicEngine& graphic, std::shared_ptr<GameFont> font, const GameResult& result, int32_t x,
                          int32_t y, int32_t width);
};

}  // namespace results
