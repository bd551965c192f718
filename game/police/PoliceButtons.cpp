#include "police/PoliceButtons.h"

#include <string>

#include "widgets/AniButton.h"

namespace {
void Place(AniButton& b, const std::string& picture, int32_t frames, int32_t left, int32_t top) {
    b.SetPicture(picture, frames, false);
    b.Left = left;
    b.Top = top;
}
}  // namespace

PoliceButtons::PoliceButtons()
    : BtnSingle(AniButton::Create()),
      BtnMulti(AniButton::Create()),
      BtnExit(AniButton::Create()),
      BtnCreate(AniButton::Create()),
      BtnJoin(AniButton::Create()),
      BtnRefresh(AniButton::Create()),
      BtnReturn(AniButton::Create()),
      BtnPolice(AniButton::Create()),
      BtnThief(AniButton::Create()),
      BtnCar0(AniButton::Create()),
      BtnBike0(AniButton::Create()),
      BtnCar1(AniButton::Create()),
      BtnBike1(AniButton::Create()),
      BtnStart(AniButton::Create()),
      BtnCancel(AniButton::Create()) {}

void PoliceButtons::SetUp() {
    Place(*BtnSingle, "POLICE_MAINMENU_SINGLE", 3, 437, 336);
    Place(*BtnMulti, "POLICE_MAINMENU_MULTI", 3, 437, 394);
    Place(*BtnExit, "POLICE_MAINMENU_EXIT", 3, 437, 452);
    Place(*BtnCreate, "POLICE_CREATE", 3, 30, 50);
    Place(*BtnJoin, "POLICE_JOIN", 3, 30, 100);
    Place(*BtnRefresh, "POLICE_REFRESH", 3, 50, 150);
    Place(*BtnReturn, "POLICE_RETURN", 3, 50, 200);
    Place(*BtnPolice, "POLICE_POLICE", 4, 10, 20);
    Place(*BtnThief, "POLICE_THIEF", 4, 295, 20);
    Place(*BtnCar0, "POLICE_CAR", 4, 30, 220);
    Place(*BtnBike0, "POLICE_BIKE", 4, 150, 220);
    Place(*BtnCar1, "POLICE_CAR", 4, 320, 220);
    Place(*BtnBike1, "POLICE_BIKE", 4, 430, 220);
    Place(*BtnStart, "POLICE_START", 3, 210, 545);
    Place(*BtnCancel, "POLICE_CANCEL", 3, 315, 545);
}
