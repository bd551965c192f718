#include "shell/DialogFrame.h"

#include "engine/GraphicEngine.h"
#include "shell/FrameLoop.h"
#include "shell/Globals.h"
#include "shell/IGameInterface.h"

void DialogFrame::Draw(const platform::SurfacePtr& background, int32_t x, int32_t y,
                       const std::function<void(GraphicEngine&)>& drawContents) {
    if (!background || !g_Graphic) return;
    CheckLostSurfaces();
    if (auto screen = g_Screen) screen->UpDateScreen();
    // Held here: the screen below may replace the engine or the picture while it draws.
    auto graphic = g_Graphic;
    auto picture = background;
    graphic->DrawOpaque(x, y, *picture, platform::Rect{});
    drawContents(*graphic);
    graphic->Present();
}
