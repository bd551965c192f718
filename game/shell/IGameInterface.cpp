#include "shell/IGameInterface.h"

#include "shell/Globals.h"
#include "shell/PointerNotice.h"

void MakeCurrentScreen(std::shared_ptr<IGameInterface> next) {
    // The previous screen goes once nobody calls into it any more: a handler running on it holds
    // its own reference until it returns.
    g_Screen = std::move(next);
    const std::shared_ptr<IGameInterface> screen = g_Screen;
    if (!screen) return;
    screen->Run();
    // Unless Run opened another screen, the new one learns where the pointer rests.
    if (g_Screen == screen) PointerNotice::Tell(*screen);
}
