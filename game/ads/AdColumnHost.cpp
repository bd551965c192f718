#include "ads/AdColumnHost.h"

#include <utility>

#include "engine/GraphicEngine.h"
#include "shell/Globals.h"

AdColumnHost::AdColumnHost(std::shared_ptr<IGameInterface> screen) : screen_(std::move(screen)) {}

void AdColumnHost::ShowOverCurrentScreen() {
    std::shared_ptr<IGameInterface> current = g_Screen;
    if (!current || std::dynamic_pointer_cast<AdColumnHost>(current)) return;
    MakeCurrentScreen(std::make_shared<AdColumnHost>(std::move(current)));
}

bool AdColumnHost::RestoreRes() { return screen_->RestoreRes(); }

bool AdColumnHost::UpDateScreen() {
    const bool drawn = screen_->UpDateScreen();
    // Show draws with the engine's current font: the host picks the panel's own for it and
    // leaves the screen's choice as it was.
    if (const std::shared_ptr<GraphicEngine> graphic = g_Graphic) {
        const std::shared_ptr<GameFont> screenFont = graphic->Font();
        graphic->SetFont(column_.Font());
        column_.Show();
        graphic->SetFont(screenFont);
    }
    return drawn;
}

bool AdColumnHost::UpDateGame() { return screen_->UpDateGame(); }
bool AdColumnHost::MouseDown(int32_t Button, int32_t X, int32_t Y) { return screen_->MouseDown(Button, X, Y); }
bool AdColumnHost::MouseUp(int32_t Button, int32_t X, int32_t Y) { return screen_->MouseUp(Button, X, Y); }
bool AdColumnHost::MouseMove(int32_t X, int32_t Y) { return screen_->MouseMove(X, Y); }
bool AdColumnHost::KeyDown(int32_t KeyCode, int32_t Shift) { return screen_->KeyDown(KeyCode, Shift); }
bool AdColumnHost::KeyPress(int32_t KeyAscii) { return screen_->KeyPress(KeyAscii); }
bool AdColumnHost::KeyUp(int32_t KeyCode, int32_t Shift) { return screen_->KeyUp(KeyCode, Shift); }
