#include "wordgames/MoleGame.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "engine/GameFont.h"
#include "engine/GraphicEngine.h"
#include "engine/SoundEngine.h"
#include "platform/Message.h"
#include "results/WeakKeys.h"
#include "shell/Globals.h"
#include "shell/MessageDlg.h"
#include "shell/Settings.h"
#include "shell/SetupDlg.h"
#include "wordgames/LetterPool.h"

namespace {

constexpr int16_t kOutSound = 0;
constexpr int16_t kHitSound = 1;
constexpr int16_t kAwaySound = 2;
constexpr uint32_t kBlack = 0;
constexpr uint32_t kRed = 255;
constexpr int32_t kStripFrame = 126;

LetterGameLook MakeLook() {
    LetterGameLook look;
    look.buttons[LetterGameLook::kStart] = {"PUBLIC_START", 4, 485, 524};
    look.buttons[LetterGameLook::kEnd] = {"PUBLIC_END", 4, 450, 478};
    look.buttons[LetterGameLook::kPause] = {"PUBLIC_PAUSE", 4, 406, 509};
    look.buttons[LetterGameLook::kSetup] = {"PUBLIC_SETUP", 4, 438, 552};
    look.buttons[LetterGameLook::kExit] = {"PUBLIC_EXIT", 3, 30, 525};
    look.drawOrder = {LetterGameLook::kExit, LetterGameLook::kPause, LetterGameLook::kEnd, LetterGameLook::kSetup,
                      LetterGameLook::kStart};
    look.setupBackground = "MOLE_SETUP";
    look.setupPage = 3;
    look.roundEnd = {"MOLE_DLG_BG", "MOLE_DLG_REPLAY", "MOLE_DLG_NEXT", "MOLE_DLG_END"};
    look.historyName = "mole";
    return look;
}

std::u16string Number(int32_t value, const char* format) {
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    return std::u16string(text, text + std::char_traits<char>::length(text));
}

}  // namespace

std::shared_ptr<MoleGame> MoleGame::Create() { return std::shared_ptr<MoleGame>(new MoleGame()); }

MoleGame::MoleGame() : LetterGameFrame(MakeLook()) {
    if (g_Sound) {
        g_Sound->LoadLoop("MOUSE_BG");
        g_Sound->LoadSound("MOUSE_OUT", kOutSound);
        g_Sound->LoadSound("MOUSE_CLICK", kHitSound);
        g_Sound->LoadSound("MOUSE_AWAY", kAwaySound);
    }
    ResetLetterPool();
    if (g_ArialFont) g_ArialFont->SetHeight(35);
    RestoreRes();
}

MoleGame::~MoleGame() {
    if (!g_Sound) return;
    g_Sound->RewindLoop();
    g_Sound->StopLoop();
    for (int16_t slot : {kOutSound, kHitSound, kAwaySound}) g_Sound->StopSound(slot);
}

void MoleGame::LoadPictures() {
    background_ = LoadGamePicture("MOLE_BACKGROUND", false);
    radish_ = LoadGamePicture("MOLE_RADISH", true);
    appear_ = LoadGamePicture("MOLE_APPEAR", true);
    normal_ = LoadGamePicture("MOLE_NORMAL", true);
    hit_ = LoadGamePicture("MOLE_HIT", true);
    hide_ = LoadGamePicture("MOLE_HIDE", true);
}

void MoleGame::BtnStart_OnClick() {
    if (g_Sound) g_Sound->PlayLoop();
    SetRoundButtons(true);
    Halted = false;
    StartRound();
}

void MoleGame::StartRound() {
    tally_.Reset();
    results::WeakKeys::PrepareRound();
    interval_ = g_Settings.Field[kMoleInterval];
    field_.Start(g_Settings.Field[kMoleTime], interval_, g_Settings.Field[kMoleStay]);
}

void MoleGame::BtnPause_OnClick() {
    Halted = !Halted;
    if (Halted) {
        HoldTypingTime();
    } else {
        ResumeTypingTime();
    }
    if (Halted && g_Sound) g_Sound->StopLoop();
}

void MoleGame::BtnEnd_OnClick() {
    SetRoundButtons(false);
    Halted = true;
    field_.End();
    if (g_Sound) {
        g_Sound->RewindLoop();
        g_Sound->StopLoop();
    }
}

void MoleGame::BtnSetup_OnClick() {
    auto setup = g_SetupDlg;
    HoldTypingTime();
    if (setup && setup->Show(Look().setupPage, 173, 143)) BtnStart_OnClick();
    ResumeTypingTime();
}

