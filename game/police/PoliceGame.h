#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "police/MenuScreens.h"
#include "police/NetController.h"
#include "police/PoliceButtons.h"
#include "police/PolicePictures.h"
#include "police/PoliceRenderer.h"
#include "police/PoliceScreen.h"
#include "police/PoliceScreenControl.h"
#include "police/PoliceSound.h"
#include "police/RaceController.h"
#include "police/RaceTextList.h"
#include "police/SettingChoices.h"
#include "police/SinglePlayer.h"
#include "police/TextFolder.h"
#include "shell/IGameInterface.h"

// The police-and-thief typing race, the screen the program starts in: main menu, setting
// screen, lobby, race and the two result screens. It holds which screen shows and hands the
// frames, the mouse and the keys to its parts: the menus (MenuScreens), the race
// (RaceController) and the game that is on, a single player's (SinglePlayer) or a network one
// (NetController).
class PoliceGame final : public IGameInterface, public PoliceScreenControl {
public:
    // Builds the game: text list, fonts, pictures and buttons, default choices (the local
    // player is the police, the police drives the car, the thief rides the motorbike), sounds.
    static std::shared_ptr<PoliceGame> Create();
    // The pictures of its first frame, the main menu.
    static std::vector<std::string> FirstPictures();
    ~PoliceGame() override;

    bool Run() override;
    bool RestoreRes() override;
    bool UpDateScreen() override;
    bool UpDateGame() override;
    // Every screen but the race stands still until input or a network message once a status
    // message is gone, and the lobby and a session's setting screen while no search or join runs.
    bool NextFrameDiffers() override;
    bool MouseDown(int32_t Button, int32_t X, int32_t Y) override;
    bool MouseUp(int32_t Button, int32_t X, int32_t Y) override;
    bool MouseMove(int32_t X, int32_t Y) override;
    bool MouseWheel(int32_t Notches, int32_t X, int32_t Y) override;
    bool KeyDown(int32_t KeyCode, int32_t Shift) override;
    // A race against the computer stands still while hidden; one on the network goes on.
    void WindowHidden(bool hidden) override {
        if (!isNetworkGame_) race_.HoldTypingTime(hidden);
    }
    void TimeLost(uint32_t fromMs, uint32_t toMs) override {
        if (!isNetworkGame_) race_.SkipTypingTime(fromMs, toMs);
    }
    bool KeyPress(int32_t KeyAscii) override;

    PoliceScreen Screen() const override { return screen_; }
    bool IsNetworkGame() const override { return isNetworkGame_; }
    void SwitchScreen(PoliceScreen n) override;
    void ShowStatus(const std::u16string& text) override;
    void ClearStatus() override { statusTicks_ = 0; }
    PoliceMode& Mode() override;

    const std::u16string& StatusText() const { return statusText_; }
    int32_t StatusTicks() const { return statusTicks_; }
    const PoliceButtons& Buttons() const { return buttons_; }
    const RaceTextList& TextList() const { return textList_; }
    const PoliceRenderer& Renderer() const { return renderer_; }
    PoliceRace& Race() { return race_.Race(); }
    const RaceController& RaceScreen() const { return race_; }
    NetController& Network() { return network_; }

private:
    PoliceGame();

    PoliceScreen screen_ = kScreenMainMenu;
    std::string backgroundName_ = "POLICE_MAINMENU_BG";
    bool isNetworkGame_ = false;
    std::u16string statusText_;
    int32_t statusTicks_ = 0;

    TextFolder textFolder_;
    RaceTextList textList_;
    PoliceSound sound_;
    RaceController race_;
    PolicePictures pictures_;
    PoliceButtons buttons_;
    PoliceRenderer renderer_;
    SettingChoices choices_;
    MenuScreens menus_;
    SinglePlayer single_;
    NetController network_;
};
