#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "police/LobbyView.h"
#include "police/PoliceMode.h"

class NetEngine;
class NetRace;
class PoliceButtons;
class PolicePictures;
class PoliceScreenControl;
class RaceTextList;
class SettingChoices;

// The network game: the lobby with its buttons, the session engine and its events, and the
// network game's rules from the setting screen to the result screens. The host chooses the
// settings and starts the race; both sides race on the same text and each tells the other its
// progress, and the side that ends the race tells the other one.
class NetController final : public PoliceMode {
public:
    NetController(PoliceScreenControl& screens, const PoliceButtons& buttons, const PolicePictures& pictures,
                  SettingChoices& choices, RaceTextList& textList, PoliceRace& race);
    ~NetController();
    NetController(const NetController&) = delete;
    NetController& operator=(const NetController&) = delete;

    NetEngine& Engine() { return *engine_; }
    // A search or a join runs: the lobby and the setting screen say so while it lasts.
    bool Waiting() const;
    // The chosen lobby row, 1-based; 0 for none.
    int32_t SelectedSession() const { return selectedSession_; }

    // The lobby entered: a session still open is closed, the service is set up and a search for
    // sessions begins.
    void EnterLobby();
    // The network game left for the main menu: its session is closed.
    void Leave();

    // The lobby screen.
    void DrawLobby();
    void MouseDown(int32_t Button, int32_t X, int32_t Y);
    void MouseUp(int32_t Button, int32_t X, int32_t Y);
    void MouseMove(int32_t X, int32_t Y);

    bool MayChoose() const override { return IsHost(); }
    void ChoiceMade() override;
    void TextListTouched() override;
    void DrawSettingExtras() override;
    void Start() override;
    void RaceKey(PoliceRace::KeyResult result) override;
    void Caught() override;
    void Escape() override;
    void Again() override;

private:
    void WireButtons(const PoliceButtons& buttons);
    void WireEvents();
    // The lobby's buttons. Create and Join return only when the session has ended: the session
    // loop runs inside them.
    void Create();
    void Join();
    void Refresh();
    void Search();
    // The session's events.
    void OnReady();
    void OnPlayersChanged();
    void OnSettingChange(uint8_t TextListID, uint8_t ServerPlayerID, uint8_t PoliceCarOrBike, uint8_t ThiefCarOrBike);

    bool IsHost() const;
    bool InSession() const;

    PoliceScreenControl& screens_;
    const PoliceButtons& buttons_;
    SettingChoices& choices_;
    RaceTextList& textList_;
    PoliceRace& race_;
    LobbyView lobby_;
    int32_t selectedSession_ = 0;
    // The two-player session engine, and the race's side of it.
    std::unique_ptr<NetEngine> engine_;
    std::unique_ptr<NetRace> netRace_;
};
