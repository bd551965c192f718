#include "police/PoliceGame.h"

#include "engine/GameFont.h"
#include "engine/GraphicEngine.h"
#include "platform/KeyMap.h"
#include "platform/PlayerFiles.h"
#include "platform/ProgramFolder.h"
#include "platform/ScriptRunner.h"
#include "results/ResultPanel.h"
#include "shell/Globals.h"
#include "shell/MessageDlg.h"
#include "shell/PointerNotice.h"

namespace {
constexpr int32_t kStatusFrames = 200;

std::string TextFolderPath() { return platform::ProgramPath("\\Data\\English\\E_General") + "/"; }
}  // namespace

std::shared_ptr<PoliceGame> PoliceGame::Create() { return std::shared_ptr<PoliceGame>(new PoliceGame()); }

std::vector<std::string> PoliceGame::FirstPictures() {
    return {"POLICE_MAINMENU_BG", "POLICE_MAINMENU_SINGLE", "POLICE_MAINMENU_MULTI", "POLICE_MAINMENU_EXIT"};
}

PoliceGame::PoliceGame()
    : textFolder_(TextFolderPath(), platform::PlayerTextFolder()),
      race_(sound_, textList_, textFolder_),
      renderer_(pictures_, buttons_, textList_, race_.Race()),
      choices_(buttons_, race_.Race()),
      menus_(*this, buttons_, choices_, textList_, textFolder_, race_.Race()),
      single_(*this, race_.Race()),
      network_(*this, buttons_, pictures_, choices_, textList_, race_.Race()) {
    textList_.Load(textFolder_);
    // The race font.
    if (g_ArialFont) g_ArialFont->SetHeight(19);
    RestoreRes();
    // Default choices.
    choices_.Choose(SettingChoices::Pair::Role, true);
    choices_.Choose(SettingChoices::Pair::PoliceVehicle, true);
    choices_.Choose(SettingChoices::Pair::ThiefVehicle, false);
}

PoliceGame::~PoliceGame() = default;

PoliceMode& PoliceGame::Mode() {
    if (isNetworkGame_) return network_;
    return single_;
}

bool PoliceGame::Run() {
    SwitchScreen(kScreenMainMenu);
    return true;
}

bool PoliceGame::RestoreRes() {
    pictures_.LoadAll(backgroundName_);
    buttons_.SetUp();
    return true;
}

bool PoliceGame::UpDateGame() {
    if (screen_ == kScreenRace && race_.Step() == PoliceRace::StepResult::Caught) Mode().Caught();
    return true;
}

bool PoliceGame::NextFrameDiffers() {
    // The lobby and a network game's setting screen change by themselves only while a search or
    // a join runs; what the other side does arrives as a network message, which redraws.
    const bool networkScreen = screen_ == kScreenLobby || (screen_ == kScreenSetting && isNetworkGame_);
    return statusTicks_ > 0 || screen_ == kScreenRace || (networkScreen && network_.Waiting());
}

bool PoliceGame::UpDateScreen() {
    switch (screen_) {
    case kScreenMainMenu:
        renderer_.DrawMainMenu();
        break;
    case kScreenSetting: {
        renderer_.DrawSettingBackground();
        const bool withStart = Mode().MayChoose();
        Mode().DrawSettingExtras();
        renderer_.DrawSettingButtons(withStart);
        break;
    }
    case kScreenLobby:
        network_.DrawLobby();
        break;
    case kScreenRace:
        renderer_.DrawRace(isNetworkGame_, race_.ShowsWrongKey());
        break;
    default:
        renderer_.DrawResult();
        if (g_Graphic) results::ResultPanel::DrawBoxed(*g_Graphic, g_SongFont, race_.LastResult(), 10, 10, 176);
        break;
    }
    renderer_.DrawStatus(statusText_, statusTicks_, PoliceRenderer::StatusPlace(screen_));
    return true;
}

bool PoliceGame::MouseDown(int32_t Button, int32_t X, int32_t Y) {
    if (screen_ == kScreenLobby)
        network_.MouseDown(Button, X, Y);
    else
        menus_.MouseDown(Button, X, Y);
    return true;
}

bool PoliceGame::MouseUp(int32_t Button, int32_t X, int32_t Y) {
    if (screen_ == kScreenLobby)
        network_.MouseUp(Button, X, Y);
    else
        menus_.MouseUp(Button, X, Y);
    return true;
}

bool PoliceGame::MouseMove(int32_t X, int32_t Y) {
    if (screen_ == kScreenLobby)
        network_.MouseMove(X, Y);
    else
        menus_.MouseMove(X, Y);
    return true;
}

bool PoliceGame::MouseWheel(int32_t Notches, int32_t X, int32_t /*Y*/) {
    menus_.MouseWheel(Notches, X);
    return true;
}

bool PoliceGame::KeyDown(int32_t KeyCode, int32_t /*Shift*/) {
    menus_.KeyDown(KeyCode);
    return true;
}

bool PoliceGame::KeyPress(int32_t KeyAscii) {
    if (KeyAscii == platform::kKeyEsc) {
        if (screen_ != kScreenMainMenu) Mode().Escape();
    } else if (KeyAscii == platform::kKeyEnter) {
        if (screen_ == kScreenWon || screen_ == kScreenLost) Mode().Again();
    } else if (screen_ == kScreenRace) {
        Mode().RaceKey(race_.Type(KeyAscii));
    }
    return true;
}

void PoliceGame::SwitchScreen(PoliceScreen n) {
    if (screen_ == kScreenRace) sound_.StopMusic();
    const bool police = race_.Race().LocalIsPolice();
    switch (n) {
    case kScreenMainMenu:
        backgroundName_ = "POLICE_MAINMENU_BG";
        isNetworkGame_ = false;
        network_.Leave();
        break;
    case kScreenSetting:
        backgroundName_ = "POLICE_SETTING_BG";
        break;
    case kScreenLobby:
        backgroundName_ = "POLICE_SERVERLIST_BG";
        isNetworkGame_ = true;
        break;
    case kScreenRace:
        backgroundName_ = "POLICE_BACKGROUND";
        race_.Start(isNetworkGame_);
        break;
    case kScreenWon:
    case kScreenLost:
        race_.Finish(n == kScreenWon, screen_ == kScreenRace);
        // Both sides of a network race finished at once, and both end lost, in the history too.
        if (screen_ == kScreenWon && n == kScreenLost) race_.CorrectToLost();
        backgroundName_ = std::string(n == kScreenWon ? "POLICE_WIN_" : "POLICE_LOST_") + (police ? "0" : "1");
        break;
    default:
        return;
    }
    screen_ = n;
    static constexpr const char* kNames[] = {"mainmenu", "setting", "lobby", "race", "won", "lost"};
    platform::ScriptRunner::Announce(std::string("screen ") + kNames[n]);
    if (n == kScreenRace) sound_.StartMusic();
    pictures_.LoadBackground(backgroundName_);
    PointerNotice::Tell(*this);
    // The search starts once the lobby is the screen, so the frames drawn while it runs show the
    // lobby saying that it is searching.
    if (n == kScreenLobby) network_.EnterLobby();
}

void PoliceGame::ShowStatus(const std::u16string& text) {
    statusText_ = text;
    statusTicks_ = kStatusFrames;
}
