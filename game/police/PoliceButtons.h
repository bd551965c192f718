#pragma once
#include <memory>

class AniButton;

// The fifteen buttons of the police game's screens. They are made once; SetUp (re)loads their
// pictures and places them, keeping each button's state (the chosen role and vehicles).
class PoliceButtons {
public:
    PoliceButtons();
    void SetUp();

    // Main menu.
    std::shared_ptr<AniButton> BtnSingle, BtnMulti, BtnExit;
    // Lobby.
    std::shared_ptr<AniButton> BtnCreate, BtnJoin, BtnRefresh, BtnReturn;
    // Setting screen.
    std::shared_ptr<AniButton> BtnPolice, BtnThief, BtnCar0, BtnBike0, BtnCar1, BtnBike1;
    std::shared_ptr<AniButton> BtnStart, BtnCancel;
};
