#include "engine/LegibleText.h"

#include "engine/GraphicEngine.h"
#include "platform/Surface.h"

void LegibleText::DrawOutlined(GraphicEngine& graphic, int32_t x, int32_t y, const std::u16string& text, uint32_t color,
                               uint32_t outline, int32_t radius) {
    graphic.BeginText();
    graphic.SetTextColor(outline);
    for (int32_t dy = -radius; dy <= radius; ++dy) {
        for (int32_t dx = -radius; dx <= radius; ++dx) {
            if (dx != 0 || dy != 0) graphic.DrawText(x + dx, y + dy, text);
        }
    }
    graphic.SetTextColor(color);
    graphic.DrawText(x, y, text);
    graphic.EndText();
}

void LegibleText::DrawOnPanel(GraphicEngine& graphic, int32_t x, int32_t y, const std::u16string& text, uint32_t color,
                              uint32_t fill, uint32_t border, int32_t margin) {
    graphic.BeginText();
    const platform::Size size = graphic.MeasureText(text);
    graphic.EndText();
    graphic.FillBox(x - margin, y - margin, x + size.cx + margin, y + size.cy + margin, border,
                    platform::Surface::RawFromBgr(fill));
    graphic.BeginText();
    graphic.SetTextColor(color);
    graphic.DrawText(x, y, text);
    graphic.EndText();
}

int32_t LegibleText::Width(GraphicEngine& graphic, const std::u16string& text) {
    const bool open = graphic.TextOpen();
    if (!open) graphic.BeginText();
    const int32_t width = graphic.MeasureText(text).cx;
    if (!open) graphic.EndText();
    return width;
}
