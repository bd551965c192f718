#pragma once
#include <cstdint>
#include <string>

class GraphicEngine;

// Text that stays readable over any picture: a one-pixel outline of a strongly contrasting
// colour all round it, or a plain backing panel under it. Both open and close the text
// drawing themselves, with the engine's current font, so they are called outside
// BeginText/EndText.
class LegibleText {
public:
    // `text` at (x, y) in `color`, ringed `radius` pixels wide by `outline` (colours as 0xBBGGRR).
    static void DrawOutlined(GraphicEngine& graphic, int32_t x, int32_t y, const std::u16string& text, uint32_t color,
                             uint32_t outline, int32_t radius = 1);
    // A box of `fill` with a `border` edge `margin` pixels around the text, then `text` on it.
    static void DrawOnPanel(GraphicEngine& graphic, int32_t x, int32_t y, const std::u16string& text, uint32_t color,
                            uint32_t fill, uint32_t border, int32_t margin = 4);
    // The width of `text` in the current font.
    static int32_t Width(GraphicEngine& graphic, const std::u16string& text);
};
