#pragma once
#include <memory>
#include <string>
#include <vector>

class IGameInterface;

// The screens a screen may open without knowing their classes. The main menu fills the table in
// at start-up (it knows every game); a game that goes back to the menu asks the table for it.
class ScreenFactory {
public:
    enum Screen : int { kMenu, kPolice, kSpace, kMole, kFrog, kApple, kScreens };
    using Maker = std::shared_ptr<IGameInterface> (*)();

    // `firstPictures`: the pictures the screen's first frame draws, decoded while the window
    // opens when the program starts on it.
    static void Register(Screen screen, Maker maker, std::vector<std::string> firstPictures = {});
    static const std::vector<std::string>& FirstPictures(Screen screen);
    // A fresh screen, or null when nothing is registered for `screen`.
    static std::shared_ptr<IGameInterface> Create(Screen screen);
};
