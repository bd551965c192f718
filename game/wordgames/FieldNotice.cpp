#include "wordgames/FieldNotice.h"

#include "engine/GameFont.h"
#include "engine/GraphicEngine.h"
#include "engine/LegibleText.h"
#include "shell/Globals.h"

namespace {
constexpr uint32_t kDarkText = 0x301010;   // near black, a little blue (0xBBGGRR)
constexpr uint32_t kPanelFill = 0xE8F8FF;  // cream
constexpr uint32_t kPanelBorder = 0x305070;
constexpr uint32_t kLargeColor = 0x000090;  // dark red
constexpr uint32_t kWhite = 0xFFFFFF;
}  // namespace

FieldNotice::FieldNotice() : small_(GameFont::Chinese(-16)), large_(GameFont::Chinese(-48)) {}

FieldNotice::~FieldNotice() = default;

void FieldNotice::DrawStatusLine(int32_t x, int32_t y, const std::u16string& text) {
    if (!g_Graphic) return;
    const std::shared_ptr<GameFont> previous = g_Graphic->Font();
    g_Graphic->SetFont(small_);
    LegibleText::DrawOnPanel(*g_Graphic, x, y, text, kDarkText, kPanelFill, kPanelBorder, 5);
    g_Graphic->SetFont(previous);
}

void FieldNotice::DrawLarge(int32_t centreX, int32_t centreY, const std::u16string& text) {
    if (!g_Graphic) return;
    const std::shared_ptr<GameFont> previous = g_Graphic->Font();
    g_Graphic->SetFont(large_);
    g_Graphic->BeginText();
    const platform::Size size = g_Graphic->MeasureText(text);
    g_Graphic->EndText();
    LegibleText::DrawOutlined(*g_Graphic, centreX - size.cx / 2, centreY - size.cy / 2, text, kLargeColor, kWhite, 2);
    g_Graphic->SetFont(previous);
}

std::u16string FieldNotice::Number(int32_t value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}
