#pragma once
#include <memory>

#include "widgets/MouseRouting.h"

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

    // Each screen's buttons, as every mouse event walks them.
    MouseRouting::Table<AniButton, 3> MainMenu() const { return {BtnSingle, BtnMulti, BtnExit}; }
    MouseRouting::Table<AniButton, 4> Lobby() const { return {BtnCreate, BtnJoin, BtnRefresh, BtnReturn}; }
    MouseRouting::Table<AniButton, 8> Setting() const {
        return {BtnPolice, BtnThief, BtnCar0, BtnBike0, BtnCar1, BtnBike1, BtnStart, BtnCancel};
    }
};
