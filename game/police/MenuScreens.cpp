#include "police/MenuScreens.h"

#include <cstdlib>

#include "engine/GameFont.h"
#include "engine/GraphicEngine.h"
#include "platform/Clock.h"
#include "police/PoliceButtons.h"
#include "police/PoliceMode.h"
#include "police/PoliceRace.h"
#include "police/PoliceScreenControl.h"
#include "police/RaceTextList.h"
#include "shell/ExitQuestion.h"
#include "shell/Globals.h"
#include "widgets/AniButton.h"
#include "widgets/MouseRouting.h"

MenuScreens::MenuScreens(PoliceScreenControl& screens, const PoliceButtons& buttons, SettingChoices& choices,
                         RaceTextList& textList, const TextFolder& textFolder, PoliceRace& race)
    : screens_(screens),
      buttons_(buttons),
      choices_(choices),
      textList_(textList),
      textFolder_(textFolder),
      race_(race) {
    WireButtons();
}

void MenuScreens::WireButtons() {
    const PoliceButtons& b = buttons_;
    b.BtnSingle->OnClick = [this] { screens_.SwitchScreen(kScreenSetting); };
    b.BtnMulti->OnClick = [this] {
        screens_.SwitchScreen(kScreenLobby);
        g_Graphic->SetFont(g_SongFont);
    };
    b.BtnExit->OnClick = [] { ExitQuestion::LeaveGame(); };
    using Pair = SettingChoices::Pair;
    b.BtnPolice->OnClick = [this] { Choose(Pair::Role, true); };
    b.BtnThief->OnClick = [this] { Choose(Pair::Role, false); };
    b.BtnCar0->OnClick = [this] { Choose(Pair::PoliceVehicle, true); };
    b.BtnBike0->OnClick = [this] { Choose(Pair::PoliceVehicle, false); };
    b.BtnCar1->OnClick = [this] { Choose(Pair::ThiefVehicle, true); };
    b.BtnBike1->OnClick = [this] { Choose(Pair::ThiefVehicle, false); };
    b.BtnStart->OnClick = [this] { Start(); };
    b.BtnCancel->OnClick = [this] { screens_.SwitchScreen(screens_.IsNetworkGame() ? kScreenLobby : kScreenMainMenu); };
}

void MenuScreens::Choose(SettingChoices::Pair pair, bool first) {
    choices_.Choose(pair, first);
    screens_.Mode().ChoiceMade();
}

void MenuScreens::Start() {
    g_Graphic->SetFont(g_ArialFont);
    race_.Text.SetText(textList_.ReadChosen(textFolder_));
    screens_.Mode().Start();
}

int32_t MenuScreens::HitTextList(int32_t X, int32_t Y) {
    screens_.Mode().TextListTouched();
    return textList_.Hit(X, Y);
}

void MenuScreens::MouseDown(int32_t Button, int32_t X, int32_t Y) {
    if (screens_.Screen() == kScreenMainMenu) {
        MouseRouting::Down(Button, X, Y, buttons_.MainMenu());
    } else if (screens_.Screen() == kScreenSetting) {
        if (SecondPressOfOpeningClick(X, Y)) return;
        if (!screens_.Mode().MayChoose()) {
            MouseRouting::Down(Button, X, Y, buttons_.BtnCancel);  // this side may only leave
        } else if (!MouseRouting::Down(Button, X, Y, buttons_.Setting())) {
            textList_.Choose(HitTextList(X, Y));
        }
    }
}

void MenuScreens::MouseUp(int32_t Button, int32_t X, int32_t Y) {
    if (screens_.Screen() == kScreenMainMenu) {
        MouseRouting::Up(Button, X, Y, buttons_.MainMenu());
        if (screens_.Screen() == kScreenSetting) opening_ = {platform::Clock::Now(), X, Y};
    } else if (screens_.Screen() == kScreenSetting) {
        if (!screens_.Mode().MayChoose())
            MouseRouting::Up(Button, X, Y, buttons_.BtnCancel);
        else
            MouseRouting::Up(Button, X, Y, buttons_.Setting());
    }
}

bool MenuScreens::SecondPressOfOpeningClick(int32_t X, int32_t Y) const {
    // A desktop's double-click: the second press within half a second, a few pixels away at most.
    constexpr uint32_t kDoubleClickMs = 500;
    constexpr int32_t kDoubleClickPixels = 4;
    return platform::Clock::Now() - opening_.atMs < kDoubleClickMs && std::abs(X - opening_.x) <= kDoubleClickPixels &&
           std::abs(Y - opening_.y) <= kDoubleClickPixels;
}

void MenuScreens::MouseWheel(int32_t notches, int32_t X) {
    // Three rows a notch, over the list only; the other side of a network game follows the host.
    if (screens_.Screen() != kScreenSetting || !screens_.Mode().MayChoose() || X < RaceTextList::kListX) return;
    textList_.Scroll(-3 * notches);
}

void MenuScreens::KeyDown(int32_t KeyCode) {
    if (screens_.Screen() != kScreenSetting || !screens_.Mode().MayChoose()) return;
    const int32_t at = textList_.TextListID;
    const int32_t page = RaceTextList::kLastRow + 1;
    switch (KeyCode) {
    case platform::VK_UP:
        textList_.Choose(at - 1);
        break;
    case platform::VK_DOWN:
        textList_.Choose(at + 1);
        break;
    case platform::VK_PRIOR:
        textList_.Choose(at - page);
        break;
    case platform::VK_NEXT:
        textList_.Choose(at + page);
        break;
    case platform::VK_HOME:
        textList_.Choose(0);
        break;
    case platform::VK_END:
        textList_.Choose(textList_.LastIndex());
        break;
    default:
        return;
    }
    screens_.Mode().TextListTouched();
}

void MenuScreens::MouseMove(int32_t X, int32_t Y) {
    if (screens_.Screen() == kScreenMainMenu) {
        MouseRouting::Move(X, Y, buttons_.MainMenu());
    } else if (screens_.Screen() == kScreenSetting) {
        HitTextList(X, Y);  // only for the settings broadcast of a network game
        if (!screens_.Mode().MayChoose())
            MouseRouting::Move(X, Y, buttons_.BtnCancel);
        else
            MouseRouting::Move(X, Y, buttons_.Setting());
    }
}
