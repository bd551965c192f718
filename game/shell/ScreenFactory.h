#pragma once
#include <memory>

class IGameInterface;

// The screens a screen may open without knowing their classes. The main menu fills the table in
// at start-up (it knows every game); a game that goes back to the menu asks the table for it.
class ScreenFactory {
public:
    enum Screen : int { kMenu, kPolice, kSpace, kMole, kFrog, kApple, kScreens };
    using Maker = std::shared_ptr<IGameInterface> (*)();

    static void Register(Screen screen, Maker maker);
    // A fresh screen, or null when nothing is registered for `screen`.
    static std::shared_ptr<IGameInterface> Create(Screen screen);
};
