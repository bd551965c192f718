#include "shell/ScreenFactory.h"

#include <array>

#include "shell/IGameInterface.h"

namespace {
std::array<ScreenFactory::Maker, ScreenFactory::kScreens> g_makers{};
std::array<std::vector<std::string>, ScreenFactory::kScreens> g_firstPictures;
}  // namespace

void ScreenFactory::Register(Screen screen, Maker maker, std::vector<std::string> firstPictures) {
    if (screen < 0 || screen >= kScreens) return;
    g_makers[static_cast<size_t>(screen)] = maker;
    g_firstPictures[static_cast<size_t>(screen)] = std::move(firstPictures);
}

const std::vector<std::string>& ScreenFactory::FirstPictures(Screen screen) {
    static const std::vector<std::string> none;
    return screen >= 0 && screen < kScreens ? g_firstPictures[static_cast<size_t>(screen)] : none;
}

std::shared_ptr<IGameInterface> ScreenFactory::Create(Screen screen) {
    if (screen < 0 || screen >= kScreens) return nullptr;
    const Maker maker = g_makers[static_cast<size_t>(screen)];
    return maker ? maker() : nullptr;
}