void MoleGame::StepRound() {
    const MoleField::Sounds sounds = field_.Tick(g_FrameElapsed);
    if (!g_Sound) return;
    for (int32_t i = 0; i < sounds.out; ++i) g_Sound->PlaySound(kOutSound);
    for (int32_t i = 0; i < sounds.away; ++i) g_Sound->PlaySound(kAwaySound);
}

LetterGameFrame::RoundOutcome MoleGame::Outcome() const {
    switch (field_.Result()) {
    case MoleField::Outcome::kLost:
        return RoundOutcome::Lost;
    case MoleField::Outcome::kPassed:
        return RoundOutcome::Passed;
    default:
        return RoundOutcome::Running;
    }
}

std::string MoleGame::HistoryLevel() const { return std::to_string(interval_); }

void MoleGame::RaiseLevel() { MoleField::MakeHarder(g_Settings); }

bool MoleGame::ReplayAfterLoss(int32_t result) const { return result == MessageDlg::kRePlay; }

bool MoleGame::KeyDown(int32_t KeyCode, int32_t /*Shift*/) {
    if (Halted || platform::IsModifierKey(static_cast<uint32_t>(KeyCode))) return true;
    const bool hit = field_.Key(KeyCode);
    if (hit && g_Sound) g_Sound->PlaySound(kHitSound);
    // The board's hit rate counts every key but the modifiers, and so does the round's accuracy.
    if (KeyCode >= 'A' && KeyCode <= 'Z') {
        CountKey(static_cast<char16_t>(KeyCode), hit);
    } else {
        CountStrayKey();
    }
    return true;
}

void MoleGame::DrawStatus() {
    g_Graphic->SetFont(g_SongFont);
    g_Graphic->BeginText();
    g_Graphic->SetTextColor(kBlack);
    g_Graphic->DrawText(612, 525, Number(g_Settings.Field[kMoleTime], "%d"));
    const int32_t left = std::max(field_.TimeLeftMs(), 0);
    g_Graphic->DrawText(720, 525, Number(left / 60000, "%02d:") + Number(left % 60000 / 1000, "%02d"));
    if (field_.HitRatePercent() >= 0) g_Graphic->DrawText(605, 549, Number(field_.HitRatePercent(), "%d%%"));
    g_Graphic->DrawText(728, 549, Number(field_.Caught(), "%d"));
    g_Graphic->EndText();
}

void MoleGame::DrawMoles() {
    for (const MoleField::Hole& hole : field_.Holes()) {
        const platform::Rect strip{hole.Frame * kStripFrame, 0, hole.Frame * kStripFrame + kStripFrame, 154};
        switch (hole.State) {
        case MoleField::kUp:
            if (normal_) g_Graphic->DrawKeyed(hole.X, hole.Y, *normal_, g_FullScreenRect);
            g_Graphic->SetFont(g_ArialFont);
            g_Graphic->BeginText();
            g_Graphic->SetTextColor(kBlack);
            g_Graphic->DrawText(hole.X + 75, hole.Y + 12, hole.Letter);
            g_Graphic->EndText();
            g_Graphic->SetFont(g_SongFont);
            g_Graphic->BeginText();
            g_Graphic->SetTextColor(kRed);
            g_Graphic->DrawText(hole.X + 97, hole.Y + 32, Number(hole.StayLeft, "%d"));
            g_Graphic->EndText();
            break;
        case MoleField::kAppearing:
            if (appear_) g_Graphic->DrawKeyed(hole.X, hole.Y, *appear_, strip);
            break;
        case MoleField::kHit:
            if (hit_) g_Graphic->DrawKeyed(hole.X, hole.Y, *hit_, g_FullScreenRect);
            break;
        case MoleField::kRunningOff:
            if (hide_) g_Graphic->DrawKeyed(hole.X, hole.Y, *hide_, strip);
            break;
        default:
            break;
        }
    }
    if (radish_) {
        for (int32_t i = 1; i <= field_.Radishes(); ++i)
            g_Graphic->DrawKeyed(i * 40 + 105, 498, *radish_, g_FullScreenRect);
    }
}

bool MoleGame::UpDateScreen() {
    if (!g_Graphic) return true;
    if (background_) g_Graphic->DrawOpaque(0, 0, *background_, g_FullScreenRect);
    DrawStatus();
    if (!Halted) DrawMoles();
    DrawPausedNotice(400, 250);
    DrawButtons();
    return true;
}
