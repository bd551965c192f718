#include "shell/IGameInterface.h"

#include "shell/Globals.h"

void MakeCurrentScreen(std::shared_ptr<IGameInterface> next) {
    // The previous screen goes once nobody calls into it any more: a handler running on it holds
    // its own reference until it returns.
    g_Screen = std::move(next);
    if (const std::shared_ptr<IGameInterface> screen = g_Screen) screen->Run();
}
