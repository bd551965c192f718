#include "shell/PlaceholderScreen.h"

#include "engine/GraphicEngine.h"
#include "platform/CodePage.h"
#include "shell/Globals.h"

namespace {

constexpr size_t kShownCharacters = 40;
constexpr uint32_t kBackground = 0x2945;  // raw RGB565: dark blue-grey
constexpr uint32_t kPanel = 0x10A2;

}  // namespace

bool PlaceholderScreen::UpDateScreen() {
    if (!g_Graphic) return true;
    g_Graphic->Clear(kBackground);
    g_Graphic->FillBox(200, 250, 600, 350, 0x00C0C0C0, kPanel);
    g_Graphic->BeginText();
    g_Graphic->SetFont(g_SongFont);
    g_Graphic->SetTextColor(0x00FFFFFF);
    g_Graphic->DrawText(360, 270, u"打字游戏");
    g_Graphic->SetTextColor(0x0080FFFF);
    g_Graphic->DrawText(220, 310, typed_);
    g_Graphic->EndText();
    return true;
}

bool PlaceholderScreen::KeyPress(int32_t KeyAscii) {
    if (KeyAscii < 32 && KeyAscii >= 0) return true;
    std::string ansi;
    if (KeyAscii > 0xFF) ansi.push_back(static_cast<char>((KeyAscii >> 8) & 0xFF));
    ansi.push_back(static_cast<char>(KeyAscii & 0xFF));
    typed_ += platform::FromAnsi(ansi);
    if (typed_.size() > kShownCharacters) typed_.erase(0, typed_.size() - kShownCharacters);
    return true;
}
