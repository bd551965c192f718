#include "shell/ScreenFactory.h"

#include <array>

#include "shell/IGameInterface.h"

namespace {
std::array<ScreenFactory::Maker, ScreenFactory::kScreens> g_makers{};
}  // namespace

void ScreenFactory::Register(Screen screen, Maker maker) {
    if (screen >= 0 && screen < kScreens) g_makers[static_cast<size_t>(screen)] = maker;
}

std::shared_ptr<IGameInterface> ScreenFactory::Create(Screen screen) {
    if (screen < 0 || screen >= kScreens) return nullptr;
    const Maker maker = g_makers[static_cast<size_t>(screen)];
    return maker ? maker() : nullptr;
}
