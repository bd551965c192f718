#pragma once
#include <cstdint>

// The screens of the police game.
enum PoliceScreen : int32_t {
    kScreenMainMenu = 0,
    kScreenSetting = 1,  // role, vehicles, text
    kScreenLobby = 2,    // network sessions
    kScreenRace = 3,
    kScreenWon = 4,
    kScreenLost = 5,
};
