#pragma once
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>

#include "police/LobbyView.h"
#include "police/NetEngine.h"
#include "police/NetRace.h"
#include "police/PoliceButtons.h"
#include "police/PolicePictures.h"
#include "police/PoliceRace.h"
#include "police/PoliceRenderer.h"
#include "police/PoliceScreen.h"
#include "police/RaceTextList.h"
#include "police/SettingChoices.h"
#include "police/TextFolder.h"
#include "results/GameResult.h"
#include "results/Tally.h"
#include "shell/IGameInterface.h"

class AniButton;

// The police-and-thief typing race, the screen the program starts in: main menu, setting
// screen, lobby, race and the two result screens, with their buttons, keys, sounds and drawing.
class PoliceGame final : public IGameInterface {
public:
    // Builds the game: text list, fonts, pictures and buttons, default choices (the local
    // player is the police, the police drives the car, the thief rides the motorbike), sounds.
    static std::shared_ptr<PoliceGame> Create();
    ~PoliceGame() override;

    bool Run() override;
    bool RestoreRes() override;
    bool UpDateScreen() override;
    bool UpDateGame() override;
    // The menu, the result screens and a single player's setting screen stand still until input
    // once a status message is gone; the race, the lobby and a session's setting screen do not.
    bool NextFrameDiffers() override;
    bool MouseDown(int32_t Button, int32_t X, int32_t Y) override;
    bool MouseUp(int32_t Button, int32_t X, int32_t Y) override;
    bool MouseMove(int32_t X, int32_t Y) override;
    bool KeyPress(int32_t KeyAscii) override;

    void SwitchScreen(PoliceScreen n);

    // Button handlers.
    void BtnSingle_OnClick();
    void BtnMulti_OnClick();
    void BtnExit_OnClick();
    void BtnStart_OnClick();
    void BtnCancel_OnClick();
    void BtnReturn_OnClick();
    void BtnCreate_OnClick();
    void BtnJoin_OnClick();
    void BtnRefresh_OnClick();

    // Handlers of NetConnect's events.
    void NetConnect_GetString(const std::u16string& aStr);
    void NetConnect_Ready();
    void NetConnect_Over();
    void NetConnect_UpDatePlayer();
    void NetConnect_NeedSetting();
    void NetConnect_SettingChange(uint8_t TextListID, uint8_t ServerPlayerID, uint8_t PoliceCarOrBike,
                                  uint8_t ThiefCarOrBike);
    void NetConnect_ReceiveNotify(int32_t InputPos, float Speed);

    // The entry of the text list under (X, Y), or the chosen one left of the list; in a
    // session every call also sends the settings.
    int32_t HitTextList(int32_t X, int32_t Y);
    // The lobby row under (X, Y), 0 for none.
    int32_t HitSessionRow(int32_t X, int32_t Y) const;
    // Reads the chosen race text into the race.
    void LoadRaceText();
    // A centred message over any screen for 200 frames.
    void ShowStatus(const std::u16string& text);

    PoliceScreen Screen() const { return screen_; }
    bool IsNetworkGame() const { return isNetworkGame_; }
    int32_t SelectedSession() const { return selectedSession_; }
    NetEngine& Net() { return *NetConnect; }
    PoliceRace& Race() { return race_; }
    RaceTextList& TextList() { return textList_; }
    const PoliceButtons& Buttons() const { return buttons_; }
    const PolicePictures& Pictures() const { return pictures_; }
    const PoliceRenderer& Renderer() const { return renderer_; }
    const std::u16string& StatusText() const { return statusText_; }
    const results::GameResult& LastResult() const { return result_; }
    int32_t StatusTicks() const { return statusTicks_; }
    // True while the next character of the typing window shows a wrong key (150 ms after it).
    bool ShowsWrongKey() const;

private:
    PoliceGame();
    void WireButtons();
    void WireNetEvents();
    void StartRace();
    void EndRace(bool won);
    // Hands the race's figures to the history; the result screens show them.
    void KeepResult(bool won);
    // A role or vehicle card chosen, then told to the joined side.
    void Choose(SettingChoices::Pair pair, bool first);
    // The role and vehicle handlers' broadcast: the host tells the joined side its choice.
    void HostSendsSetting();
    // The race keys of a network game.
    void NetworkRaceKey(PoliceRace::KeyResult result);
    void NetworkStart();
    void Sound(int16_t slot);

    bool InSession() const { return NetConnect && NetConnect->IsInSession(); }
    bool IsHost() const { return NetConnect && NetConnect->IsHost(); }

    PoliceScreen screen_ = kScreenMainMenu;
    std::string backgroundName_ = "POLICE_MAINMENU_BG";
    bool isNetworkGame_ = false;
    int32_t selectedSession_ = 0;
    std::u16string statusText_;
    int32_t statusTicks_ = 0;
    // When the last wrong key was pressed (clock milliseconds), while its mark is shown.
    uint32_t wrongKeyAt_ = 0;
    bool wrongKeyShown_ = false;

    // What the player typed in the current race, and the figures of the last one.
    results::Tally tally_;
    results::GameResult result_;

    TextFolder textFolder_;
    RaceTextList textList_;
    PoliceRace race_;
    PolicePictures pictures_;
    PoliceButtons buttons_;
    PoliceRenderer renderer_;
    LobbyView lobby_;
    SettingChoices choices_;
    // The two-player session engine, and the race's side of it.
    std::unique_ptr<NetEngine> NetConnect;
    std::unique_ptr<NetRace> netRace_;
};
